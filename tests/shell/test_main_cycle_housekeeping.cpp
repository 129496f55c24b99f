// The clock timer's daily housekeeping on the fake clock: once a day (and at
// the first tick), the alarm database's compaction and the history files'
// retention (its rules: tests/trend).
#include "test_main_cycle_fixture.h"
#include "history_file_names.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

#include <QFileInfo>
#include <QLabel>

namespace zev::test {
namespace {

class Housekeeping : public MainCycleTest {
protected:
    QString logDir() { return ctx().tool.LogFileDir; }
    void historyFiles(int count, QDate first = QDate(2026, 2, 1)) {
        writeHistoryFiles(t.home, QStringLiteral("TOOLS/T/LOGFILES/"), count, first);
    }
    QStringList left() { return historyFilesLeft(logDir()); }
    void tick() {
        t.clock.advance(0.5);
        main.TmrDate_Timer();
    }
};

TEST_F(Housekeeping, RunsAtTheFirstTickAndOnceOnEachNewDay) {
    t.clock.set(QDateTime(QDate(2026, 3, 2), QTime(23, 59, 58)));
    historyFiles(12);
    tick();
    EXPECT_EQ(left().size(), 10) << "the first tick after the start";
    EXPECT_TRUE(QFileInfo::exists(logDir() + "STOER.BAK")) << "DBCompact(1) found no backup: compacted";
    const QDateTime firstBackup = QFileInfo(logDir() + "STOER.BAK").lastModified();
    historyFiles(3, QDate(2026, 2, 20));
    tick();
    tick();
    EXPECT_EQ(left().size(), 13) << "not again on the same day";
    tick();
    tick();  // 00:00:00 of the next day
    EXPECT_EQ(t.clock.now().date(), QDate(2026, 3, 3));
    EXPECT_EQ(left().size(), 10);
    // The backup is less than a day old: the daily compaction is not due yet.
    EXPECT_EQ(QFileInfo(logDir() + "STOER.BAK").lastModified(), firstBackup);
    t.clock.set(QDateTime(QDate(2026, 3, 4), QTime(0, 0, 1)));
    tick();
    EXPECT_GT(QFileInfo(logDir() + "STOER.BAK").lastModified(), firstBackup);
}

TEST_F(Housekeeping, OfflineTheClockShowsOfflineOnGreen) {
    ctx().link->goOffline();
    tick();
    EXPECT_EQ(main.lblStatusbar(3)->text(), "OFFLINE");
    EXPECT_TRUE(main.lblStatusbar(2)->text().isEmpty());
    ctx().link->SetOnlineBetrieb(true);
    cycleOnce();
    EXPECT_EQ(main.lblStatusbar(3)->text(), QString::fromUtf8("Ausgänge AUS"));
    EXPECT_EQ(main.lblStatusbar(3)->styleSheet(), "background-color: palette(button);");
}

}  // namespace
}  // namespace zev::test
