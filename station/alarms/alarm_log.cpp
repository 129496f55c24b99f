#include "alarms/alarm_log.h"

#include "alarms/alarm_filter.h"
#include "base/app_context.h"
#include "base/notification_hub.h"
#include "base/clock.h"
#include "support/procedure.h"
#include "support/texts.h"
#include "support/zev_error.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace zev {

namespace {
constexpr int kTextColumn = 64;          // size of Quelle and Meldung
constexpr int kAcknowledge = -1;         // queued operation: stamp Quittiert
constexpr std::size_t kMaxQueued = 100000;  // about 20 MB of records waiting for the disk
const QString kModule = QStringLiteral("frmAlarm");

// A text cut to its column, never into half a character; never null (a null
// text would be stored as an empty value rather than an empty text).
QString columnText(const QString& text) {
    QString t = text.isNull() ? QStringLiteral("") : text;
    if (t.size() > kTextColumn) {
        t.truncate(kTextColumn);
        if (t.back().isHighSurrogate()) t.chop(1);
    }
    return t;
}

bool knownType(int typ) {
    return typ == RecordType::Event || typ == RecordType::Message || typ == RecordType::Alarm ||
           typ == RecordType::CloseOnly;
}
}  // namespace

AlarmLog::AlarmLog(AppContext& ctx, const QString& directory, QObject* parent)
    : QObject(parent), ctx_(ctx), db_(directory) {
    start_ = now();
    made_ = db_.Make_StoerDB(&openError_);
    ctx_.hub.subscribe(Msg::AlarmDbRecreated, this, [this] { onDamageNotification(); });
    if (made_ == AlarmDb::Made::Recreated) ctx_.hub.post(Msg::AlarmDbRecreated);
}

AlarmLog::~AlarmLog() {
    // Records still waiting get a last chance; a failure is not told again.
    failing_ = true;
    try {
        flush();
    } catch (...) {
    }
    dropStatements();
}

double AlarmLog::now() const { return Clock::toDateSerial(ctx_.clock.now()); }

QString AlarmLog::startStamp() const { return convert(start_); }

void AlarmLog::ErrLog(int Typ, const QString& Quelle, int Adresse, const QString& Meldung) {
    if (!knownType(Typ)) return;
    if (queue_.size() >= kMaxQueued) queue_.pop_front();
    queue_.push_back({Typ, columnText(Quelle), Adresse, columnText(Meldung), now()});
    if (batchDepth_ == 0) flush();
}

bool AlarmLog::Batch::commit() {
    done_ = true;
    if (--log_.batchDepth_ > 0) return false;
    return log_.flush();
}

void AlarmLog::acknowledge(const QString& whereClause) {
    queue_.push_back({kAcknowledge, QString(), 0, whereClause, now()});
    if (batchDepth_ == 0) flush();
}

bool AlarmLog::prepareStatements(QString* error, bool* damaged) {
    dropStatements();
    QSqlDatabase db = db_.database();
    auto make = [&](std::unique_ptr<QSqlQuery>& q, const char* sql) {
        q = std::make_unique<QSqlQuery>(db);
        if (q->prepare(QString::fromLatin1(sql))) return true;
        *error = q->lastError().text();
        *damaged = AlarmDb::isDamage(q->lastError());
        return false;
    };
    const bool ok =
        make(insert_, "INSERT INTO LOG (Typ, Kommt, Geht, Quittiert, Quelle, Adresse, Meldung) VALUES (?, ?, ?, NULL, ?, ?, ?)") &&
        make(closeByZone_, "UPDATE LOG SET Geht = ? WHERE Adresse = ? AND Geht IS NULL AND Typ = 2 AND Kommt >= ?") &&
        make(closeBySource_, "UPDATE LOG SET Geht = ? WHERE Quelle = ? AND Geht IS NULL AND Kommt >= ?");
    if (!ok) dropStatements();
    return ok;
}

void AlarmLog::dropStatements() {
    insert_.reset();
    closeByZone_.reset();
    closeBySource_.reset();
}

