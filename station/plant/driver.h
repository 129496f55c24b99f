// What the driver file tells about the controllers' parameters: the zone
// parameters 1..28, the global parameters with their codes and levels, the
// information rows and the flags. The parameter view adds the per-zone values.
#pragma once

#include "plant/zone_table.h"

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace zev {

using ZoneValues = std::array<std::int16_t, kMaxZones + 1>;
// Every zone without a value: nothing has been read or wanted yet.
constexpr ZoneValues noZoneValues() {
    ZoneValues v{};
    v.fill(static_cast<std::int16_t>(kNoValue));
    return v;
}

struct ZoneParameter {
    QString Name;
    std::int16_t Min = 0;
    std::int16_t Max = 0;
    std::int16_t Reserved1 = 0;  // kept with the record; the station does not use them
    std::int16_t Reserved2 = 0;
    ZoneValues Value = noZoneValues();   // per zone 1..270; kNoValue = none
    ZoneValues Target = noZoneValues();  // what a recipe wants; kNoValue = none
    bool Writable = false;       // Min differs from Max
};

struct GlobalParameter {
    QString Name;
    std::int16_t Min = 0;
    std::int16_t Max = 0;
    QString Code;                // mnemonic: "G" + address + Code + "="
    std::int16_t Value = kNoValue;
    std::int16_t Target = kNoValue;
    std::uint8_t Level = 0;      // user level needed to edit it (cmd.ini)
    bool Writable = false;
};

struct DriverInfo {
    QString Caption;
    QString Text;
};

constexpr int kZoneParameterCount = 28;

struct DriverData {
    std::array<ZoneParameter, kZoneParameterCount + 1> ZoneParameters{};  // 1..28
    std::vector<GlobalParameter> GlobalParameters;  // file order
    std::vector<DriverInfo> DriverInfos;
    bool DriverLoaded = false;   // at least one "@Z" record was read
    bool NoBoost = false;
    int MonitorZoneParam = 0;
    QString file;                // the driver file loaded (empty: none)
};

}  // namespace zev
