// Sizes and named constants shared by the parts of the bus library.
#pragma once

#include "zev485.h"

#include <chrono>
#include <cstdint>

namespace zev485 {

inline constexpr int kMaxAddress = 99;   // two address digits on the line
inline constexpr int kMaxChannels = 32;  // channels of one controller
inline constexpr int kLogZones = 270;    // zones in a day-file record
inline constexpr std::int32_t kNoValue = -10024;

// Status word of a controller whose telegrams fail, by cause (all negative).
inline constexpr std::int32_t kStatusNoAnswer = -1;
inline constexpr std::int32_t kStatusDamaged = -2;
inline constexpr std::int32_t kStatusRefused = -3;

// Results of the writing calls and the status of ZEV485_Ask: the public
// ZEV485_Result of zev485.h under the library's own names.
enum ResultCode : std::int16_t {
    kResultOk = ZEV485_OK,
    kResultRefused = ZEV485_REFUSED,
    kResultNoAnswer = ZEV485_NO_ANSWER,
    kResultDamaged = ZEV485_DAMAGED,
    kResultPortClosed = ZEV485_PORT_CLOSED,
    kResultBadArgument = ZEV485_BAD_ARGUMENT,
};

// Line timing.
inline constexpr int kDefaultTimeoutMs = 200;
inline constexpr int kMinTimeoutMs = 10;
inline constexpr int kMaxTimeoutMs = 10000;
inline constexpr int kMaxRetries = 10;
inline constexpr int kTurnaroundBytes = 3;     // idle line before a transmission
inline constexpr int kInterByteGapBytes = 10;  // a reply may pause this long
inline constexpr std::chrono::milliseconds kMinInterByteGap{20};
// Inside a reply, wait for this many bytes to gather before reading again:
// fewer wake-ups of the scan thread for a little later end of each telegram.
inline constexpr int kReadBatchBytes = 6;

// Cyclic scan.
inline constexpr std::chrono::milliseconds kMinScanPeriod{20};
inline constexpr std::chrono::seconds kFailedPortScanPeriod{1};

}  // namespace zev485