bool AlarmLog::apply(const Op& op, QString* error, bool* damaged) {
    auto run = [&](QSqlQuery& q) {
        if (q.exec()) return true;
        *error = q.lastError().text();
        *damaged = AlarmDb::isDamage(q.lastError());
        return false;
    };
    if (op.typ == kAcknowledge) {
        QSqlQuery q(db_.database());
        if (!q.prepare(QStringLiteral("UPDATE LOG SET Quittiert = ? ") + op.meldung)) {
            *error = q.lastError().text();
            *damaged = AlarmDb::isDamage(q.lastError());
            return false;
        }
        q.addBindValue(op.now);
        return run(q);
    }
    const QString adresse = QString::number(op.adresse);
    if (op.typ == RecordType::Alarm || op.typ == RecordType::CloseOnly) {
        // A zone's alarms are its own whatever it is called (names repeat and
        // change); records of no zone go by their source.
        QSqlQuery& close = op.adresse >= 1 ? *closeByZone_ : *closeBySource_;
        close.addBindValue(op.now);
        close.addBindValue(op.adresse >= 1 ? adresse : op.quelle);
        close.addBindValue(start_);
        if (!run(close)) return false;
        if (op.typ == RecordType::CloseOnly || op.meldung.isEmpty()) return true;
    }
    insert_->addBindValue(op.typ);
    insert_->addBindValue(op.now);
    insert_->addBindValue(op.typ == RecordType::Alarm ? QVariant() : QVariant(op.now));
    insert_->addBindValue(op.quelle);
    insert_->addBindValue(adresse);
    insert_->addBindValue(op.meldung);
    return run(*insert_);
}

bool AlarmLog::writeQueue(QString* error, bool* damaged) {
    *damaged = false;
    QSqlDatabase db = db_.database();
    if (!insert_ && !prepareStatements(error, damaged)) return false;
    if (!db.transaction()) {
        *error = db.lastError().text();
        *damaged = AlarmDb::isDamage(db.lastError());
        return false;
    }
    for (const Op& op : queue_) {
        if (!apply(op, error, damaged)) {
            db.rollback();
            return false;
        }
    }
    if (db.commit()) return true;
    *error = db.lastError().text();
    *damaged = AlarmDb::isDamage(db.lastError());
    db.rollback();
    return false;
}

bool AlarmLog::flush() {
    if (queue_.empty()) return false;
    QString error;
    bool damaged = false;
    bool ok = false;
    if (db_.isOpen() || reopen()) {
        // A file deleted under the running program would swallow every record.
        if (!QFileInfo::exists(db_.dbPath())) damaged = true;
        else ok = writeQueue(&error, &damaged);
        if (!ok && damaged) {
            recreateAfterDamage();
            if (db_.isOpen()) ok = writeQueue(&error, &damaged);
            else error = openError_;
        }
    } else {
        error = openError_;
    }
    if (ok) {
        queue_.clear();
        failing_ = false;
        emit written();
        return true;
    }
    failed(error);
    return false;
}

void AlarmLog::failed(const QString& error) {
    if (failing_) return;  // told once per episode; the records stay queued
    failing_ = true;
    throw ZevError(ErrNo::Database, QStringLiteral("%1 (%2)").arg(error, db_.dbPath()));
}

bool AlarmLog::reopen(bool check) {
    dropStatements();
    made_ = db_.Make_StoerDB(&openError_, check);
    if (made_ == AlarmDb::Made::Failed) return false;
    emit reopened();
    if (made_ == AlarmDb::Made::Recreated) ctx_.hub.post(Msg::AlarmDbRecreated);
    return true;
}

void AlarmLog::recreateAfterDamage() {
    emit aboutToClose();
    dropStatements();
    made_ = db_.recreate(&openError_);
    if (made_ == AlarmDb::Made::Failed) return;
    emit reopened();
    ctx_.hub.post(Msg::AlarmDbRecreated);
}

void AlarmLog::onDamageNotification() {
    guarded(ctx_.errors, kModule, QStringLiteral("ErrLog"), [this] {
        ErrLog(RecordType::Event, QStringLiteral("SYSTEM"), 0, ctx_.texts(219));
    });
}

}  // namespace zev
