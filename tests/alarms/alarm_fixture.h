// A whole test context with a tool log directory, and a look into the alarm
// database through a connection of its own (what another program would see on
// the disk).
#pragma once

#include "test_context.h"

#include "alarms/alarm_db.h"
#include "alarms/alarm_log.h"
#include "base/clock.h"
#include "plant/tool_data.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <gtest/gtest.h>
#include <memory>

namespace zev::test {

struct LogRecord {
    int typ = -1;
    double kommt = 0;
    QVariant geht, quittiert;
    QString quelle, adresse, meldung;
};

// Runs `use` on a connection of its own to the database file at path.
template <typename Use>
void onFile(const QString& path, Use use, bool readOnly = false) {
    const QString name = QStringLiteral("test-reader");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (readOnly) db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            use(q);
        } else {
            ADD_FAILURE() << "cannot open " << path.toStdString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

// Every record of the file at path, in the order written.
inline std::vector<LogRecord> readRecords(const QString& path, const QString& where = QString()) {
    std::vector<LogRecord> out;
    onFile(path, [&](QSqlQuery& q) {
        if (!q.exec(QStringLiteral("SELECT Typ, Kommt, Geht, Quittiert, Quelle, Adresse, Meldung FROM LOG ") + where +
                    QStringLiteral(" ORDER BY rowid"))) {
            ADD_FAILURE() << q.lastError().text().toStdString();
            return;
        }
        while (q.next())
            out.push_back({q.value(0).toInt(), q.value(1).toDouble(), q.value(2), q.value(3), q.value(4).toString(),
                           q.value(5).toString(), q.value(6).toString()});
    }, true);
    return out;
}

class AlarmTest : public ::testing::Test {
protected:
    explicit AlarmTest(int language = 1) : t(language) {
        ctx().tool.LogFileDir = t.home.file(QStringLiteral("TOOLS/Form 1/LOGFILES/"));
    }
    AppContext& ctx() { return *t.ctx; }
    QString dir() const { return t.ctx->tool.LogFileDir; }
    QString dbPath() const { return QDir(dir()).filePath(QStringLiteral("STOER.MDB")); }
    QString bakPath() const { return QDir(dir()).filePath(QStringLiteral("STOER.BAK")); }

    AlarmLog& open() {
        log = std::make_unique<AlarmLog>(ctx(), dir());
        ctx().alarmLog = log.get();
        return *log;
    }
    void close() {
        ctx().alarmLog = nullptr;
        log.reset();
    }
    std::vector<LogRecord> records(const QString& where = QString()) const { return readRecords(dbPath(), where); }
    // Runs the queued notifications (0x40A is posted).
    static void deliver() { QCoreApplication::processEvents(); }
    // `count` records of type 1 in one pass, `step` seconds apart.
    void fill(int count, double step = 0.0) {
        AlarmLog::Batch batch(*log);
        for (int i = 0; i < count; ++i) {
            log->ErrLog(1, QStringLiteral("Düse"), 1 + i % 50, QStringLiteral("Sollwertänderung von 200 °C auf 210 °C"));
            t.clock.advance(step);
        }
        batch.commit();
    }
    // The log directory goes away and a file takes its name: nothing can be
    // written there until back() undoes it.
    void diskAway() {
        ASSERT_TRUE(QDir().rename(dir(), dir().chopped(1) + QStringLiteral("-away")));
        QFile blocker(dir().chopped(1));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    }
    void diskBack() {
        ASSERT_TRUE(QFile::remove(dir().chopped(1)));
        ASSERT_TRUE(QDir().rename(dir().chopped(1) + QStringLiteral("-away"), dir()));
    }
    double serial() const { return Clock::toDateSerial(t.clock.now()); }

    TestContext t;
    std::unique_ptr<AlarmLog> log;
};

}  // namespace zev::test
