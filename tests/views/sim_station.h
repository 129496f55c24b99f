// A station context on the in-process simulator for the overview's tests: the
// tool loaded, the controllers identified, every zone in control mode at a
// setpoint and heated up, and the zone values taken in as the main cycle's
// reading pass takes them.
#pragma once

#include "sim_bench.h"

namespace zev::test {

// Identifies the controllers of `bus`, sets every zone to control mode at
// `setpoint` and lets the plant heat up. False when identification failed.
bool identifyAndHeat(TestContext& tc, zevsim::InProcessBus& bus, int setpoint = 220);
// Values of every zone from the library into the zone table.
void readZones(AppContext& ctx);
// Waits for a fresh scan and reads the zones; false when no scan completed.
bool scanAndRead(AppContext& ctx, zevsim::InProcessBus& bus);

}  // namespace zev::test
