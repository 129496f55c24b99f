#include "link/zone_commands.h"

#include "base/app_context.h"
#include "base/event_pump.h"
#include "base/ini_values.h"
#include "base/progress_line.h"
#include "link/bus_link.h"
#include "link/zone_values.h"
#include "plant/driver.h"
#include "plant/zone_table.h"
#include "support/user_levels.h"

#include <map>

namespace zev {

namespace {
// Passes the reading may still show the value before our accepted setpoint
// (the cache follows within one telegram; two seconds are ample).
constexpr int kOwnSetpointPasses = 4;
constexpr int kBlockFieldWidth = 4;  // "0250", "-010"

bool isZoneParameter(int code) {
    return code >= ValueCode::FirstZoneParameter && code <= ValueCode::LastZoneParameter;
}

struct Running {
    bool& flag;
    explicit Running(bool& f) : flag(f) { flag = true; }
    ~Running() { flag = false; }
};
}  // namespace

ZoneCommands::ZoneCommands(AppContext& ctx, QObject* parent) : QObject(parent), ctx_(ctx) {}

ZoneCommands::~ZoneCommands() = default;

std::optional<WriteRange> ZoneCommands::range(int code) const {
    switch (code) {
    case ValueCode::Setpoint: return WriteRange{0, 700};
    case ValueCode::Mode: return WriteRange{0, 2};
    case ValueCode::Tuning: return WriteRange{0, 1};
    case ValueCode::TuningAck: return WriteRange{1, 1};
    case ValueCode::OutputRate: return WriteRange{0, 100};
    default: break;
    }
    if (!isZoneParameter(code)) return std::nullopt;
    const ZoneParameter& p = ctx_.driver.ZoneParameters[static_cast<std::size_t>(code)];
    if (!p.Writable || p.Min == p.Max) return std::nullopt;
    return WriteRange{std::min(p.Min, p.Max), std::max(p.Min, p.Max)};
}

Refusal ZoneCommands::check(int zone, int code, int value) const {
    if (zone < 1 || zone > std::min(ctx_.plant.ZoneCount, kMaxZones)) return Refusal::NoZone;
    const ZoneRecord& z = ctx_.plant.zone(zone);
    if (z.BusAddress == 0 || z.Channel == 0) return Refusal::NoZone;
    const std::optional<WriteRange> r = range(code);
    if (!r && !isZoneParameter(code)) return Refusal::UnknownCode;
    if (value == kNoValue) return Refusal::NoValue;
    if (!r) return Refusal::ReadOnly;
    if (value < r->min || value > r->max) return Refusal::OutOfRange;
    if (z.ModeFlag && ((code == ValueCode::Mode && value == 1) || code == ValueCode::OutputRate))
        return Refusal::MonitorZone;
    return Refusal::None;
}

WriteResult ZoneCommands::write(int zone, int code, int value, int level) {
    if (!ctx_.users.CheckLevel(level)) return WriteResult{Refusal::Level};
    return send(zone, code, value);
}

WriteResult ZoneCommands::send(int zone, int code, int value) {
    WriteResult r{check(zone, code, value)};
    if (!r.sent()) return r;
    const ZoneRecord& z = ctx_.plant.zone(zone);
    r.bus = ctx_.bus.SetValEx(z.BusAddress, z.Channel, code, value);
    if (r.accepted()) apply(zone, code, value);
    return r;
}

BatchResult ZoneCommands::writeBatch(const std::vector<int>& zones, int code,
                                     const std::function<int(int zone)>& valueOf, int level,
                                     const std::function<QString(int zone)>& progressText) {
    BatchResult out;
    if (!ctx_.users.CheckLevel(level)) {
        out.levelRefused = true;
        return out;
    }
    Running running(running_);
    cancelRequested_ = false;
    for (std::size_t i = 0; i < zones.size(); ++i) {
        const int zone = zones[i];
        if (cancelRequested_) {
            out.cancelled = true;
            out.failed.insert(out.failed.end(), zones.begin() + static_cast<std::ptrdiff_t>(i), zones.end());
            break;
        }
        if (progressText) ctx_.progress.setAction(progressText(zone));
        const WriteResult r = send(zone, code, valueOf(zone));
        if (r.accepted()) out.accepted.push_back(zone);
        else if (r.sent()) out.failed.push_back(zone);
        else out.refused.emplace_back(zone, r.refusal);
        ctx_.pump.yield();
    }
    cancelRequested_ = false;
    return out;
}

void ZoneCommands::apply(int zone, int code, int value) {
    ZoneRecord& z = ctx_.plant.zone(zone);
    ZoneCommandRecord record{zone, code, 0, value};
    switch (code) {
    case ValueCode::Setpoint:
        record.previous = z.Setpoint;
        own_[static_cast<std::size_t>(zone)] = {true, z.Setpoint, static_cast<std::int16_t>(value), kOwnSetpointPasses};
        z.Setpoint = static_cast<std::int16_t>(value);
        break;
    case ValueCode::Mode:
        record.previous = z.Mode;
        z.Mode = static_cast<std::uint8_t>(value);
        break;
    case ValueCode::Tuning:
        record.previous = z.TuneState;
        z.TuneState = static_cast<std::uint8_t>(value);
        break;
    case ValueCode::TuningAck:
        record.previous = z.TuneState;
        z.TuneState = 0;  // the tuning fault is acknowledged
        break;
    case ValueCode::OutputRate:
        record.previous = z.OutputRate;
        z.OutputRate = static_cast<std::int16_t>(value);
        break;
    default: {
        ZoneParameter& p = ctx_.driver.ZoneParameters[static_cast<std::size_t>(code)];
        record.previous = p.Value[static_cast<std::size_t>(zone)];
        p.Value[static_cast<std::size_t>(zone)] = static_cast<std::int16_t>(value);
        if (code == ctx_.driver.MonitorZoneParam) z.ModeFlag = value == 1;
        break;
    }
    }
    emit accepted(record);
}

ZoneCommands::SetpointReading ZoneCommands::takeSetpointReading(int zone, std::int16_t tableValue,
                                                                std::int16_t readValue) {
    OwnSetpoint& own = own_.at(static_cast<std::size_t>(zone));
    if (own.pending) {
        if (readValue == own.value) {
            own.pending = false;
            return {readValue, false};
        }
        if (readValue == own.previous && own.passesLeft > 0) {
            --own.passesLeft;  // the cache has not shown our write yet
            return {tableValue, false};
        }
        own.pending = false;
    }
    const bool changed = readValue != tableValue && tableValue != kNoValue && readValue != kNoValue;
    return {readValue, changed};
}

std::vector<int> ZoneCommands::readBlock(int address, int parameter, int channels) {
    const QString reply = ctx_.bus.Ask(QStringLiteral("G") + twoDigits(address) + QStringLiteral("KALP") +
                                       twoDigits(parameter) + QStringLiteral("="));
    // A controller that refuses the block (NAK) is read zone by zone; any other
    // reply of the wrong length (no answer, 47 or 49 characters for 12
    // channels) is no value for every channel.
    if (reply == QString(QChar(0x15))) return {};
    if (channels <= 0 || reply.size() != channels * kBlockFieldWidth) return std::vector<int>(static_cast<std::size_t>(std::max(channels, 0)), kNoValue);
    std::vector<int> values;
    values.reserve(static_cast<std::size_t>(channels));
    for (int c = 0; c < channels; ++c) {
        bool ok = false;
        const int v = reply.mid(c * kBlockFieldWidth, kBlockFieldWidth).trimmed().toInt(&ok);
        values.push_back(ok ? v : kNoValue);
    }
    return values;
}

std::vector<int> ZoneCommands::readParameter(int parameter, const std::vector<int>& zones) {
    std::vector<int> out(zones.size(), kNoValue);
    if (!isZoneParameter(parameter)) return out;
    std::map<int, std::vector<int>> blocks;  // address -> values of channels 1..n (empty: refused)
    ZoneParameter& store = ctx_.driver.ZoneParameters[static_cast<std::size_t>(parameter)];
    for (std::size_t i = 0; i < zones.size(); ++i) {
        const int zone = zones[i];
        if (zone < 1 || zone > std::min(ctx_.plant.ZoneCount, kMaxZones)) continue;
        const ZoneRecord& z = ctx_.plant.zone(zone);
        if (z.BusAddress == 0 || z.Channel == 0) continue;
        auto it = blocks.find(z.BusAddress);
        if (it == blocks.end()) {
            const std::size_t a = z.BusAddress;
            const int channels = a < ctx_.plant.Controllers.size() ? ctx_.plant.Controllers[a].Channels : 0;
            it = blocks.emplace(z.BusAddress, readBlock(z.BusAddress, parameter, channels)).first;
            ctx_.pump.yield();
        }
        const std::vector<int>& block = it->second;
        int value = kNoValue;
        if (static_cast<std::size_t>(z.Channel) <= block.size()) value = block[z.Channel - 1u];
        else value = myGetValue(ctx_, zone, parameter);  // the controller has no block of it
        out[i] = value;
        store.Value[static_cast<std::size_t>(zone)] =
            value >= -32768 && value <= 32767 ? static_cast<std::int16_t>(value) : static_cast<std::int16_t>(kNoValue);
    }
    return out;
}

}  // namespace zev
