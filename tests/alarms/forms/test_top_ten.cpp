// The fault-time ranking: order, bar lengths, the "HH:MM:SS" wrap, and the
// rows the panel leaves alone.
#include "alarm_fixture.h"

#include "alarms/top_ten.h"
#include "alarms/forms/top_ten_panel.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

#include <QLabel>
#include <limits>

namespace zev::test {
namespace {

PlantData plantWith(std::vector<double> seconds) {
    PlantData p;
    p.ZoneCount = static_cast<int>(seconds.size());
    for (int z = 1; z <= p.ZoneCount; ++z) {
        p.zone(z).Name = QStringLiteral("Zone %1").arg(z, 3, 10, QLatin1Char('0'));
        p.zone(z).AlarmSeconds = seconds[static_cast<std::size_t>(z - 1)];
    }
    return p;
}

TEST(TopTen, TheLongestFaultTimeComesFirstWithBarsInProportion) {
    std::vector<double> s(20, 0.0);
    s[4] = 1000.9;  // zone 5, whole seconds count
    s[11] = 250.0;  // zone 12
    s[0] = 500.0;   // zone 1
    const auto rows = topTenRows(plantWith(s));
    ASSERT_EQ(rows.size(), 10u);
    EXPECT_EQ(rows[0].zone, 5);
    EXPECT_EQ(rows[0].text, "Zone 005  [ 00:16:40 ] ");
    EXPECT_DOUBLE_EQ(rows[0].barTwips, 310.0);  // half of 620 at 1000 s
    EXPECT_EQ(rows[1].zone, 1);
    EXPECT_DOUBLE_EQ(rows[1].barTwips, 155.0);
    EXPECT_EQ(rows[2].zone, 12);
    EXPECT_DOUBLE_EQ(rows[2].barTwips, 77.5);
    for (std::size_t r = 3; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r].zone, 0) << "a zone without fault time is an empty row";
        EXPECT_TRUE(rows[r].text.isEmpty());
        EXPECT_EQ(rows[r].barTwips, 0.0);
    }
}

TEST(TopTen, LongFaultTimesApproachTheFullBarAndWrapAfterADayNonsenseCountsAsNone) {
    EXPECT_TRUE(topTenRows(plantWith({})).empty());
    const auto rows = topTenRows(plantWith({90061.0, 1e12, -5.0, std::numeric_limits<double>::quiet_NaN(), 0.4}));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].zone, 2);
    EXPECT_GT(rows[0].barTwips, 619.9);
    EXPECT_LE(rows[0].barTwips, 620.0);
    EXPECT_EQ(rows[1].text, "Zone 001  [ 01:01:01 ] ");  // 25 h 1 min 1 s
    for (std::size_t r = 2; r < rows.size(); ++r) {
        EXPECT_EQ(rows[r].zone, 0) << r;  // nonsense and less than a second count as no fault time
        EXPECT_EQ(rows[r].barTwips, 0.0) << r;
    }
    for (const auto& [seconds, text] : {std::pair{0, "00:00:00"}, {86399, "23:59:59"}, {86400, "00:00:00"}})
        EXPECT_EQ(faultTimeText(seconds), text);
}

class TopTenPanelTest : public AlarmTest {};

TEST_F(TopTenPanelTest, RowsWithoutAnEntryKeepWhatTheyShowAndBarsTakeTheGroupColour) {
    ctx().tool.Groups[3].Color = 0x80FF80;  // 0xBBGGRR
    ctx().plant = plantWith({0, 0, 0, 0, 0, 0, 0, 0, 0, 100.0, 200.0, 7200.0});
    ctx().plant.zone(12).Group = 3;
    TopTenPanel panel(ctx());
    panel.clearRows();
    panel.RefreshTopTen();
    EXPECT_EQ(panel.rowText(0)->text(), "Zone 012  [ 02:00:00 ] ");
    EXPECT_EQ(panel.rowBar(0)->colour(), QColor(0x80, 0xFF, 0x80));
    EXPECT_NEAR(panel.rowBar(0)->twips(), 620.0 * 7200 / 8200, 1e-9);
    EXPECT_EQ(panel.rowText(2)->text(), "Zone 010  [ 00:01:40 ] ");
    EXPECT_TRUE(panel.rowText(3)->text().isEmpty());
    // Fewer zones than rows (a smaller plant): the rows beyond stay as they are.
    ctx().plant = plantWith({30.0, 60.0});
    panel.RefreshTopTen();
    EXPECT_EQ(panel.rowText(0)->text(), "Zone 002  [ 00:01:00 ] ");
    EXPECT_EQ(panel.rowText(1)->text(), "Zone 001  [ 00:00:30 ] ");
    EXPECT_DOUBLE_EQ(panel.rowBar(1)->twips(), 620.0 * 60 / 1060 * 30 / 60);
    EXPECT_EQ(panel.rowText(2)->text(), "Zone 010  [ 00:01:40 ] ");
}

}  // namespace
}  // namespace zev::test
