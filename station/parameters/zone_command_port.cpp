#include "parameters/zone_command_port.h"

#include "link/bus_link.h"
#include "link/zone_values.h"
#include "parameters/operator_record.h"
#include "shell/app_context.h"
#include "shell/ini_values.h"

#include <cmath>

namespace zev {

namespace {
constexpr int kSetpointMax = 700;
constexpr int kValueWidth = 4;  // characters per channel in a block reply

bool monitorRefuses(int what, int value) {
    return (what == ValueCode::Mode && value == 1) || what == ValueCode::OutputRate || what == ValueCode::Tuning ||
           what == ValueCode::TuningAck;
}

// The zone table's value of a command before it is written (for the record).
int oldValue(const AppContext& ctx, int zone, int what) {
    const ZoneRecord& z = ctx.plant.zone(zone);
    switch (what) {
    case ValueCode::Setpoint: return z.Setpoint;
    case ValueCode::OutputRate: return z.OutputRate;
    case ValueCode::Mode: return z.StatusWord == kNoValue ? kNoValue : z.Mode;
    case ValueCode::Tuning: return z.StatusWord == kNoValue ? kNoValue : (z.TuneState == 1 ? 1 : 0);
    default: break;
    }
    if (what >= 1 && what <= kZoneParameterCount)
        return ctx.driver.ZoneParameters[static_cast<std::size_t>(what)].Value[static_cast<std::size_t>(zone)];
    return kNoValue;
}
}  // namespace

bool commandRange(const AppContext& ctx, int what, int* min, int* max) {
    switch (what) {
    case ValueCode::Setpoint: *min = 0; *max = kSetpointMax; return true;
    case ValueCode::OutputRate: *min = 0; *max = 100; return true;
    case ValueCode::Mode: *min = 0; *max = 2; return true;
    case ValueCode::Tuning: *min = 0; *max = 1; return true;
    case ValueCode::TuningAck: *min = 1; *max = 1; return true;
    default: break;
    }
    if (what < 1 || what > kZoneParameterCount) return false;
    const ZoneParameter& p = ctx.driver.ZoneParameters[static_cast<std::size_t>(what)];
    *min = p.Min;
    *max = p.Max;
    return p.Writable && p.Min != p.Max;
}

WriteResult LinkZoneCommands::write(int zone, int what, int value) {
    if (zone < 1 || zone > ctx_.plant.ZoneCount) return WriteResult::BadArgument;
    if (value == kNoValue) return WriteResult::NoValue;
    int min = 0, max = 0;
    if (!commandRange(ctx_, what, &min, &max)) return WriteResult::ReadOnly;
    if (value < min || value > max) return WriteResult::OutOfRange;
    if (ctx_.plant.zone(zone).ModeFlag && monitorRefuses(what, value)) return WriteResult::MonitorZone;
    const int before = oldValue(ctx_, zone, what);
    const int result = SetValue(ctx_, zone, what, value);
    if (result != 0) return result >= 1 && result <= 5 ? static_cast<WriteResult>(result) : WriteResult::Damaged;
    if (what == ValueCode::TuningAck && ctx_.plant.zone(zone).TuneState == 2) ctx_.plant.zone(zone).TuneState = 0;
    if (what >= 1 && what <= kZoneParameterCount) {
        ctx_.driver.ZoneParameters[static_cast<std::size_t>(what)].Value[static_cast<std::size_t>(zone)] =
            static_cast<std::int16_t>(value);
        if (what == ctx_.driver.MonitorZoneParam) ctx_.plant.zone(zone).ModeFlag = value == 1;
    }
    if (record_) record_->zoneChanged(zone, what, before, value);
    return WriteResult::Accepted;
}

QString LinkZoneCommands::ask(const QString& command) { return ctx_.bus.Ask(command); }

WriteResult LinkZoneCommands::setGlobal(int address, const QByteArray& name, int value) {
    const int result = ctx_.bus.SetGlobVal(address, name, value);
    if (result == 0) return WriteResult::Accepted;
    return result >= 1 && result <= 5 ? static_cast<WriteResult>(result) : WriteResult::Damaged;
}

void LinkZoneCommands::holdScan(bool hold) {
    // Only online is the scan enabled; offline there is nothing to hold or resume.
    if (ctx_.plant.Online) ctx_.bus.EnableCyclicScan(!hold);
}

bool LinkZoneCommands::readParameterBlock(int address, int parameter, std::vector<int>& values) {
    values.clear();
    if (address < 1 || address >= static_cast<int>(ctx_.plant.Controllers.size())) return false;
    const int channels = ctx_.plant.Controllers[static_cast<std::size_t>(address)].Channels;
    const QString reply = ctx_.bus.Ask(QStringLiteral("G") + twoDigits(address) + QStringLiteral("KALP") +
                                       twoDigits(parameter) + QStringLiteral("="));
    if (channels < 1 || reply.size() != kValueWidth * channels) return false;
    for (int k = 0; k < channels; ++k) {
        bool ok = false;
        const double v = reply.mid(k * kValueWidth, kValueWidth).trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v)) {
            values.clear();
            return false;
        }
        values.push_back(static_cast<int>(std::lround(v)));
    }
    return true;
}

}  // namespace zev
