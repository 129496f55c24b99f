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
// True when the zone table's wiring, as the active tool stores it, is exactly
// that of the controllers identified last and they still answer with the same
// channels (and nobody behind them): a tool change then needs no new
// identification. A tool wired on another line never matches.
bool WiringMatchesLine(AppContext& ctx);
// Temperature unit of all controllers and their driver numbers (message 0x407).
void ZEV_ReliabilityCheck(AppContext& ctx);

}  // namespace zev
