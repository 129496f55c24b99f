// Carrying out scenario actions on a plant, at once or on schedule.
#include "scenario.h"

#include "wiring.h"

#include <algorithm>
#include <functional>

namespace zevsim {

namespace {

std::string zoneText(int a, int c) { return std::to_string(a) + "." + std::to_string(c); }

// Every (address, channel) a selector names in this plant.
std::vector<std::pair<int, int>> zonesOf(const Plant& plant, const ZoneSelector& sel) {
    std::vector<std::pair<int, int>> out;
    const int first = sel.address > 0 ? sel.address : 1;
    const int last = sel.address > 0 ? sel.address : plant.controllerCount();
    for (int a = first; a <= last; ++a) {
        const int channels = plant.config(a).channels;
        if (sel.channel > 0) {
            if (sel.channel <= channels) out.emplace_back(a, sel.channel);
        } else {
            for (int c = 1; c <= channels; ++c) out.emplace_back(a, c);
        }
    }
    return out;
}

std::vector<int> controllersOf(const Plant& plant, const ZoneSelector& sel) {
    std::vector<int> out;
    if (sel.address > 0) {
        if (plant.present(sel.address)) out.push_back(sel.address);
        return out;
    }
    for (int a = 1; a <= plant.controllerCount(); ++a) out.push_back(a);
    return out;
}

class Collector {
public:
    explicit Collector(int line) : line_(line) {}

    void noTarget() { warnings_.push_back({line_, ScenarioIssue::NoSuchTarget, "no such controller or zone in the plant"}); }

    // Runs write on every target and reports those the plant refused, in one warning.
    template <typename Target>
    void run(const std::vector<Target>& targets, const std::function<bool(const Target&)>& write,
             const std::function<std::string(const Target&)>& name) {
        if (targets.empty()) {
            noTarget();
            return;
        }
        std::string refused;
        int count = 0;
        for (const auto& t : targets) {
            if (write(t)) continue;
            if (++count <= 8) refused += (refused.empty() ? "" : " ") + name(t);
        }
        if (count > 8) refused += " and " + std::to_string(count - 8) + " more";
        if (count > 0) warnings_.push_back({line_, ScenarioIssue::Refused, "refused for " + refused});
    }

