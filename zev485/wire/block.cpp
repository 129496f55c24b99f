#include "block.h"

#include "check.h"

namespace zev485::wire {
namespace {

constexpr unsigned char kLastGroup = 0x40;  // 0x40..0x7F: last group, 6 bits
constexpr unsigned char kMoreGroup = 0x80;  // 0x80..0xFF: 7 bits, more follow

void putNumber(std::string& out, std::uint32_t value) {
    while (value >= 0x40) {
        out += static_cast<char>(kMoreGroup | (value & 0x7F));
        value >>= 7;
    }
    out += static_cast<char>(kLastGroup | value);
}

class Reader {
public:
    explicit Reader(std::string_view data) : data_(data) {}

    BlockError number(std::uint32_t& out) {
        std::uint64_t value = 0;
        int shift = 0;
        for (;;) {
            if (pos_ >= data_.size())
                return BlockError::Truncated;
            const auto byte = static_cast<unsigned char>(data_[pos_++]);
            if (byte < kLastGroup)
                return BlockError::BadByte;
            if (byte & kMoreGroup) {
                value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
                shift += 7;
                if (shift > 28)
                    return BlockError::OutOfRange;
            } else {
                value |= static_cast<std::uint64_t>(byte & 0x3F) << shift;
                break;
            }
        }
        if (value > 0xFFFFFFFFull)
            return BlockError::OutOfRange;
        out = static_cast<std::uint32_t>(value);
        return BlockError::None;
    }

    // A 16-bit field: zig-zag difference from prev.
    BlockError field16(std::int16_t prev, std::int16_t& out) {
        std::uint32_t zz = 0;
        if (const BlockError e = number(zz); e != BlockError::None)
            return e;
        if (zz > 0xFFFF)
            return BlockError::OutOfRange;
        const std::uint32_t diff = (zz >> 1) ^ (0u - (zz & 1u));
        out = static_cast<std::int16_t>(static_cast<std::uint16_t>(static_cast<std::uint16_t>(prev) + diff));
        return BlockError::None;
    }

    BlockError field32(std::int32_t prev, std::int32_t& out) {
        std::uint32_t zz = 0;
        if (const BlockError e = number(zz); e != BlockError::None)
            return e;
        const std::uint32_t diff = (zz >> 1) ^ (0u - (zz & 1u));
        out = static_cast<std::int32_t>(static_cast<std::uint32_t>(prev) + diff);
        return BlockError::None;
    }

    std::size_t position() const { return pos_; }

private:
    std::string_view data_;
    std::size_t pos_ = 0;
};

// Zig-zag code of the wrapped difference v - prev in 16 and 32 bits.
std::uint32_t delta16(std::int16_t v, std::int16_t prev) {
    const auto d = static_cast<std::int16_t>(static_cast<std::uint16_t>(v) - static_cast<std::uint16_t>(prev));
    return static_cast<std::uint16_t>((static_cast<std::uint16_t>(d) << 1) ^ static_cast<std::uint16_t>(d >> 15));
}

std::uint32_t delta32(std::int32_t v, std::int32_t prev) {
    const auto d = static_cast<std::int32_t>(static_cast<std::uint32_t>(v) - static_cast<std::uint32_t>(prev));
    return (static_cast<std::uint32_t>(d) << 1) ^ static_cast<std::uint32_t>(d >> 31);
}

}  // namespace

std::string encodeBlock(const Block& block) {
    std::string out;
    out.reserve(4 + block.zones.size() * 10);
    putNumber(out, static_cast<std::uint32_t>(block.zones.size()));
    putNumber(out, block.outputsOn ? 1u : 0u);
    ZoneSample prev{};
    for (const ZoneSample& z : block.zones) {
        putNumber(out, delta16(z.setpoint, prev.setpoint));
        putNumber(out, delta16(z.actual, prev.actual));
        putNumber(out, delta32(z.status, prev.status));
        putNumber(out, delta16(z.output, prev.output));
        putNumber(out, delta16(z.current, prev.current));
        prev = z;
    }
    const std::uint16_t check = crc16(out);
    out += static_cast<char>(kLastGroup | (check & 0x3F));
    out += static_cast<char>(kLastGroup | ((check >> 6) & 0x3F));
    out += static_cast<char>(kLastGroup | (check >> 12));
    return out;
}

const char* blockErrorText(BlockError error) {
    switch (error) {
    case BlockError::None: return "ok";
    case BlockError::BadByte: return "byte outside the block alphabet";
    case BlockError::Truncated: return "block ends early";
    case BlockError::BadCount: return "channel count out of range";
    case BlockError::OutOfRange: return "number out of range";
    case BlockError::BadCheck: return "block check wrong";
    case BlockError::Trailing: return "bytes after the block";
    }
    return "?";
}

BlockError decodeBlock(std::string_view payload, Block& out) {
    if (payload.size() < 5)
        return BlockError::Truncated;
    const std::string_view data = payload.substr(0, payload.size() - 3);
    const std::string_view checkBytes = payload.substr(payload.size() - 3);
    std::uint16_t check = 0;
    for (int i = 0; i < 3; ++i) {
        const auto byte = static_cast<unsigned char>(checkBytes[static_cast<std::size_t>(i)]);
        if (byte < kLastGroup || byte > 0x7F || (i == 2 && byte > kLastGroup + 0x0F))
            return BlockError::BadCheck;
        check = static_cast<std::uint16_t>(check | ((byte & 0x3F) << (6 * i)));
    }
    if (check != crc16(data))
        return BlockError::BadCheck;

    Reader reader(data);
    std::uint32_t count = 0;
    std::uint32_t flags = 0;
    if (const BlockError e = reader.number(count); e != BlockError::None)
        return e;
    if (count == 0 || count > kMaxBlockChannels)
        return BlockError::BadCount;
    if (const BlockError e = reader.number(flags); e != BlockError::None)
        return e;
    if (flags > 1)
        return BlockError::OutOfRange;

    Block block;
    block.outputsOn = flags & 1;
    block.zones.resize(count);
    ZoneSample prev{};
    for (ZoneSample& z : block.zones) {
        BlockError e = reader.field16(prev.setpoint, z.setpoint);
        if (e == BlockError::None) e = reader.field16(prev.actual, z.actual);
        if (e == BlockError::None) e = reader.field32(prev.status, z.status);
        if (e == BlockError::None) e = reader.field16(prev.output, z.output);
        if (e == BlockError::None) e = reader.field16(prev.current, z.current);
        if (e != BlockError::None)
            return e;
        prev = z;
    }
    if (reader.position() != data.size())
        return BlockError::Trailing;
    out = std::move(block);
    return BlockError::None;
}

}  // namespace zev485::wire
