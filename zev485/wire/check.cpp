#include "check.h"

#include <array>

namespace zev485::wire {
namespace {

constexpr std::array<std::uint8_t, 256> makeCrc8Table() {
    std::array<std::uint8_t, 256> table{};
    for (int i = 0; i < 256; ++i) {
        auto c = static_cast<std::uint8_t>(i);
        for (int bit = 0; bit < 8; ++bit)
            c = static_cast<std::uint8_t>((c & 0x80) ? (c << 1) ^ 0x07 : (c << 1));
        table[static_cast<std::size_t>(i)] = c;
    }
    return table;
}

constexpr auto kCrc8Table = makeCrc8Table();

}  // namespace

std::uint8_t crc8(std::string_view data, std::uint8_t seed) {
    std::uint8_t crc = seed;
    for (unsigned char byte : data)
        crc = kCrc8Table[crc ^ byte];
    return crc;
}

std::uint16_t crc16(std::string_view data) {
    std::uint16_t crc = 0xFFFF;
    for (unsigned char byte : data) {
        crc = static_cast<std::uint16_t>(crc ^ (byte << 8));
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : (crc << 1));
    }
    return crc;
}

}  // namespace zev485::wire
