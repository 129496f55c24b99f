// The database file: its table and index, damaged files made anew with the
// event logged, and the daily deletion and compaction.
#include "alarm_fixture.h"

#include "base/notification_hub.h"
#include "support/texts.h"
#include "plant/tool_data.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

namespace zev::test {
namespace {

class AlarmDbTest : public AlarmTest {};

TEST_F(AlarmDbTest, ANewFileHasTheTableItsColumnsAndTheKommtIndex) {
    open();
    close();
    onFile(dbPath(), [](QSqlQuery& q) {
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA table_info(LOG)")));
        QStringList columns;
        while (q.next()) columns << q.value(1).toString() + QLatin1Char(' ') + q.value(2).toString();
        EXPECT_EQ(columns, (QStringList{"Typ SMALLINT", "Kommt DOUBLE", "Geht DOUBLE", "Quittiert DOUBLE",
                                        "Quelle VARCHAR(64)", "Adresse VARCHAR(8)", "Meldung VARCHAR(64)"}));
        ASSERT_TRUE(q.exec(QStringLiteral("PRAGMA index_info(KOMMT)")));
        ASSERT_TRUE(q.next());
        EXPECT_EQ(q.value(2).toString(), "Kommt");
        // The sizes and the non-empty Adresse hold in the file itself.
        for (const QString& values : {QStringLiteral("'a', '', 'b'"), QStringLiteral("'a', '123456789', 'b'"),
                                      QStringLiteral("'%1', '1', 'b'").arg(QString(65, 'q'))})
            EXPECT_FALSE(q.exec(QStringLiteral("INSERT INTO LOG VALUES (1, 1, 1, NULL, %1)").arg(values)));
    });
}

// A file that is no database, is cut short, or was emptied is made anew; the
// event is logged in the new file, and the backup stays untouched.
TEST_F(AlarmDbTest, DamagedFilesAreMadeAnewAndTheEventIsLogged) {
    open();
    fill(2000);
    close();
    const QByteArray good = t.home.read(QStringLiteral("TOOLS/Form 1/LOGFILES/STOER.MDB"));
    t.home.write(QStringLiteral("TOOLS/Form 1/LOGFILES/STOER.BAK"), QByteArrayLiteral("backup"));

    const std::vector<std::pair<const char*, QByteArray>> damages = {
        {"garbage", QByteArray(8192, '\x5A')},
        {"truncated", good.left(good.size() / 3)},
        {"text file", QByteArrayLiteral("[LOG]\r\nThis is no database.\r\n")},
        {"emptied", QByteArray()},
        {"torn header", QByteArrayLiteral("SQLite format 3") + good.mid(15, 100)},
    };
    for (const auto& [what, bytes] : damages) {
        t.home.write(QStringLiteral("TOOLS/Form 1/LOGFILES/STOER.MDB"), bytes);
        AlarmLog& fresh = open();
        EXPECT_EQ(fresh.made(), AlarmDb::Made::Recreated) << what;
        deliver();
        const auto r = records();
        ASSERT_EQ(r.size(), 1u) << what;
        EXPECT_EQ(r[0].typ, 0);
        EXPECT_EQ(r[0].quelle, "SYSTEM");
        EXPECT_EQ(r[0].meldung, t.texts->operator()(219));
        EXPECT_EQ(t.home.read(QStringLiteral("TOOLS/Form 1/LOGFILES/STOER.BAK")), QByteArrayLiteral("backup")) << what;
        close();
    }
}

TEST_F(AlarmDbTest, DamageFoundWhileLoggingKeepsTheRecordBeingWritten) {
    AlarmLog& log = open();
    log.ErrLog(2, QStringLiteral("Düse"), 1, QStringLiteral("Fühlerbruch"));
    // The file is overwritten under the running program.
    QFile w(dbPath());
    ASSERT_TRUE(w.open(QIODevice::ReadWrite));
    w.write(QByteArray(static_cast<int>(w.size()), '\x11'));
    w.close();
    log.ErrLog(2, QStringLiteral("Düse"), 1, QStringLiteral("Temperatur L"));
    deliver();
    auto r = records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].meldung, "Temperatur L");
    EXPECT_EQ(r[1].meldung, t.texts->operator()(219));
    // And a file deleted under the running program is made anew the same way.
    ASSERT_TRUE(QFile::remove(dbPath()));
    log.ErrLog(1, QStringLiteral("Düse"), 1, QStringLiteral("Sollwertänderung"));
    deliver();
    r = records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].meldung, "Sollwertänderung");
}

TEST_F(AlarmDbTest, WithoutALogDirectoryNothingIsWrittenAndTheFieldsSayUnknown) {
    ctx().tool.LogFileDir.clear();
    AlarmLog& log = open();
    EXPECT_EQ(log.made(), AlarmDb::Made::Failed);
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("STOER.MDB"))) << "never into the working directory";
    EXPECT_FALSE(log.DBCompact(0));
    EXPECT_EQ(log.info().size, "??? KB");
    EXPECT_EQ(log.info().compacted, "??.??.??");
}

class CompactTest : public AlarmTest {
protected:
    void hourly(int days) {
        // One record per hour back to `days` ago, written as the plant wrote them.
        const QDateTime now = t.clock.now();
        t.clock.set(now.addDays(-days));
        AlarmLog::Batch batch(*log);
        while (t.clock.now() < now) {
            log->ErrLog(2, QStringLiteral("Düse"), 3, QStringLiteral("Temperatur H"));
            t.clock.advance(3600);
        }
        batch.commit();
        t.clock.set(now);
    }
};

