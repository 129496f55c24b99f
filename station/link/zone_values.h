// Zone values: every read through myGetValue. Reading the status word decodes
// it into the zone's mode, tuning state and displayed status. Writes go
// through the zone commands (link/zone_commands.h), which alone update the
// zone table after an accepted write.
#pragma once

#include <cstdint>
#include <optional>

namespace zev {

struct AppContext;
struct ZoneRecord;
class Texts;

// Value codes of the zone values, read with myGetValue and written with the
// zone commands (zone parameters 1..28 are their own codes).
namespace ValueCode {
constexpr int Setpoint = 0;
constexpr int FirstZoneParameter = 1;
constexpr int LastZoneParameter = 28;
constexpr int ActualValue = 1000;
constexpr int StatusWord = 2000;
constexpr int Mode = 2001;
constexpr int Tuning = 2002;
constexpr int TuningAck = 2003;
constexpr int OutputRate = 3000;
constexpr int Current = 4000;  // tenths of an ampere
}  // namespace ValueCode

// The zone's value of a code from the library (codes 1..99 ask the controller).
std::int32_t myGetValue(AppContext& ctx, int zone, int code);
// The status word like myGetValue(zone, 2000), or nothing while the library has
// not read the zone's controller yet (no value, and no complete scan since the
// scan began anew): such a zone is not yet known, which is no failure; the zone
// is left as it is.
std::optional<std::int32_t> statusIfRead(AppContext& ctx, int zone);
// Decodes a status word read from the library into the zone (s < 0: no answer).
void decodeStatus(ZoneRecord& zone, std::int32_t s, Texts& texts);

}  // namespace zev
