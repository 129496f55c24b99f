// Geometry of the overview (`SetZonesPosition`): where each zone's tile or face
// plate goes for a zone count and an area, and which font fits a box.
//
// Zones appear in number order, in rows of ten, so that an operator finds zone
// 137 in the row that starts with 131, seventh place. Up to 150 zones a row
// holds one decade (10 columns, at most 15 rows of two-value tiles); above 150
// zones a row holds two decades side by side with a wider gap between them
// (20 columns, at most 14 rows of one-value tiles), which keeps the last digit
// of the zone number in the same column of each half. The Detail view shows a
// page of 15 face plates, three rows of five.
#pragma once

#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>
#include <vector>

namespace zev {

namespace grid {
constexpr int kTwoValueLimit = 150;   // above: one value per tile
constexpr int kDecade = 10;
constexpr int kSpacing = 2;           // between tiles
constexpr int kDecadeGap = 10;        // between the two decades of a row
constexpr int kMargin = 4;
constexpr int kPlatesPerPage = 15;    // the Detail view's paging step
constexpr int kPlateColumns = 5;
constexpr int kPlateSpacing = 6;
}  // namespace grid

// Columns of the Total view for a zone count.
int totalColumns(int zoneCount);
// Tile rectangles of the Total view in display order (index 0 = zone 1).
std::vector<QRect> totalTileRects(int zoneCount, QSize area);
// Face plate rectangles of one Detail page (grid::kPlatesPerPage of them).
std::vector<QRect> plateRects(QSize area);

// The face of zone numbers and values: a condensed sans serif, so that
// "-888 °C" fits the narrow tiles of 270 zones.
QFont valueFace();

// The largest font of `base`'s family and weight (in pixels, between minPx and
// maxPx) in which `sample` fits into `box`.
QFont fittedFont(QFont base, const QString& sample, QSize box, int minPx = 8, int maxPx = 72);

}  // namespace zev
