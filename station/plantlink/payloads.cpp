#include "plantlink/payloads.h"

#include "base/clock.h"
#include "plant/zone_table.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace zev {

namespace {
// A zone value, or null for the no-value marker (never the marker itself).
QJsonValue value(int v) { return v == kNoValue ? QJsonValue() : QJsonValue(v); }

QByteArray compact(const QJsonObject& o) { return QJsonDocument(o).toJson(QJsonDocument::Compact); }

const char* kindName(int type) {
    switch (type) {
    case 0: return "event";
    case 1: return "message";
    case 2: return "alarm";
    default: return "other";
    }
}
}  // namespace

QByteArray topic(const QString& station, const QString& leaf) {
    return QStringLiteral("zev/%1/%2").arg(station, leaf).toUtf8();
}

QByteArray statePayload(const StationState& s) {
    static const char* const links[] = {"online", "offline", "no controller"};
    return compact({{QStringLiteral("online"), s.online},
                    {QStringLiteral("tool"), s.tool},
                    {QStringLiteral("zones"), s.zones},
                    {QStringLiteral("version"), s.version},
                    {QStringLiteral("link"), QString::fromLatin1(links[static_cast<int>(s.link)])}});
}

QByteArray zonesPayload(const PlantData& plant, const QString& time) {
    QJsonArray zones;
    for (int n = 1; n <= plant.ZoneCount; ++n) {
        const ZoneRecord& z = plant.zone(n);
        const bool noCurrent = z.Current == static_cast<float>(kNoValue) || z.Current < 0.0F;
        zones.append(QJsonObject{{QStringLiteral("zone"), n},
                                 {QStringLiteral("name"), z.Name},
                                 {QStringLiteral("group"), z.Group},
                                 {QStringLiteral("actual"), value(z.ActualValue)},
                                 {QStringLiteral("setpoint"), value(z.Setpoint)},
                                 {QStringLiteral("output"), value(z.OutputRate)},
                                 {QStringLiteral("current"),
                                  noCurrent ? QJsonValue() : QJsonValue(qRound(z.Current * 10.0F) / 10.0)},
                                 {QStringLiteral("mode"), z.Mode},
                                 {QStringLiteral("status"), z.StatusCode},
                                 {QStringLiteral("statusText"), z.StatusShort}});
    }
    const QJsonObject units{{QStringLiteral("temperature"), plant.TemperatureUnit},
                            {QStringLiteral("output"), QStringLiteral("%")},
                            {QStringLiteral("current"), QStringLiteral("A")}};
    return compact({{QStringLiteral("time"), time}, {QStringLiteral("units"), units}, {QStringLiteral("zones"), zones}});
}

QVariant serialTime(double serial) {
    if (serial == 0.0) return {};
    const QDateTime t = Clock::fromDateSerial(serial);
    return t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODate);
}

QByteArray eventPayload(const LogRecord& r) {
    return compact({{QStringLiteral("id"), r.id},
                    {QStringLiteral("type"), r.type},
                    {QStringLiteral("kind"), QString::fromLatin1(kindName(r.type))},
                    {QStringLiteral("source"), r.source},
                    {QStringLiteral("zone"), r.zone},
                    {QStringLiteral("text"), r.text},
                    {QStringLiteral("came"), QJsonValue::fromVariant(serialTime(r.came))},
                    {QStringLiteral("went"), QJsonValue::fromVariant(serialTime(r.went))},
                    {QStringLiteral("acknowledged"), QJsonValue::fromVariant(serialTime(r.acknowledged))}});
}

QByteArray alarmPayload(const LogRecord& r) {
    return compact({{QStringLiteral("id"), r.id},
                    {QStringLiteral("zone"), r.zone},
                    {QStringLiteral("source"), r.source},
                    {QStringLiteral("text"), r.text},
                    {QStringLiteral("since"), QJsonValue::fromVariant(serialTime(r.came))},
                    {QStringLiteral("acknowledged"), r.acknowledged != 0.0}});
}

}  // namespace zev
