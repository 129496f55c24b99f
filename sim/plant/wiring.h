// What the active faults do to the wiring of the plant: which heater each output
// stage drives, which thermocouple each channel reads, and which parts are broken.
// Rebuilt whenever a fault is injected or cleared; the step only looks things up.
#pragma once

#include "plant.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zevsim {

struct Wiring {
    std::vector<int> heaterOfStage;     // zone index -> heater body index
    std::vector<int> sensorOfChannel;   // zone index -> thermocouple (body) index
    std::vector<std::uint8_t> triacShorted;    // per output stage
    std::vector<std::uint8_t> heaterOpen;      // per heater
    std::vector<std::uint8_t> leakage;         // per heater
    std::vector<std::uint8_t> sensorBroken;    // per thermocouple
    std::vector<std::uint8_t> sensorShorted;   // per thermocouple
    std::vector<std::uint8_t> sensorReversed;  // per thermocouple
    std::vector<std::uint8_t> silent;          // per controller (address - 1)
    std::vector<std::uint8_t> garbled;         // per controller
};

// zoneIndex maps (address, channel) to the zone index or -1.
Wiring buildWiring(const std::vector<Fault>& faults, int zoneCount, int controllerCount,
                   const std::function<int(int, int)>& zoneIndex);

// True when a request names an active fault: crossed faults match in either order,
// and a request without a partner zone matches every crossing of its zone.
bool faultMatches(const Fault& active, const Fault& request);

bool isCrossedFault(FaultKind kind);
bool isControllerFault(FaultKind kind);  // silent, garbled: the channel is not used

// Names used in scenario files and the simulator's control lines.
const char* faultName(FaultKind kind);
std::optional<FaultKind> faultKindFromName(const std::string& name);
const std::vector<FaultKind>& allFaultKinds();

}  // namespace zevsim
