// DBCompact: the daily deletion of old records and the compaction of the alarm
// database, with the old file kept as STOER.BAK.
#include "alarms/alarm_log.h"

#include "base/app_context.h"
#include "base/clock.h"
#include "support/texts.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <cmath>

namespace zev {

namespace {
constexpr int kKeepDays = 10;                   // records live about ten days
const QString kSystem = QStringLiteral("SYSTEM");

// The backup's date is the moment of the compaction that made it, on the
// program's clock.
void stampFile(const QString& path, const QDateTime& when) {
    QFile f(path);
    if (f.open(QIODevice::ReadOnly)) f.setFileTime(when, QFileDevice::FileModificationTime);
}
}  // namespace

AlarmDbInfo AlarmLog::info() const {
    AlarmDbInfo i{QStringLiteral("??? KB"), QStringLiteral("??.??.??")};
    const QFileInfo db(db_.dbPath());
    if (!db.exists()) return i;
    i.size = QString::number((db.size() + 1023) / 1024) + QStringLiteral(" KB");
    const QFileInfo bak(db_.bakPath());
    if (bak.exists()) i.compacted = bak.lastModified().toString(QStringLiteral("dd.MM.yy HH:mm"));
    return i;
}

bool AlarmLog::DBCompact(double days) {
    struct Tell {
        AlarmLog* log;
        ~Tell() { emit log->infoChanged(); }
    } tell{this};
    const QDateTime nowTime = ctx_.clock.now();
    if (!QFileInfo::exists(db_.dbPath())) return false;
    const QFileInfo bak(db_.bakPath());
    if (bak.exists()) {
        // A backup dated in the future (the clock was set back) counts as old, so
        // that compaction never stops for months.
        const double age = bak.lastModified().msecsTo(nowTime) / 86400000.0;
        if (age >= 0.0 && age < days) return true;
        QFile::remove(db_.bakPath());
    }
    if (!db_.isOpen() && !reopen()) return false;

    // Records older than ten whole days go first, so that the copy stays small.
    const QDate cutDate = nowTime.date().addDays(-kKeepDays);
    const double cut = std::floor(Clock::toDateSerial(QDateTime(cutDate, QTime(0, 0))));
    ErrLog(RecordType::Event, kSystem, 0,
           ctx_.texts(213) + cutDate.toString(QStringLiteral("dd.MM.yyyy")) + ctx_.texts(216));
    {
        QSqlQuery del(db_.database());
        del.prepare(QStringLiteral("DELETE FROM LOG WHERE Kommt < ?"));
        del.addBindValue(cut);
        del.exec();  // a failure shows in the integrity check of the copy below
    }
    emit aboutToClose();
    dropStatements();
    db_.close();

    bool result = false;
    QString reason;
    if (QFile::rename(db_.dbPath(), db_.bakPath())) {
        stampFile(db_.bakPath(), nowTime);
        result = AlarmDb::repairFile(db_.bakPath(), &reason) &&
                 AlarmDb::compactInto(db_.bakPath(), db_.dbPath(), &reason);
        if (!result) {
            // The old file comes back under its name; a half-written copy goes.
            QFile::remove(db_.dbPath());
            QFile::rename(db_.bakPath(), db_.dbPath());
        }
    }
    // A restored file is checked again (it may be the reason for the failure).
    reopen(!result);
    ErrLog(RecordType::Event, kSystem, 0, ctx_.texts(result ? 217 : 218));
    return result;
}

}  // namespace zev
