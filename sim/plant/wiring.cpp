#include "wiring.h"

#include <numeric>
#include <utility>

namespace zevsim {

namespace {

struct NamedFault {
    FaultKind kind;
    const char* name;
};

constexpr NamedFault kNames[] = {
    {FaultKind::BrokenSensor, "broken-sensor"},   {FaultKind::ShortedSensor, "shorted-sensor"},
    {FaultKind::ReversedSensor, "reversed-sensor"}, {FaultKind::ShortedTriac, "shorted-triac"},
    {FaultKind::CrossedHeaters, "crossed-heaters"}, {FaultKind::CrossedSensors, "crossed-sensors"},
    {FaultKind::HeaterOpen, "heater-open"},       {FaultKind::ControllerSilent, "silent"},
    {FaultKind::GarbledReplies, "garbled"},       {FaultKind::LeakageCurrent, "leakage"},
};

}  // namespace

bool isCrossedFault(FaultKind kind) {
    return kind == FaultKind::CrossedHeaters || kind == FaultKind::CrossedSensors;
}

bool isControllerFault(FaultKind kind) {
    return kind == FaultKind::ControllerSilent || kind == FaultKind::GarbledReplies;
}

bool faultMatches(const Fault& active, const Fault& request) {
    if (active.kind != request.kind) return false;
    if (isControllerFault(active.kind)) return active.address == request.address;
    const auto zone = std::make_pair(request.address, request.channel);
    const auto one = std::make_pair(active.address, active.channel);
    if (!isCrossedFault(active.kind)) return one == zone;
    const auto two = std::make_pair(active.partnerAddress, active.partnerChannel);
    if (request.partnerAddress == 0 && request.partnerChannel == 0) return one == zone || two == zone;
    const auto partner = std::make_pair(request.partnerAddress, request.partnerChannel);
    return (one == zone && two == partner) || (one == partner && two == zone);
}

Wiring buildWiring(const std::vector<Fault>& faults, int zoneCount, int controllerCount,
                   const std::function<int(int, int)>& zoneIndex) {
    Wiring w;
    const auto n = static_cast<size_t>(zoneCount);
    w.heaterOfStage.resize(n);
    w.sensorOfChannel.resize(n);
    std::iota(w.heaterOfStage.begin(), w.heaterOfStage.end(), 0);
    std::iota(w.sensorOfChannel.begin(), w.sensorOfChannel.end(), 0);
    for (auto* v : {&w.triacShorted, &w.heaterOpen, &w.leakage, &w.sensorBroken, &w.sensorShorted,
                    &w.sensorReversed})
        v->assign(n, 0);
    w.silent.assign(static_cast<size_t>(controllerCount), 0);
    w.garbled.assign(static_cast<size_t>(controllerCount), 0);

    // Crossings are applied in injection order, so several of them on one zone
    // chain the way the cables would.
    for (const auto& f : faults) {
        if (isControllerFault(f.kind)) {
            if (f.address < 1 || f.address > controllerCount) continue;
            auto& flags = f.kind == FaultKind::ControllerSilent ? w.silent : w.garbled;
            flags[static_cast<size_t>(f.address - 1)] = 1;
            continue;
        }
        const int z = zoneIndex(f.address, f.channel);
        if (z < 0) continue;
        const auto i = static_cast<size_t>(z);
        switch (f.kind) {
        case FaultKind::BrokenSensor: w.sensorBroken[i] = 1; break;
        case FaultKind::ShortedSensor: w.sensorShorted[i] = 1; break;
        case FaultKind::ReversedSensor: w.sensorReversed[i] = 1; break;
        case FaultKind::ShortedTriac: w.triacShorted[i] = 1; break;
        case FaultKind::HeaterOpen: w.heaterOpen[i] = 1; break;
        case FaultKind::LeakageCurrent: w.leakage[i] = 1; break;
        case FaultKind::CrossedHeaters:
        case FaultKind::CrossedSensors: {
            const int p = zoneIndex(f.partnerAddress, f.partnerChannel);
            if (p < 0 || p == z) break;
            auto& map = f.kind == FaultKind::CrossedHeaters ? w.heaterOfStage : w.sensorOfChannel;
            std::swap(map[i], map[static_cast<size_t>(p)]);
            break;
        }
        case FaultKind::ControllerSilent:
        case FaultKind::GarbledReplies: break;
        }
    }
    return w;
}

const char* faultName(FaultKind kind) {
    for (const auto& n : kNames)
        if (n.kind == kind) return n.name;
    return "?";
}

std::optional<FaultKind> faultKindFromName(const std::string& name) {
    for (const auto& n : kNames)
        if (name == n.name) return n.kind;
    return std::nullopt;
}

const std::vector<FaultKind>& allFaultKinds() {
    static const std::vector<FaultKind> kinds = [] {
        std::vector<FaultKind> k;
        for (const auto& n : kNames) k.push_back(n.kind);
        return k;
    }();
    return kinds;
}

}  // namespace zevsim
