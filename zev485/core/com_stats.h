// Good and error telegram counts per bus address.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "bus_constants.h"

namespace zev485 {

class ComStats {
public:
    void countGood(int address);
    void countError(int address);
    void read(int address, std::int32_t& good, std::int32_t& errors) const;
    void reset();

private:
    static bool valid(int address) { return address >= 1 && address <= kMaxAddress; }
    std::array<std::atomic<std::int32_t>, kMaxAddress + 1> good_{};
    std::array<std::atomic<std::int32_t>, kMaxAddress + 1> errors_{};
};

}  // namespace zev485
