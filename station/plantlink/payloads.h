// The topics and the JSON payloads the station publishes (docs/plant-link.md).
// Pure functions of the plant's data: no network, no database.
#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

namespace zev {

struct PlantData;
struct ToolData;

// zev/<station>/<leaf>
QByteArray topic(const QString& station, const QString& leaf);

// The link as the state topic names it.
enum class LinkCondition { Online, Offline, NoController };

struct StationState {
    bool online = true;           // the station runs (false: shut down, or the last will)
    QString tool;
    int zones = 0;
    QString version;
    LinkCondition link = LinkCondition::Offline;
};
QByteArray statePayload(const StationState& state);

// Every zone 1..ZoneCount in one batch; `time` is ISO 8601 with the offset.
QByteArray zonesPayload(const PlantData& plant, const QString& time);

// One record of the alarm log as it stands.
struct LogRecord {
    qint64 id = 0;
    int type = 0;
    QString source;
    int zone = 0;        // Adresse; 0 for records of no zone
    QString text;
    double came = 0.0;   // date serials; 0 for none
    double went = 0.0;
    double acknowledged = 0.0;
};
QByteArray eventPayload(const LogRecord& record);
// A zone's present alarm: text, since when, acknowledged or not.
QByteArray alarmPayload(const LogRecord& record);

// A date serial as ISO 8601 local time with its offset, or null for 0.
QVariant serialTime(double serial);

}  // namespace zev
