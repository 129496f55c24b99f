// Identification of the controllers on the line and the zone table built from
// them; online/offline preparation; the unit and driver-number check.
#pragma once

namespace zev {

struct AppContext;

// Finds the controllers (addresses from 1 without gaps), numbers their zones,
// compares the wiring with the tool's SETTINGS.INI (storing it when the operator
// confirms), loads the driver file and switches the cyclic scan on (through
// the link session, ctx.link).
void IdentifyZEV(AppContext& ctx);
// Temperature unit of all controllers and their driver numbers (message 0x407).
void ZEV_ReliabilityCheck(AppContext& ctx);

}  // namespace zev
