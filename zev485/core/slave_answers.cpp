#include "slave_answers.h"

#include "wire/frame.h"

namespace zev485 {
namespace {

int cacheKind(char item) {
    switch (item) {
    case wire::kItemSetpoint: return kKindSetpoint;
    case wire::kItemActual: return kKindActual;
    case wire::kItemStatus: return kKindStatus;
    case wire::kItemOutput: return kKindOutput;
    case wire::kItemCurrent: return kKindCurrent;
    default: return 0;
    }
}

}  // namespace

std::optional<std::string> slaveReplyBody(const wire::Command& cmd, int firstAddress,
                                          const ValueCache& cache, const ControllerTable& table) {
    if (cmd.address == 0 || firstAddress < 1 || cmd.address < firstAddress)
        return std::nullopt;
    const int ours = cmd.address - firstAddress + 1;
    wire::Block block;
    if (!table.online(ours) || !cache.block(ours, block))
        return std::nullopt;

    const std::string head = wire::addressText(cmd.address);
    const std::string nak = head + wire::kNak;
    if (cmd.write)
        return nak;
    switch (cmd.kind) {
    case wire::Command::Kind::Block:
        return head + "=" + wire::encodeBlock(block);
    case wire::Command::Kind::Zone: {
        const int kind = cacheKind(cmd.item);
        if (kind == 0 || cmd.channel > static_cast<int>(block.zones.size()))
            return nak;
        return head + "=" + wire::formatValue(cache.value(ours, cmd.channel, kind));
    }
    case wire::Command::Kind::Controller:
        if (cmd.mnemonic == "?KAN")
            return head + "=" + wire::formatValue(static_cast<long>(block.zones.size()));
        if (cmd.mnemonic == "?ENA")
            return head + "=" + wire::formatValue(block.outputsOn ? 1 : 0);
        return nak;
    case wire::Command::Kind::AllChannels:
        return nak;
    }
    return nak;
}

}  // namespace zev485
