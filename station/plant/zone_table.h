// The central data of the station: the zone table and the controller table as
// identification builds them and the main cycle fills them.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace zev {

constexpr int kNoValue = -10024;   // 16-bit pattern 0xD8D8: not read or not available
constexpr int kMaxZones = 270;
constexpr int kMaxAddress = 27;    // bus addresses served by the library

struct ZoneRecord {
    std::uint8_t BusAddress = 0;   // owning controller ("485ADR"); 0 = zone not present
    std::uint8_t Channel = 0;      // channel in that controller ("485ZON"); 0 = not present
    QString Name;
    double AlarmSeconds = 0.0;     // cumulated time in fault
    std::uint8_t Group = 0;        // 0 = no group
    bool Selected = false;         // marked in the group editor
    std::int16_t ActualValue = kNoValue;
    std::int16_t Setpoint = kNoValue;
    std::int16_t OutputRate = kNoValue;
    QString CurrentText;           // Current formatted "####0.0"
    float Current = kNoValue;      // heater current in A
    std::int32_t StatusWord = kNoValue;
    std::uint8_t StatusCode = 0;   // priority of the shown status
    QString StatusShort;
    QString StatusText;
    std::uint8_t Mode = 0;         // 0 off, 1 manual, 2 control, 3 monitor measuring
    std::uint8_t TuneState = 0;    // 0 none, 1 tuning, 2 tuning fault
    std::int16_t PrevMode = 0;     // mode the parameter table or a recipe wants
    bool ModeFlag = false;         // monitor zone: measures only
};

struct ControllerRecord {
    std::uint8_t MasterAddress = 0;
    std::uint8_t Channels = 0;
    std::int16_t AZ = 0;           // driver number
    QString DeviceType;            // 9 characters
};

// Zones(1..270) and Controllers(1..) are 1-based as the program numbers them;
// element 0 is unused.
struct PlantData {
    std::array<ZoneRecord, kMaxZones + 1> Zones{};
    std::vector<ControllerRecord> Controllers{1};  // capacity grows during identification
    int ZoneCount = 0;
    int ControllerCount = 0;
    QString TemperatureUnit = QStringLiteral("°C");
    bool OutputsOn = false;

    ZoneRecord& zone(int n) { return Zones.at(static_cast<std::size_t>(n)); }
    const ZoneRecord& zone(int n) const { return Zones.at(static_cast<std::size_t>(n)); }
};

}  // namespace zev