    std::vector<ScenarioWarning> take() { return std::move(warnings_); }

private:
    int line_;
    std::vector<ScenarioWarning> warnings_;
};

using ZoneTarget = std::pair<int, int>;

}  // namespace

std::vector<ScenarioWarning> applyScenarioAction(Plant& plant, const ScenarioAction& action, int line) {
    Collector out(line);
    const auto zones = [&] { return zonesOf(plant, action.zone); };
    const auto controllers = [&] { return controllersOf(plant, action.zone); };
    const std::function<std::string(const ZoneTarget&)> zoneName = [](const ZoneTarget& z) {
        return zoneText(z.first, z.second);
    };
    const std::function<std::string(const int&)> controllerName = [](const int& a) { return std::to_string(a); };
    const auto onZones = [&](const std::function<bool(int, int)>& write) {
        out.run<ZoneTarget>(zones(), [&](const ZoneTarget& z) { return write(z.first, z.second); }, zoneName);
    };
    const auto onControllers = [&](const std::function<bool(int)>& write) {
        out.run<int>(controllers(), [&](const int& a) { return write(a); }, controllerName);
    };

    switch (action.command) {
    case ScenarioCommand::Fault:
    case ScenarioCommand::Clear: {
        const bool inject = action.command == ScenarioCommand::Fault;
        const auto apply = [&](Fault f) { return inject ? plant.inject(f) : plant.clear(f); };
        if (isControllerFault(action.fault)) {
            onControllers([&](int a) { return apply(Fault{action.fault, a, 0, 0, 0}); });
        } else {
            onZones([&](int a, int c) {
                return apply(Fault{action.fault, a, c, action.partner.address, action.partner.channel});
            });
        }
        break;
    }
    case ScenarioCommand::ClearAll: plant.clearAllFaults(); break;
    case ScenarioCommand::Setpoint:
        onZones([&](int a, int c) { return plant.setSetpoint(a, c, static_cast<int>(action.value)); });
        break;
    case ScenarioCommand::Mode:
        onZones([&](int a, int c) { return plant.setMode(a, c, static_cast<int>(action.value)); });
        break;
    case ScenarioCommand::Output:
        onZones([&](int a, int c) { return plant.setOutput(a, c, static_cast<int>(action.value)); });
        break;
    case ScenarioCommand::Tuning:
        onZones([&](int a, int c) { return plant.setTuning(a, c, action.value != 0); });
        break;
    case ScenarioCommand::Acknowledge:
        onZones([&](int a, int c) { return plant.ackTuningFault(a, c); });
        break;
    case ScenarioCommand::Parameter:
        onZones([&](int a, int c) {
            return plant.setZoneParameter(a, c, action.number, static_cast<int>(action.value));
        });
        break;
    case ScenarioCommand::Temperature:
        onZones([&](int a, int c) {
            plant.setActual(a, c, static_cast<int>(action.value));
            return true;
        });
        break;
    case ScenarioCommand::Outputs:
        onControllers([&](int a) { return plant.writeGlobal(a, "ENA", action.value); });
        break;
    case ScenarioCommand::Global:
        onControllers([&](int a) { return plant.writeGlobal(a, action.code, action.value); });
        break;
    case ScenarioCommand::Restart:
        onControllers([&](int a) {
            plant.restart(a);
            return true;
        });
        break;
    case ScenarioCommand::Defaults:
        onControllers([&](int a) {
            plant.factoryDefaults(a);
            return true;
        });
        break;
    case ScenarioCommand::Ambient: plant.setAmbient(action.amount); break;
    case ScenarioCommand::Noise: plant.setNoise(action.amount); break;
    case ScenarioCommand::Clock: plant.setClock(static_cast<std::int32_t>(action.value)); break;
    }
    return out.take();
}

std::vector<ScenarioWarning> applyScenarioLine(Plant& plant, std::string_view line, int lineNumber) {
    auto parsed = parseScenarioLine(line, lineNumber);
    if (parsed.warning) return {*parsed.warning};
    if (parsed.at)
        return {{lineNumber, ScenarioIssue::BadTime, "a timed event belongs in a scenario file, not a live command"}};
    if (!parsed.action) return {};
    return applyScenarioAction(plant, *parsed.action, lineNumber);
}

// --- ScenarioPlayer ---------------------------------------------------------------------

ScenarioPlayer::ScenarioPlayer(std::vector<ScenarioEvent> events, double startTime)
    : events_(std::move(events)), start_(startTime) {
    std::stable_sort(events_.begin(), events_.end(),
                     [](const ScenarioEvent& a, const ScenarioEvent& b) { return a.time < b.time; });
}

std::optional<double> ScenarioPlayer::nextTime() const {
    if (finished()) return std::nullopt;
    return start_ + events_[next_].time;
}

std::vector<ScenarioWarning> ScenarioPlayer::runDue(Plant& plant) {
    std::vector<ScenarioWarning> warnings;
    // A little slack: plant time is a sum of steps and may miss an event by rounding.
    const double now = plant.time() + 1e-6;
    while (!finished() && start_ + events_[next_].time <= now) {
        const auto& e = events_[next_++];
        auto w = applyScenarioAction(plant, e.action, e.line);
        warnings.insert(warnings.end(), w.begin(), w.end());
    }
    return warnings;
}

std::vector<ScenarioWarning> ScenarioPlayer::advance(Plant& plant, double seconds) {
    std::vector<ScenarioWarning> warnings;
    const double end = plant.time() + (seconds > 0.0 ? seconds : 0.0);
    for (;;) {
        auto w = runDue(plant);
        warnings.insert(warnings.end(), w.begin(), w.end());
        const double now = plant.time();
        if (now >= end - 1e-9) break;
        // After runDue the next event lies ahead, so every round moves time on.
        const double target = std::min(end, nextTime().value_or(end));
        plant.advance(target - now);
    }
    return warnings;
}

}  // namespace zevsim
