#include "views/zone_grid.h"

#include <QFontMetrics>
#include <algorithm>

namespace zev {

int totalColumns(int zoneCount) {
    return zoneCount > grid::kTwoValueLimit ? 2 * grid::kDecade : grid::kDecade;
}

std::vector<QRect> totalTileRects(int zoneCount, QSize area) {
    using namespace grid;
    const int n = std::clamp(zoneCount, 0, 270);
    std::vector<QRect> rects;
    if (n == 0) return rects;
    rects.reserve(static_cast<std::size_t>(n));
    const int cols = totalColumns(n);
    const int rows = (n + cols - 1) / cols;
    const int gaps = cols > kDecade ? kDecadeGap : 0;
    const int w = std::max(1, (area.width() - 2 * kMargin - (cols - 1) * kSpacing - gaps) / cols);
    int h = std::max(1, (area.height() - 2 * kMargin - (rows - 1) * kSpacing) / rows);
    // Few zones: tiles stay tile-shaped rather than tall stripes.
    h = std::min(h, std::max(1, w * 9 / 10));
    for (int i = 0; i < n; ++i) {
        const int row = i / cols;
        const int col = i % cols;
        const int x = kMargin + col * (w + kSpacing) + (col >= kDecade ? gaps : 0);
        const int y = kMargin + row * (h + kSpacing);
        rects.emplace_back(x, y, w, h);
    }
    return rects;
}

std::vector<QRect> plateRects(QSize area) {
    using namespace grid;
    const int cols = kPlateColumns;
    const int rows = kPlatesPerPage / kPlateColumns;
    const int w = std::max(1, (area.width() - 2 * kMargin - (cols - 1) * kPlateSpacing) / cols);
    const int h = std::max(1, (area.height() - 2 * kMargin - (rows - 1) * kPlateSpacing) / rows);
    std::vector<QRect> rects;
    rects.reserve(kPlatesPerPage);
    for (int i = 0; i < kPlatesPerPage; ++i)
        rects.emplace_back(kMargin + (i % cols) * (w + kPlateSpacing), kMargin + (i / cols) * (h + kPlateSpacing), w,
                           h);
    return rects;
}

QFont valueFace() {
    QFont f(QStringLiteral("DejaVu Sans Condensed"));
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QFont fittedFont(QFont base, const QString& sample, QSize box, int minPx, int maxPx) {
    auto fits = [&](int px) {
        base.setPixelSize(px);
        const QFontMetrics m(base);
        return m.horizontalAdvance(sample) <= box.width() && m.height() <= box.height();
    };
    int lo = minPx, hi = std::max(minPx, maxPx);
    if (!fits(lo)) {
        base.setPixelSize(lo);
        return base;
    }
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        if (fits(mid)) lo = mid; else hi = mid - 1;
    }
    base.setPixelSize(lo);
    return base;
}

}  // namespace zev
