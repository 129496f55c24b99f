#include "plant_commands.h"

#include "wire/block.h"
#include "wire/frame.h"

namespace zevsim {
namespace wire = zev485::wire;

namespace {

using Command = wire::Command;

constexpr std::int32_t kModeBits = 0x60;
constexpr std::int32_t kTuningBit = 0x100;

std::string valueReply(int address, long value) {
    return wire::addressText(address) + "=" + wire::formatValue(value);
}

std::string ack(int address) { return wire::addressText(address) + wire::kAck; }
std::string nak(int address) { return wire::addressText(address) + wire::kNak; }
std::string acknowledge(int address, bool ok) { return ok ? ack(address) : nak(address); }

std::string blockReply(Plant& plant, int a) {
    wire::Block block;
    block.outputsOn = plant.outputsOn(a);
    const int channels = plant.config(a).channels;
    block.zones.reserve(static_cast<std::size_t>(channels));
    for (int c = 1; c <= channels; ++c)
        block.zones.push_back({plant.setpoint(a, c), plant.actual(a, c), plant.statusWord(a, c),
                               plant.output(a, c), plant.currentTenths(a, c)});
    return wire::addressText(a) + "=" + wire::encodeBlock(block);
}

std::string allChannelsReply(Plant& plant, int a, int parameter) {
    std::string text;
    for (int c = 1; c <= plant.config(a).channels; ++c) {
        const auto value = plant.zoneParameter(a, c, parameter);
        const auto field = value ? wire::formatField4(*value) : std::nullopt;
        if (!field)  // a parameter the family lacks, or a value four characters cannot show
            return nak(a);
        text += *field;
    }
    return wire::addressText(a) + "=" + text;
}

std::string zoneRead(Plant& plant, const Command& cmd) {
    const int a = cmd.address;
    const int c = cmd.channel;
    switch (cmd.item) {
    case wire::kItemParameter: {
        const auto value = plant.zoneParameter(a, c, cmd.parameter);
        return value ? valueReply(a, *value) : nak(a);
    }
    case wire::kItemSetpoint: return valueReply(a, plant.setpoint(a, c));
    case wire::kItemActual: return valueReply(a, plant.actual(a, c));
    case wire::kItemStatus: return valueReply(a, plant.statusWord(a, c));
    case wire::kItemOutput: return valueReply(a, plant.output(a, c));
    case wire::kItemCurrent: return valueReply(a, plant.currentTenths(a, c));
    case wire::kItemMode: return valueReply(a, (plant.statusWord(a, c) & kModeBits) >> 5);
    case wire::kItemTuning: return valueReply(a, (plant.statusWord(a, c) & kTuningBit) ? 1 : 0);
    default: return nak(a);
    }
}

bool zoneWrite(Plant& plant, const Command& cmd) {
    const int a = cmd.address;
    const int c = cmd.channel;
    const auto v = static_cast<int>(cmd.value);
    switch (cmd.item) {
    case wire::kItemParameter: return plant.setZoneParameter(a, c, cmd.parameter, v);
    case wire::kItemSetpoint: return plant.setSetpoint(a, c, v);
    case wire::kItemOutput: return plant.setOutput(a, c, v);
    case wire::kItemMode: return plant.setMode(a, c, v);
    case wire::kItemTuning: return (v == 0 || v == 1) && plant.setTuning(a, c, v == 1);
    case wire::kItemTuneAck: return plant.ackTuningFault(a, c);
    default: return false;  // measured values cannot be written
    }
}

// A controller-wide write; false when refused.
bool controllerWrite(Plant& plant, int a, const Command& cmd) {
    if (cmd.mnemonic == "XRES") {
        plant.restart(a);
        return true;
    }
    if (cmd.mnemonic == "XSTD") {
        plant.factoryDefaults(a);
        return true;
    }
    if (cmd.mnemonic == wire::kClockMnemonic) {
        if (cmd.value < 0 || cmd.value >= 86400)
            return false;
        plant.setClock(static_cast<std::int32_t>(cmd.value));
        return true;
    }
    return cmd.write && plant.writeGlobal(a, cmd.mnemonic, cmd.value);
}

bool isAction(const Command& cmd) { return cmd.mnemonic == "XRES" || cmd.mnemonic == "XSTD"; }

}  // namespace

std::optional<std::string> executeCommand(Plant& plant, const Command& cmd) {
    const int a = cmd.address;
    if (!plant.present(a))
        return std::nullopt;
    switch (cmd.kind) {
    case Command::Kind::Block:
        return cmd.write ? nak(a) : blockReply(plant, a);
    case Command::Kind::AllChannels:
        return cmd.write ? nak(a) : allChannelsReply(plant, a, cmd.parameter);
    case Command::Kind::Zone:
        if (cmd.channel > plant.config(a).channels)
            return nak(a);
        return cmd.write ? acknowledge(a, zoneWrite(plant, cmd)) : zoneRead(plant, cmd);
    case Command::Kind::Controller:
        if (cmd.write || isAction(cmd))
            return acknowledge(a, controllerWrite(plant, a, cmd));
        if (cmd.mnemonic == wire::kClockMnemonic)
            return valueReply(a, plant.clock());
        if (const auto text = plant.readGlobal(a, cmd.mnemonic))
            return wire::addressText(a) + "=" + *text;
        return nak(a);
    }
    return nak(a);
}

void executeBroadcast(Plant& plant, const Command& cmd) {
    for (int a = 1; a <= 99; ++a) {
        if (!plant.present(a) || plant.silent(a))
            continue;
        Command one = cmd;
        one.address = a;
        if (one.kind == Command::Kind::Zone && one.write && one.channel <= plant.config(a).channels)
            zoneWrite(plant, one);
        else if (one.kind == Command::Kind::Controller && (one.write || isAction(one)))
            controllerWrite(plant, a, one);
    }
}

}  // namespace zevsim
