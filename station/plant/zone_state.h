// Rules on one zone that the cycle, the views and the commands share.
#pragma once

#include <QString>

namespace zev {

struct ZoneRecord;

// The setpoint that means "switched off" in the installation's unit: 0 °C, or
// 32 °F (the same temperature).
int switchedOffSetpoint(const QString& temperatureUnit);

// A zone is switched off when its setpoint is that of the unit. A setpoint
// never read (the no-value marker) is not "switched off".
bool isSwitchedOff(const ZoneRecord& zone, const QString& temperatureUnit);

// A zone takes part in the alarm watch when it is in manual, control or the
// monitor state and is not switched off; a measuring monitor zone takes part
// even at the switched-off setpoint.
bool isWatched(const ZoneRecord& zone, const QString& temperatureUnit);

// The zone's setpoint lies above the switched-off point.
bool isAboveSwitchedOff(const ZoneRecord& zone, const QString& temperatureUnit);

}  // namespace zev
