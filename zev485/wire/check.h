// Check values of the wire protocol: CRC-8 over a frame body (sent as two hex
// characters) and CRC-16 over the payload of a block reply.
#pragma once

#include <cstdint>
#include <string_view>

namespace zev485::wire {

// CRC-8, polynomial x^8+x^2+x+1 (0x07), not reflected, no final XOR.
std::uint8_t crc8(std::string_view data, std::uint8_t seed);

// CRC-16, polynomial 0x1021, initial value 0xFFFF, not reflected.
std::uint16_t crc16(std::string_view data);

}  // namespace zev485::wire
