// A whole test context with a tool log directory, and a look into the alarm
// database through a connection of its own (what another program would see on
// the disk).
#pragma once

#include "test_context.h"

#include "alarms/alarm_db.h"
#include "alarms/alarm_log.h"
#include "support/clock.h"

#include <QCoreApplication>
#include <QDir>
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

// Every record of the file at path, in the order written.
inline std::vector<LogRecord> readRecords(const QString& path, const QString& where = QString()) {
    std::vector<LogRecord> out;
    const QString name = QStringLiteral("test-reader");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(QStringLiteral("SELECT Typ, Kommt, Geht, Quittiert, Quelle, Adresse, Meldung FROM LOG ") + where +
                       QStringLiteral(" ORDER BY rowid"))) {
                while (q.next())
                    out.push_back({q.value(0).toInt(), q.value(1).toDouble(), q.value(2), q.value(3),
                                   q.value(4).toString(), q.value(5).toString(), q.value(6).toString()});
            } else {
                ADD_FAILURE() << q.lastError().text().toStdString();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
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
    double serial() const { return Clock::toDateSerial(t.clock.now()); }

    TestContext t;
    std::unique_ptr<AlarmLog> log;
};

}  // namespace zev::test
