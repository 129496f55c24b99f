// The one table of the simulated controller families: zone parameters 1..28 and
// global parameters with their names, limits and defaults. The plant takes its
// limits and defaults from here and the driver files in data/DRIVER are written
// from the same values (driver_file.h), so the two cannot drift apart.
#pragma once

#include "units.h"

#include <array>
#include <string>
#include <vector>

namespace zevsim {

constexpr int kZoneParameterCount = 28;
constexpr int kAbsentLimit = -2;  // min = max = -2: the family has no such parameter

// Zone parameter numbers the model acts on (the same in every family).
namespace param {
constexpr int Ramp = 1;               // setpoint ramp, degrees per minute, 0 = off
constexpr int ProportionalBand = 2;   // Xp, degrees
constexpr int IntegralTime = 3;       // Tn, seconds, 0 = no integral action
constexpr int DerivativeTime = 4;     // Tv, seconds
constexpr int OutputLimit = 5;        // percent
constexpr int DeviationHigh = 6;      // +DEV band, degrees above the setpoint
constexpr int DeviationLow = 7;       // -DEV band, degrees below the setpoint
constexpr int AlarmHigh = 8;          // temperature H band
constexpr int AlarmLow = 9;           // temperature L band
constexpr int SetpointMax = 10;       // highest setpoint accepted
constexpr int SensorType = 11;        // read-only, 0 = type J
constexpr int NominalCurrent = 12;    // 0.1 A, 0 = learn at self-tuning
constexpr int CurrentTolerance = 13;  // percent of the nominal current
constexpr int SoftStart = 14;         // 1: output limited below the soft-start temperature
constexpr int ActualOffset = 15;      // degrees added to the measured value
constexpr int ActualFilter = 16;      // seconds, first-order filter of the measured value
constexpr int SensorBreakOutput = 17; // percent held after a sensor break (auto power off)
constexpr int OutputTolerance = 18;   // percent, 0 = no output rate supervision
constexpr int OutputReference = 19;   // percent, 0 = learn once settled
constexpr int LeakageSupervision = 20;// 1 on
constexpr int CurrentSupervision = 21;// 1 on, 0 off
constexpr int CurrentMax = 22;        // 0.1 A, 0 = off
constexpr int CurrentMin = 23;        // 0.1 A, 0 = off
constexpr int MonitorZone = 24;       // 1: the zone only measures
constexpr int HeaterPower = 25;       // read-only, watts from the last measured current
constexpr int ChannelNumber = 26;     // read-only, the channel itself
}  // namespace param

struct ZoneParameterDef {
    const char* nameDe = "Reserve";  // UTF-8
    const char* nameEn = "Reserve";
    int min = kAbsentLimit;
    int max = kAbsentLimit;
    int defaultCelsius = 0;   // default of a Celsius controller; converted for Fahrenheit
    Quantity quantity = Quantity::Plain;

    bool present() const { return !(min == kAbsentLimit && max == kAbsentLimit); }
    bool writable() const { return present() && min != max; }
};

struct GlobalParameterDef {
    const char* code = "";    // bus mnemonic without the leading '?', e.g. "HIW"
    const char* nameDe = "";
    const char* nameEn = "";
    int min = 0;
    int max = 0;
    int defaultCelsius = 0;
    Quantity quantity = Quantity::Plain;
    bool stored = true;       // false: the value comes from the device itself (unit, channels)

    bool writable() const { return min != max; }
};

struct InfoRow {
    const char* captionDe = "";
    const char* captionEn = "";
    const char* textDe = "";
    const char* textEn = "";
};

// Which driver files a family ships: one per language, or one for all.
enum class DriverLanguages { GermanAndEnglish, Neutral };

struct ControllerFamily {
    int az = 0;
    const char* title = "";   // family name written into the driver file's comment line
    bool boost = true;        // false: "@X","NOBOOST"
    DriverLanguages languages = DriverLanguages::GermanAndEnglish;
    std::array<ZoneParameterDef, kZoneParameterCount> zone;  // index p - 1
    std::vector<GlobalParameterDef> globals;
    std::vector<InfoRow> infos;

    const ZoneParameterDef& parameter(int p) const { return zone.at(static_cast<size_t>(p - 1)); }
    const GlobalParameterDef* global(const std::string& code) const;
};

// The number of the zone parameter that marks a monitor zone (the driver files' MC_param).
constexpr int kMonitorZoneParameter = param::MonitorZone;

// Every family the simulator knows, in driver-number order.
const std::vector<ControllerFamily>& controllerFamilies();

// The family of a driver number; an unknown number behaves like the 16-channel family (AZ 12).
const ControllerFamily& familyFor(int az);
bool knownFamily(int az);

// Default of a zone or global parameter for a controller in the given unit,
// rounded and kept inside the limits.
int defaultFor(const ZoneParameterDef& def, bool fahrenheit);
int defaultFor(const GlobalParameterDef& def, bool fahrenheit);

}  // namespace zevsim
