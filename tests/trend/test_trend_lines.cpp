// Loading a trend window from the day files: the slots of the points across
// midnight, rounding of a point's time, holes, half-written records, the line
// list and the live tick's arithmetic.
#include "day_files.h"
#include "temp_home.h"

#include "trend/history_list.h"
#include "trend/live_tick.h"
#include "trend/trend_lines.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace zev::test {
namespace {

const QDate kToday(2026, 3, 10);
const QDate kYesterday(2026, 3, 9);

class TrendWindowTest : public ::testing::Test {
protected:
    QString dir() { return home.path() + "/"; }
    TempHome home;
};

TEST_F(TrendWindowTest, AWindowEndingAtTenPastMidnightReadsBothDays) {
    // Yesterday 23:10:00 .. 24:00:00 carries 111 (the last second, 00:00:00, 333);
    // today from 00:00:01 carries 222. Zone 2 gives its output and a status word
    // wider than 16 bits.
    writeDayFile(dir(), kYesterday, 83400, 86400, 2, [](int s, int z) {
        return TestEntry{50, s == 86400 ? 333 : 111, 0x12345, z == 2 ? 40 : 0, 7};
    });
    writeDayFile(dir(), kToday, 1, 600, 2, [](int, int) { return TestEntry{50, 222, 0x10001, 60, 8}; });
    TrendWindow w(dir());
    w.setLines({{KindActual, 1, {}}, {KindOutput, 2, {}}, {KindStatus, 2, {}}, {KindCurrent, 1, {}}});
    w.setGeometry(3600, 3600);
    w.ReadValBuffers(QDateTime(kToday, QTime(0, 10)), 3600);
    const auto& actual = w.lines()[0].data;
    int yesterday = 0, today = 0;
    for (int p = 0; p <= 3600; ++p) {
        if (actual[p] == 111) ++yesterday;
        if (actual[p] == 222) ++today;
    }
    EXPECT_EQ(yesterday, 3000);  // 23:10:00 .. 23:59:59
    EXPECT_EQ(actual[3000], 333);  // 00:00:00 is yesterday's last second
    EXPECT_EQ(today, 600);
    EXPECT_EQ(w.lines()[1].data[10], 40);
    EXPECT_EQ(w.lines()[1].data[3500], 60);
    EXPECT_EQ(w.lines()[2].data[10], 0x2345);
    EXPECT_EQ(w.lines()[2].data[3500], 1);
    EXPECT_EQ(w.lines()[3].data[3500], 8);
}

TEST_F(TrendWindowTest, PointTimesRoundHalvesToTheEvenSecond) {
    writeDayFile(dir(), kToday, 1, 60, 1, [](int s, int) { return TestEntry{0, s, 0, 0, 0}; });
    writeDayFile(dir(), kYesterday, 86400, 86400, 1, [](int, int) { return TestEntry{0, 500, 0, 0, 0}; });
    TrendWindow w(dir());
    w.setLines({{KindActual, 1, {}}});
    w.setGeometry(40, 60);  // 1.5 s per point, starting at midnight
    w.ReadValBuffers(QDateTime(kToday, QTime(0, 1)), 40);
    const auto& d = w.lines()[0].data;
    EXPECT_EQ(d[0], 500);
    EXPECT_EQ(d[1], 2);   // 1.5 -> 2
    EXPECT_EQ(d[3], 4);   // 4.5 -> 4
    EXPECT_EQ(d[5], 8);   // 7.5 -> 8
    EXPECT_EQ(d[2], 3);
    EXPECT_EQ(d[40], 60);
}

TEST_F(TrendWindowTest, HolesMissingFilesAndHalfWrittenRecordsAreNoValue) {
    writeDayFile(dir(), kToday, 100, 110, 1, [](int s, int) { return TestEntry{0, s, 0, 0, 0}; });
    writeDayFile(dir(), kToday, 115, 120, 1, [](int s, int) { return TestEntry{0, s, 0, 0, 0}; });
    // Second 120's record is still being written: the file ends inside it.
    QFile f(dir() + "20260310.CDB");
    ASSERT_TRUE(f.resize(86400 + 119 * 3240 + 100));
    TrendWindow w(dir());
    w.setLines({{KindActual, 1, {}}, {KindActual, 271, {}}});
    w.setGeometry(30, 30);
    w.ReadValBuffers(QDateTime(kToday, QTime(0, 2, 0)), 30);  // seconds 90..120
    const auto& d = w.lines()[0].data;
    EXPECT_EQ(d[9], kTrendNoValue);   // 99: never written
    EXPECT_EQ(d[10], 100);
    EXPECT_EQ(d[20], 110);
    EXPECT_EQ(d[22], kTrendNoValue);  // 112: a hole
    EXPECT_EQ(d[29], 119);
    EXPECT_EQ(d[30], kTrendNoValue);  // 120: half written
    EXPECT_EQ(w.lines()[1].data[10], kTrendNoValue);  // no zone 271 in a day file
    // A day without a file.
    w.ReadValBuffers(QDateTime(kToday.addDays(3), QTime(0, 2, 0)), 30);
    for (auto v : w.lines()[0].data) EXPECT_EQ(v, kTrendNoValue);
}

TEST_F(TrendWindowTest, ShiftingKeepsTheNewestAtTheRight) {
    TrendWindow w(dir());
    w.setLines({{KindActual, 1, {}}});
    w.setGeometry(4, 60);
    w.lines()[0].data = {1, 2, 3, 4, 5};
    w.shiftLeft(2);
    EXPECT_EQ(w.lines()[0].data, (std::vector<std::int16_t>{3, 4, 5, kTrendNoValue, kTrendNoValue}));
}

TEST(TrendLineList, AHundredZonesOfThreeKindsAreCutToNinetyZones) {
    struct Case { int zones; int kinds; std::size_t lines; bool cut; int lastZone; };
    for (const Case c : {Case{100, 3, 270, true, 90}, Case{90, 3, 270, false, 90}, Case{270, 1, 270, false, 270},
                         Case{100, 4, 268, true, 67}, Case{5, 2, 10, false, 5}}) {
        std::vector<bool> selected(271, false);
        for (int z = 1; z <= c.zones; ++z) selected[z] = true;
        std::vector<int> kinds = {KindSetpoint, KindActual, KindOutput, KindCurrent};
        kinds.resize(c.kinds);
        bool cut = !c.cut;
        const auto lines = CalcLines(selected, kinds, &cut);
        EXPECT_EQ(lines.size(), c.lines) << c.zones;
        EXPECT_EQ(cut, c.cut) << c.zones;
        EXPECT_EQ(lines.front().kind, KindSetpoint);
        EXPECT_EQ(lines.back().kind, kinds.back());
        EXPECT_EQ(lines.back().zone, c.lastZone);
    }
}

TEST(LiveTickTest, TwoMidnightsNeitherFreezeNorReload) {
    LiveTick t;
    QDateTime now(QDate(2026, 3, 9), QTime(23, 59, 50));
    t.reset(now);
    int shifted = 0, reloads = 0;
    // Two days and a bit in 10 s ticks for a point every 30 s (a 12-hour window).
    for (int i = 0; i < (2 * 86400 + 60) / 10; ++i) {
        now = now.addSecs(10);
        const auto s = t.tick(now, 30.0, 1440);
        if (s.what == LiveTick::Step::Reload) ++reloads;
        if (s.what == LiveTick::Step::Shift) shifted += s.points;
    }
    EXPECT_EQ(reloads, 0);
    EXPECT_NEAR(shifted, (2 * 86400 + 60) / 30, 1);
}

TEST(LiveTickTest, AStaleWindowOrAClockSetBackReloadsOnceThenRunsOn) {
    LiveTick t;
    QDateTime now(QDate(2026, 3, 9), QTime(10, 0));
    t.reset(now);
    EXPECT_EQ(t.tick(now.addSecs(3601), 1.0, 3600).what, LiveTick::Step::Reload);
    EXPECT_EQ(t.pending(), 0.0);
    auto s = t.tick(now.addSecs(3603), 1.0, 3600);
    EXPECT_EQ(s.what, LiveTick::Step::Shift);
    EXPECT_EQ(s.points, 2);
    EXPECT_EQ(t.tick(now.addSecs(3603).addMSecs(500), 1.0, 3600).what, LiveTick::Step::Nothing);
    EXPECT_EQ(t.tick(now.addSecs(100), 1.0, 3600).what, LiveTick::Step::Reload);
}

TEST_F(TrendWindowTest, TheHistoryListHoldsDatedDayFilesInDateOrder) {
    for (const char* name : {"20260301.CDB", "20260228.cdb", "notes.CDB", "2026030.CDB", "20261399.CDB",
                             "20260302.CdB", "20260227.TDB", "STOER.MDB"})
        QFile(dir() + name).open(QIODevice::WriteOnly);
    const auto days = historyDays(dir());
    ASSERT_EQ(days.size(), 3);
    EXPECT_EQ(days[0].day, QDate(2026, 2, 28));
    EXPECT_EQ(days[2].fileName, "20260302.CdB");
    EXPECT_EQ(historyEntry(days[1].day), " 01.03.2026");
    // Today cannot be deleted wherever it stands in the list; another day can.
    EXPECT_EQ(deleteHistoryDay(dir(), days[0], QDate(2026, 2, 28)), DeleteDayResult::IsToday);
    EXPECT_TRUE(QFile::exists(dir() + "20260228.cdb"));
    EXPECT_EQ(deleteHistoryDay(dir(), days[2], QDate(2026, 2, 28)), DeleteDayResult::Deleted);
    EXPECT_EQ(historyDays(dir()).size(), 2);
}

}  // namespace
}  // namespace zev::test

