#include "plant/zone_state.h"

#include "plant/zone_table.h"

namespace zev {

int switchedOffSetpoint(const QString& temperatureUnit) {
    return temperatureUnit == QStringLiteral("°F") ? 32 : 0;
}

bool isSwitchedOff(const ZoneRecord& zone, const QString& temperatureUnit) {
    return zone.Setpoint == switchedOffSetpoint(temperatureUnit);
}

bool isWatched(const ZoneRecord& zone, const QString& temperatureUnit) {
    return zone.Mode >= 1 && (!isSwitchedOff(zone, temperatureUnit) || zone.ModeFlag);
}

bool isAboveSwitchedOff(const ZoneRecord& zone, const QString& temperatureUnit) {
    return zone.Setpoint != kNoValue && zone.Setpoint > switchedOffSetpoint(temperatureUnit);
}

}  // namespace zev