TEST_F(CompactTest, DeletesRecordsOlderThanTenDaysAndKeepsTheOldFileAsBackup) {
    open();
    hourly(15);
    ASSERT_GT(records().size(), 14u * 24u);
    EXPECT_TRUE(log->DBCompact(0));
    EXPECT_TRUE(QFileInfo::exists(bakPath()));
    const auto r = records();
    const double cut = std::floor(serial()) - 10;
    for (const LogRecord& rec : r) EXPECT_GE(rec.kommt, cut);
    ASSERT_GE(r.size(), 2u);
    EXPECT_EQ(r[r.size() - 2].meldung, t.texts->operator()(213) + QDate(2026, 2, 20).toString("dd.MM.yyyy") +
                                           t.texts->operator()(216));
    EXPECT_EQ(r.back().meldung, t.texts->operator()(217));
    // The backup is the file as it was before the compaction (old records gone).
    EXPECT_EQ(readRecords(bakPath()).size(), r.size() - 1);
    // The log goes on writing into the new file.
    log->ErrLog(1, QStringLiteral("Düse"), 3, QStringLiteral("after"));
    EXPECT_EQ(records().back().meldung, "after");
}

TEST_F(CompactTest, DailyCompactionRunsOnceADayTheCommandAlways) {
    open();
    EXPECT_TRUE(log->DBCompact(1));
    const std::size_t once = records().size();
    t.clock.advance(3 * 3600);
    EXPECT_TRUE(log->DBCompact(1));
    EXPECT_EQ(records().size(), once) << "not due on the same day";
    EXPECT_TRUE(log->DBCompact(0));
    EXPECT_GT(records().size(), once);
    const std::size_t twice = records().size();
    t.clock.advance(24 * 3600 + 1);
    EXPECT_TRUE(log->DBCompact(1));
    EXPECT_GT(records().size(), twice);
    const AlarmDbInfo info = log->info();
    EXPECT_TRUE(info.size.endsWith(" KB"));
    EXPECT_EQ(info.compacted, t.clock.now().toString("dd.MM.yy HH:mm"));
}

TEST_F(CompactTest, AFailedCompactionKeepsTheDatabaseAndLogsTheFailure) {
    open();
    hourly(2);
    const std::size_t before = records().size();
    // A backup that cannot be replaced (a directory in its place).
    ASSERT_TRUE(QDir().mkpath(bakPath() + QStringLiteral("/locked")));
    t.clock.advance(0.5);
    EXPECT_FALSE(log->DBCompact(0));
    const auto r = records();
    EXPECT_EQ(r.size(), before + 2);
    EXPECT_EQ(r.back().meldung, t.texts->operator()(218));
    log->ErrLog(1, QStringLiteral("Düse"), 3, QStringLiteral("still writing"));
    EXPECT_EQ(records().back().meldung, "still writing");
}

// Runs statements on a closed database file.
void run(const QString& path, const QStringList& statements) {
    onFile(path, [&](QSqlQuery& q) {
        for (const QString& s : statements) EXPECT_TRUE(q.exec(s)) << s.toStdString() << q.lastError().text().toStdString();
    });
}

TEST_F(CompactTest, AnIndexThatNoLongerMatchesItsTableIsRebuiltBeforeTheCompaction) {
    open();
    hourly(3);
    close();
    // Rows enter the index KOMMT under the wrong key: only the full check sees it.
    const QString writable = QStringLiteral("PRAGMA writable_schema = ON");
    run(dbPath(), {writable, QStringLiteral("UPDATE sqlite_schema SET sql = 'CREATE INDEX KOMMT ON LOG (Geht ASC)' "
                                               "WHERE name = 'KOMMT'")});
    run(dbPath(), {QStringLiteral("INSERT INTO LOG VALUES (2, %1, NULL, NULL, 'Düse', '3', 'x')").arg(serial() - 0.1)});
    run(dbPath(), {writable, QStringLiteral("UPDATE sqlite_schema SET sql = 'CREATE INDEX KOMMT ON LOG (Kommt ASC)' "
                                               "WHERE name = 'KOMMT'")});
    QString reason;
    ASSERT_FALSE(AlarmDb::checkFile(dbPath(), &reason));
    EXPECT_EQ(open().made(), AlarmDb::Made::Sound);  // the quick check at opening does not look so deep
    EXPECT_TRUE(log->DBCompact(0));
    EXPECT_TRUE(AlarmDb::checkFile(dbPath(), &reason)) << reason.toStdString();
    EXPECT_EQ(records().back().meldung, t.texts->operator()(217));
}

TEST_F(CompactTest, AFileDamagedWhileRunningIsRestoredNotCompactedThenMadeAnew) {
    AlarmLog& log = open();
    fill(20000, 2);
    // Pages in the first half of the file break; the records of today's end stay readable.
    QFile f(dbPath());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const qint64 size = f.size();
    f.seek(size / 5);
    f.write(QByteArray(static_cast<int>(size / 4), '\x7F'));
    f.close();
    t.clock.advance(1);
    EXPECT_FALSE(log.DBCompact(0));
    deliver();
    EXPECT_FALSE(QFileInfo::exists(bakPath()));
    const auto r = records();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_EQ(r[0].meldung, t.texts->operator()(218));
    EXPECT_EQ(r[1].meldung, t.texts->operator()(219));
}

}  // namespace
}  // namespace zev::test
