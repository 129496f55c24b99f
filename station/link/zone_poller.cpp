#include "link/zone_poller.h"

#include "alarms/alarm_log.h"
#include "base/app_context.h"
#include "base/clock.h"
#include "link/bus_link.h"
#include "link/zone_commands.h"
#include "link/zone_values.h"
#include "plant/zone_state.h"
#include "support/texts.h"
#include "plant/zone_table.h"

#include <algorithm>
#include <limits>
#include <optional>

namespace zev {

namespace {
constexpr double kTimerInterval = 0.25;               // mainTimer, seconds
constexpr double kPassInterval = 2 * kTimerInterval;  // each pass runs every other tick
// A gap between two reading passes longer than this is no time the plant was
// watched (the cycle was stopped, the clock was set): it counts one pass.
constexpr double kLongestGap = 10.0;
constexpr int kOutputsKind = 6;

// A cached value as the zone table's 16-bit field; one that does not fit is no value.
std::int16_t int16Value(std::int32_t v) {
    if (v < std::numeric_limits<std::int16_t>::min() || v > std::numeric_limits<std::int16_t>::max()) return kNoValue;
    return static_cast<std::int16_t>(v);
}
}  // namespace

ZonePoller::ZonePoller(AppContext& ctx, ZoneCommands& commands, QObject* parent)
    : QObject(parent), ctx_(ctx), commands_(commands) {}

double ZonePoller::secondsSinceLastReading() {
    const QDateTime now = ctx_.clock.now();
    double seconds = kPassInterval;
    if (lastReading_.isValid()) {
        const double gap = lastReading_.msecsTo(now) / 1000.0;
        if (gap >= 0.0 && gap <= kLongestGap) seconds = gap;
    }
    lastReading_ = now;
    return seconds;
}

void ZonePoller::readingPass() {
    PlantData& plant = ctx_.plant;
    AlarmLog* log = ctx_.alarmLog;
    std::optional<AlarmLog::Batch> batch;
    if (log) batch.emplace(*log);
    bool listChanged = false;
    auto errLog = [&](int typ, const ZoneRecord& zone, int number, const QString& text) {
        if (log) log->ErrLog(typ, zone.Name, number, text);
        listChanged = true;
    };
    // The fault time grows by the time that really passed since the last
    // reading, not by the timer's interval: a pass runs every other tick.
    const double elapsed = secondsSinceLastReading();
    const QString unit = plant.TemperatureUnit;
    const int count = std::clamp(plant.ZoneCount, 0, kMaxZones);
    for (int z = 1; z <= count; ++z) {
        ZoneRecord& zone = plant.zone(z);
        std::int32_t oldStatus = zone.StatusWord;
        if (!read_[static_cast<std::size_t>(z)]) {
            read_[static_cast<std::size_t>(z)] = true;
            if (oldStatus == kNoValue) oldStatus = 0;
        }
        const std::int32_t status = myGetValue(ctx_, z, ValueCode::StatusWord);
        if (status < 0) {
            if (status != oldStatus) errLog(RecordType::Alarm, zone, z, zone.StatusText);
            continue;
        }
        const std::int16_t oldSetpoint = zone.Setpoint;
        const ZoneCommands::SetpointReading setpoint =
            commands_.takeSetpointReading(z, oldSetpoint, int16Value(myGetValue(ctx_, z, ValueCode::Setpoint)));
        zone.Setpoint = setpoint.setpoint;
        if (setpoint.record) {
            errLog(RecordType::Message, zone, z,
                   ctx_.texts(1511) + QString::number(oldSetpoint) + QLatin1Char(' ') + unit + ctx_.texts(1512) +
                       QString::number(zone.Setpoint) + QLatin1Char(' ') + unit);
        }
        if (isWatched(zone, unit)) {
            if (status != oldStatus) errLog(RecordType::Alarm, zone, z, zone.StatusText);
            if (status != 0) zone.AlarmSeconds += elapsed;
        } else if (status != oldStatus) {
            errLog(RecordType::Alarm, zone, z, QString());  // closes the zone's open alarms
        }
        zone.ActualValue = int16Value(myGetValue(ctx_, z, ValueCode::ActualValue));
        zone.OutputRate = int16Value(myGetValue(ctx_, z, ValueCode::OutputRate));
        const std::int32_t current = myGetValue(ctx_, z, ValueCode::Current);
        if (current == kNoValue) {
            zone.Current = kNoValue;
        } else {
            zone.Current = static_cast<float>(current / 10.0);
            zone.CurrentText = QString::number(current / 10.0, 'f', 1);
        }
    }
    plant.OutputsOn = ctx_.bus.GetVal(1, 1, kOutputsKind) != 0;
    if (batch) listChanged = batch->commit() || listChanged;
    emit valuesRead(listChanged);
}

}  // namespace zev