#include "trend/energy.h"

namespace zev::test {
namespace {

TEST(EnergyFactors, KnownPointsAndLinearBetween) {
    const auto& f = energyFactors();
    struct Case { int output; double share; };
    for (const Case c : {Case{0, 0}, Case{1, 0.0709}, Case{5, 3.00236}, Case{10, 6.6667}, Case{25, 17.6471},
                         Case{50, 40}, Case{55, 45}, Case{80, 70.33727}, Case{90, 81.6}, Case{100, 100}})
        EXPECT_NEAR(f[c.output], c.share, 1e-4) << c.output;
}

TEST_F(TrendWindowTest, EnergyOfTheLastHourAcrossMidnight) {
    // Yesterday's last half hour: 100 % at 1.0 A (230 W); a second at 101 % and
    // one with a negative current count nothing. Today: 50 % at 2.0 A (184 W).
    writeDayFile(dir(), kYesterday, 84601, 86400, 2, [](int s, int z) {
        if (z == 2) return TestEntry{0, 0, 0, 0, 0};
        return TestEntry{0, 0, 0, s == 85000 ? 101 : 100, s == 85001 ? -3 : 10};
    });
    writeDayFile(dir(), kToday, 1, 1800, 2, [](int, int z) { return TestEntry{0, 0, 0, z == 1 ? 50 : 0, 20}; });
    const auto wh = zoneEnergy(dir(), {1, 2}, QDateTime(kToday, QTime(0, 30)), 60);
    ASSERT_EQ(wh.size(), 2u);
    // 1798 s at 230 W, 1800 s at 184 W (second 00:00:00 is yesterday's 86400).
    EXPECT_NEAR(wh[0], (1798 * 230.0 + 1800 * 184.0) / 3600.0, 1e-6);
    EXPECT_EQ(wh[1], 0.0);
}

}  // namespace
}  // namespace zev::test
