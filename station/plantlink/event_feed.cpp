#include "plantlink/event_feed.h"

#include "alarms/alarm_log.h"
#include "base/settings.h"

#include <QSqlQuery>
#include <QVariant>
#include <cmath>

namespace zev {

namespace {
const QString kSection = QStringLiteral("MQTT");
const QString kIdKey = QStringLiteral("LastEventId");
const QString kTimeKey = QStringLiteral("LastEventTime");
const QString kColumns = QStringLiteral("rowid, Typ, Quelle, Adresse, Meldung, Kommt, Geht, Quittiert");

LogRecord record(const QSqlQuery& q) {
    LogRecord r;
    r.id = q.value(0).toLongLong();
    r.type = q.value(1).toInt();
    r.source = q.value(2).toString();
    r.zone = q.value(3).toInt();
    r.text = q.value(4).toString();
    r.came = q.value(5).toDouble();
    r.went = q.value(6).toDouble();
    r.acknowledged = q.value(7).toDouble();
    return r;
}
}  // namespace

void EventFeed::bind(AlarmLog* log, const QString& toolIni) {
    log_ = log;
    ini_ = toolIni;
    inFlight_.clear();
    stored_ = -1;
    if (!log_) return;
    bool ok = false;
    const qint64 id = settings_.GetIni(kSection, kIdKey, QString(), ini_).toLongLong(&ok);
    if (ok) {
        acked_ = id;
        ackedCame_ = settings_.GetIni(kSection, kTimeKey, QString(), ini_).toDouble();
        stored_ = acked_;
        resync();
        return;
    }
    QSqlQuery q(log_->db().database());
    acked_ = q.exec(QStringLiteral("SELECT max(rowid) FROM LOG")) && q.next() ? q.value(0).toLongLong() : 0;
    ackedCame_ = cameOf(acked_);
    handedOut_ = acked_;
    store();
}

double EventFeed::cameOf(qint64 id) const {
    if (!log_ || id <= 0) return 0.0;
    QSqlQuery q(log_->db().database());
    q.prepare(QStringLiteral("SELECT Kommt FROM LOG WHERE rowid = ?"));
    q.addBindValue(id);
    return q.exec() && q.next() ? q.value(0).toDouble() : -1.0;
}

qint64 EventFeed::firstAfterTime(double came) const {
    QSqlQuery q(log_->db().database());
    q.prepare(QStringLiteral("SELECT min(rowid) FROM LOG WHERE Kommt > ?"));
    q.addBindValue(came);
    if (q.exec() && q.next() && !q.value(0).isNull()) return q.value(0).toLongLong();
    if (q.exec(QStringLiteral("SELECT max(rowid) FROM LOG")) && q.next()) return q.value(0).toLongLong() + 1;
    return 1;
}

void EventFeed::resync() {
    inFlight_.clear();
    if (log_ && acked_ > 0 && std::abs(cameOf(acked_) - ackedCame_) > 1e-9) {
        // The file was made anew or compacted: go on after the time of the
        // record acknowledged last instead of its old id.
        acked_ = firstAfterTime(ackedCame_) - 1;
        ackedCame_ = cameOf(acked_);
    }
    handedOut_ = acked_;
}

std::vector<LogRecord> EventFeed::next(int max) {
    std::vector<LogRecord> out;
    if (!log_ || !log_->isOpen() || max <= 0) return out;
    QSqlQuery q(log_->db().database());
    q.prepare(QStringLiteral("SELECT %1 FROM LOG WHERE rowid > ? AND Typ IN (0, 1, 2) ORDER BY rowid LIMIT ?").arg(kColumns));
    q.addBindValue(handedOut_);
    q.addBindValue(max);
    if (!q.exec()) return out;
    while (q.next()) out.push_back(record(q));
    if (!out.empty()) handedOut_ = out.back().id;
    return out;
}

void EventFeed::sent(qint64 id, int mid) { inFlight_[mid] = id; }

void EventFeed::delivered(int mid) {
    if (inFlight_.erase(mid) == 0) return;
    qint64 lowest = handedOut_ + 1;
    for (const auto& [m, id] : inFlight_) lowest = std::min(lowest, id);
    acked_ = std::max(acked_, lowest - 1);
}

void EventFeed::rewind() {
    inFlight_.clear();
    handedOut_ = acked_;
}

void EventFeed::store() {
    if (!log_ || stored_ == acked_) return;
    ackedCame_ = cameOf(acked_);
    Settings::Batch batch(settings_);
    settings_.SetIni(kSection, kIdKey, QString::number(acked_), ini_);
    settings_.SetIni(kSection, kTimeKey, QString::number(ackedCame_, 'g', 17), ini_);
    if (batch.finish()) stored_ = acked_;
}

std::map<int, LogRecord> EventFeed::presentAlarms(int zoneCount) const {
    std::map<int, LogRecord> out;
    if (!log_ || !log_->isOpen()) return out;
    QSqlQuery q(log_->db().database());
    q.prepare(QStringLiteral("SELECT %1 FROM LOG WHERE Geht IS NULL AND Typ = 2 "
                             "AND Adresse <> '0' ORDER BY rowid").arg(kColumns));
    if (!q.exec()) return out;
    while (q.next()) {
        LogRecord r = record(q);
        if (r.zone >= 1 && r.zone <= zoneCount) out[r.zone] = r;  // the newest wins
    }
    return out;
}

}  // namespace zev
