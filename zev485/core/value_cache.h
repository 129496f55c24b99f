// Latest values of every controller, as the cyclic scan read them. A value is
// never guessed: a controller not read yet gives -10024 for every kind, one whose
// telegrams fail gives a negative status word (by cause) and -10024 otherwise.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <utility>
#include <vector>

#include "bus_constants.h"
#include "wire/block.h"

namespace zev485 {

enum class ControllerState { NotRead, Valid, NoAnswer, Damaged, Refused };

// Value kinds of ZEV485_GetVal.
enum ValueKind {
    kKindSetpoint = 1,
    kKindActual = 2,
    kKindStatus = 3,
    kKindOutput = 4,
    kKindCurrent = 5,
    kKindOutputsOn = 6,
};

class ValueCache {
public:
    void store(int address, const wire::Block& block);
    void fail(int address, ControllerState cause);
    void clear(int address);
    void clearAll();
    // A write the controller acknowledged (setpoint or output) before the next scan reads it.
    void patch(int address, int channel, int kind, std::int16_t value);

    std::int32_t value(int address, int channel, int kind) const;
    ControllerState state(int address) const;
    // The last block of a controller with valid values; false otherwise.
    bool block(int address, wire::Block& out) const;
    // The zone entries of a day-file record; -10024 in every field of a zone
    // whose controller has no valid values.
    void fillRecord(const std::vector<std::pair<int, int>>& zones,
                    std::vector<wire::ZoneSample>& out) const;

private:
    static bool valid(int address) { return address >= 1 && address <= kMaxAddress; }
    struct Entry {
        ControllerState state = ControllerState::NotRead;
        wire::Block block;
    };
    mutable std::mutex mutex_;
    std::array<Entry, kMaxAddress + 1> entries_{};
};

wire::ZoneSample noValueSample();

}  // namespace zev485
