// The clock timer's daily housekeeping on the fake clock: once a day (and at
// the first tick), the alarm database's compaction, ten history files kept, and
// older ones given up while the disk runs short of space.
#include "test_main_cycle_fixture.h"
#include "trend/history_files.h"
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
        for (int i = 0; i < count; ++i)
            t.home.write(QStringLiteral("TOOLS/T/LOGFILES/") + first.addDays(i).toString("yyyyMMdd") +
                             QStringLiteral(".CDB"),
                         QByteArray(1000, 'h'));
    }
    QStringList left() { return QDir(logDir()).entryList({QStringLiteral("*.CDB")}, QDir::Files, QDir::Name); }
    void tick() {
        t.clock.advance(0.5);
        main.TmrDate_Timer();
    }
};

TEST_F(Housekeeping, TenHistoryFilesStayTheEleventhOldestGoes) {
    historyFiles(10);
    EXPECT_TRUE(pruneHistoryFiles(ctx()).isEmpty());
    EXPECT_EQ(left().size(), 10);
    historyFiles(1, QDate(2026, 1, 31));
    EXPECT_EQ(pruneHistoryFiles(ctx()), QStringList{"20260131.CDB"});
    EXPECT_EQ(left().first(), "20260201.CDB");
    historyFiles(14, QDate(2026, 2, 11));
    EXPECT_EQ(pruneHistoryFiles(ctx()).size(), 14);
    EXPECT_EQ(left().first(), "20260215.CDB");
    // Other files of the directory are not history files.
    t.home.write(QStringLiteral("TOOLS/T/LOGFILES/notes.txt"), "x");
    historyFiles(1, QDate(2026, 3, 1));
    pruneHistoryFiles(ctx());
    EXPECT_TRUE(QFileInfo::exists(logDir() + "notes.txt"));
    EXPECT_TRUE(QFileInfo::exists(logDir() + "STOER.MDB"));
}

TEST_F(Housekeeping, ShortOfSpaceTheOldestGoUntilEnoughIsFreeButOneStays) {
    historyFiles(6);
    // Every deleted file frees 100 MiB: 250 MiB free at first.
    t.platform.freeFor = [this](const QString& path) {
        EXPECT_EQ(path, logDir());
        return qint64(250 + 100 * (6 - left().size())) * 1024 * 1024;
    };
    EXPECT_EQ(pruneHistoryFiles(ctx()), (QStringList{"20260201.CDB", "20260202.CDB"}));
    EXPECT_EQ(left().size(), 4);
    // Hopelessly full: everything but the newest file goes.
    t.platform.freeFor = nullptr;
    t.platform.freeBytes = 1024;
    pruneHistoryFiles(ctx());
    EXPECT_EQ(left(), QStringList{"20260206.CDB"});
    pruneHistoryFiles(ctx());
    EXPECT_EQ(left(), QStringList{"20260206.CDB"}) << "the last file stays";
    // Unknown free space deletes nothing.
    historyFiles(3, QDate(2026, 3, 1));
    t.platform.freeBytes = -1;
    EXPECT_TRUE(pruneHistoryFiles(ctx()).isEmpty());
}

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
