// Conversions of settings texts: the lenient numeric reading (leading number,
// anything else 0) and the Boolean reading ("True"/"False" or a number).
#pragma once

#include <QString>

namespace zev {

// Value of the leading decimal number of a text ("  12abc" -> 12, "abc" -> 0).
double numericValue(const QString& text);
// numericValue rounded and clamped to [lo, hi].
int boundedInt(const QString& text, int lo, int hi);
// "True"/"False" in any case; a number: 0 false, other true; anything else: fallback.
bool boolValue(const QString& text, bool fallback);
inline QString boolText(bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); }
// "%03d"
inline QString threeDigits(int n) { return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0')); }
inline QString twoDigits(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

}  // namespace zev
