// Geometry of the Total view's tiles and the Detail view's plates.
#include "views/zone_grid.h"
#include "views/zone_tile.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace zev {
namespace {

const QSize kScreens[] = {{1016, 560}, {1272, 600}, {1912, 880}};  // tile areas of 1024x768, 1280x800, 1920x1080

TEST(ZoneGrid, EveryZoneCountFitsWithoutOverlap) {
    for (QSize area : kScreens)
        for (int n = 1; n <= 270; ++n) {
            const std::vector<QRect> r = totalTileRects(n, area);
            ASSERT_EQ(static_cast<int>(r.size()), n);
            const QRect bounds(QPoint(0, 0), area);
            for (int i = 0; i < n; ++i) {
                ASSERT_TRUE(bounds.contains(r[i])) << n << " " << i;
                if (i > 0) {
                    ASSERT_FALSE(r[i].intersects(r[i - 1])) << n << " " << i;
                }
                if (i >= totalColumns(n)) {
                    ASSERT_FALSE(r[i].intersects(r[i - totalColumns(n)])) << n << " " << i;
                }
            }
        }
}

TEST(ZoneGrid, RowsOfTenOrTwoDecades) {
    EXPECT_EQ(totalColumns(150), 10);
    EXPECT_EQ(totalColumns(151), 20);
    const std::vector<QRect> r = totalTileRects(270, kScreens[0]);
    // Zone 137 sits below zone 117 and beside 136: each row holds 121..140.
    EXPECT_EQ(r[136].left(), r[116].left());
    EXPECT_EQ(r[136].top(), r[135].top());
    EXPECT_EQ(r[120].left(), r[0].left());
    // The gap between the decades is wider than the one between tiles.
    EXPECT_GT(r[10].left() - r[9].right(), r[9].left() - r[8].right());
}

TEST(ZoneGrid, TilesStayLargeEnoughForAFinger) {
    // At 1024x768 even 270 zones get tiles of at least 45x35 pixels, and a zone
    // number and a value of readable size.
    const std::vector<QRect> r = totalTileRects(270, kScreens[0]);
    EXPECT_GE(r[0].width(), 45);
    EXPECT_GE(r[0].height(), 35);
    const ZoneTile::Parts parts = ZoneTile::partsFor(r[0].size(), false);
    QFont bold = valueFace();
    bold.setBold(true);
    EXPECT_GE(fittedFont(bold, "-888 °C", parts.x.size() - QSize(4, 2)).pixelSize(), 11);
    // Few zones: tiles keep a tile shape instead of stretching down the screen.
    const std::vector<QRect> few = totalTileRects(24, kScreens[0]);
    EXPECT_LE(few[0].height(), few[0].width());
}

TEST(ZoneGrid, PlatesOfAPage) {
    for (QSize area : kScreens) {
        const std::vector<QRect> r = plateRects(area);
        ASSERT_EQ(r.size(), 15u);
        for (std::size_t i = 0; i < r.size(); ++i)
            for (std::size_t j = i + 1; j < r.size(); ++j) EXPECT_FALSE(r[i].intersects(r[j]));
        EXPECT_GE(r[0].width(), 180);
        EXPECT_GE(r[0].height(), 160);
    }
}

TEST(ZoneGrid, FittedFontFitsAndDegradesGracefully) {
    const QFont f = fittedFont(valueFace(), "198 °C", QSize(80, 30));
    const QFontMetrics m(f);
    EXPECT_LE(m.horizontalAdvance("198 °C"), 80);
    EXPECT_LE(m.height(), 30);
    EXPECT_GT(f.pixelSize(), 8);
    // No room at all: the smallest size, never zero or negative.
    EXPECT_EQ(fittedFont(valueFace(), "198 °C", QSize(0, 0)).pixelSize(), 8);
    EXPECT_TRUE(totalTileRects(0, QSize(100, 100)).empty());
    EXPECT_EQ(totalTileRects(300, QSize(0, 0)).size(), 270u);
}

}  // namespace
}  // namespace zev
