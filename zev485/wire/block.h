// Payload of the block reply ("G01=" + payload): every channel's cyclic values
// in one telegram, coded compactly because the cyclic scan carries little else.
//
// payload = count flags { setpoint actual status output current } * count check
//
// Each field is sent as its difference from the same field of the channel
// before (the first channel: from 0), because neighbouring zones mostly share
// setpoint and status and differ little in temperature. A difference is taken
// with wrap-around in the field's width (16 bits, the status word 32 bits) and
// zig-zag coded (0, -1, 1, -2 ... as 0, 1, 2, 3 ...).
// Each number is a group code, least significant group first: bytes 0x80..0xFF
// carry 7 bits and announce another byte, a byte 0x40..0x7F carries the last
// 6 bits. count and flags are plain numbers; flags bit 0: the controller's
// outputs are on. check: CRC-16 of everything before it, in three bytes
// 0x40 + 6 bits, low bits first. No payload byte is below 0x40, so none can be
// taken for STX, ETX, ACK or NAK.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zev485::wire {

inline constexpr int kMaxBlockChannels = 32;

struct ZoneSample {
    std::int16_t setpoint = 0;
    std::int16_t actual = 0;
    std::int32_t status = 0;
    std::int16_t output = 0;
    std::int16_t current = 0;
    bool operator==(const ZoneSample&) const = default;
};

struct Block {
    bool outputsOn = false;
    std::vector<ZoneSample> zones;
    bool operator==(const Block&) const = default;
};

std::string encodeBlock(const Block& block);

enum class BlockError { None, BadByte, Truncated, BadCount, OutOfRange, BadCheck, Trailing };

const char* blockErrorText(BlockError error);

BlockError decodeBlock(std::string_view payload, Block& out);

}  // namespace zev485::wire
