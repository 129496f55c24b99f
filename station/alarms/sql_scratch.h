// A connection of its own for one job on a closed database file (a check, a
// compaction, reading a damaged file); removed when the object goes.
#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <atomic>

namespace zev {

inline QString uniqueConnectionName(const char* kind) {
    static std::atomic<int> counter{0};
    return QStringLiteral("zev-alarmdb-%1-%2").arg(QLatin1String(kind)).arg(++counter);
}

class SqlScratch {
public:
    explicit SqlScratch(const QString& path, bool readOnly = false) : name_(uniqueConnectionName("scratch")) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
        db.setDatabaseName(path);
        if (readOnly) db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        opened_ = db.open();
        if (!opened_) error_ = db.lastError().text();
    }
    ~SqlScratch() {
        {
            QSqlDatabase db = QSqlDatabase::database(name_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name_);
    }
    SqlScratch(const SqlScratch&) = delete;
    SqlScratch& operator=(const SqlScratch&) = delete;

    bool opened() const { return opened_; }
    const QString& error() const { return error_; }
    QSqlDatabase db() const { return QSqlDatabase::database(name_, false); }

private:
    QString name_;
    bool opened_ = false;
    QString error_;
};

}  // namespace zev
