// The records of the alarm log on their way to the broker. The log's record id
// (the row id) orders them; the feed hands out the records after the last one
// handed out, and remembers the last id the broker acknowledged with every
// record before it. That id is kept in the tool's SETTINGS.INI (section [MQTT],
// beside the log it counts in), so that after a reconnection or a restart of
// the station every record after it goes out again, in order, before new ones.
//
// A record the broker took but whose acknowledgement was lost (the connection
// broke, the station was killed before the id was stored) goes out again with
// the same id: consumers drop an id they have seen.
#pragma once

#include "alarms/alarm_log.h"
#include "plantlink/payloads.h"

#include <QPointer>
#include <QString>
#include <map>
#include <vector>

namespace zev {

class AlarmLog;
class Settings;

class EventFeed {
public:
    explicit EventFeed(Settings& settings) : settings_(settings) {}

    // The log to follow and the settings file of its tool. The first time a
    // tool is followed, its feed begins after the newest record (the history
    // of earlier days is not sent).
    void bind(AlarmLog* log, const QString& toolIni);
    AlarmLog* log() const { return log_; }

    // Up to `max` records after the last handed out, in id order.
    std::vector<LogRecord> next(int max);
    // The record went out as message `mid`.
    void sent(qint64 id, int mid);
    // The broker acknowledged message `mid`.
    void delivered(int mid);
    // The connection broke: what was not acknowledged goes out again.
    void rewind();
    // The log's file was made anew or compacted (ids may have moved).
    void resync();

    qint64 acknowledged() const { return acked_; }
    int inFlight() const { return static_cast<int>(inFlight_.size()); }
    // Writes the acknowledged id when it changed since the last write.
    void store();

    // The present alarm of each zone 1..zoneCount: the open alarm record of the
    // zone, the newest when several are open.
    std::map<int, LogRecord> presentAlarms(int zoneCount) const;

private:
    double cameOf(qint64 id) const;
    qint64 firstAfterTime(double came) const;

    Settings& settings_;
    QPointer<AlarmLog> log_;
    QString ini_;
    qint64 acked_ = 0;
    double ackedCame_ = 0.0;   // Kommt of the acknowledged record: finds the place again when ids move
    qint64 stored_ = -1;
    qint64 handedOut_ = 0;
    std::map<int, qint64> inFlight_;   // mid -> id
};

}  // namespace zev
