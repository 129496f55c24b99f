#include "base/ini_values.h"

#include <cmath>

namespace zev {

double numericValue(const QString& text) {
    const QString t = text.trimmed();
    qsizetype end = 0;
    if (end < t.size() && (t[end] == QLatin1Char('-') || t[end] == QLatin1Char('+'))) ++end;
    bool digits = false;
    while (end < t.size() && t[end].isDigit()) { ++end; digits = true; }
    if (end < t.size() && t[end] == QLatin1Char('.')) {
        ++end;
        while (end < t.size() && t[end].isDigit()) { ++end; digits = true; }
    }
    if (!digits) return 0.0;
    bool ok = false;
    const double v = t.left(end).toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

int boundedInt(const QString& text, int lo, int hi) {
    const double v = std::nearbyint(numericValue(text));
    if (v < lo) return lo;
    if (v > hi) return hi;
    return static_cast<int>(v);
}

bool boolValue(const QString& text, bool fallback) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0) return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0) return false;
    bool ok = false;
    const double v = t.toDouble(&ok);
    return ok ? v != 0.0 : fallback;
}

}  // namespace zev
