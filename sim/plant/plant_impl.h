// Inside of zevsim::Plant, shared by plant.cpp (the public calls) and
// plant_step.cpp (one step of the model). Every member is guarded by `mutex`.
#pragma once

#include "plant.h"
#include "thermal.h"
#include "wiring.h"
#include "zone.h"

#include <mutex>
#include <utility>
#include <vector>

namespace zevsim {

constexpr double kStepSeconds = 0.1;      // controller cycle and integration step
constexpr double kDryingSeconds = 120.0;  // above kDryingTemperature to dry a moist heater
constexpr double kDryingTemperature = 100.0;
constexpr double kDefaultNoise = 0.2;     // kelvin, about the peak
constexpr double kNoiseSeconds = 2.0;     // time constant of the noise
constexpr double kNoiseGain = 6.0;        // white-noise scale giving that peak after the filter
constexpr int kMaxControllers = 27;
constexpr int kMaxChannels = 32;
constexpr int kMaxZones = 270;

struct ControllerUnit {
    ControllerConfig config;
    const ControllerFamily* family = nullptr;
    int master = 1;        // bus address of the master (itself for a master)
    int firstZone = 0;     // index of channel 1 in the zone vectors
    Cabinet cabinet;       // used on masters only; slaves share their master's
};

struct Plant::Impl {
    mutable std::mutex mutex;

    std::vector<ControllerUnit> controllers;  // index = address - 1
    std::vector<Zone> zones;                  // all channels, controller by controller
    std::vector<int> zoneAddress;             // zone index -> bus address
    std::vector<HeaterBody> bodies;           // one per zone, same index
    std::vector<std::pair<int, int>> neighbours;
    std::vector<double> noise;                // per zone, drawn each step
    std::vector<double> moisture;             // per heater, 0 = dry
    std::vector<OutputMeasurement> electrical;  // per output stage, last step
    std::vector<double> power;                // per heater, last step

    std::vector<Fault> faults;                // active, in injection order
    Wiring wiring;

    double ambient = 25.0;
    double noiseAmplitude = kDefaultNoise;
    NoiseSource random{0x5A5A'2EED'0001ull};

    long long steps = 0;
    double pending = 0.0;                     // advanced but not yet stepped
    std::int32_t clockBase = 0;
    double clockSetAt = 0.0;

    explicit Impl(std::vector<ControllerConfig> configs);

    // Lookup; -1 or nullptr when the address or channel does not exist.
    int zoneIndex(int address, int channel) const;
    ControllerUnit* unit(int address);
    const ControllerUnit* unit(int address) const;
    Cabinet& cabinetOf(int address);
    const Cabinet& cabinetOf(int address) const;
    Cabinet& cabinetOfZone(int zone) { return cabinetOf(zoneAddress[static_cast<size_t>(zone)]); }

    double now() const { return static_cast<double>(steps) * kStepSeconds + pending; }

    // Runs a write on one zone; the status follows at once when it is accepted.
    template <typename Write>
    bool writeZone(int address, int channel, Write write) {
        std::lock_guard lock(mutex);
        const int z = zoneIndex(address, channel);
        if (z < 0) return false;
        const bool accepted = write(zones[static_cast<size_t>(z)]);
        if (accepted) refresh();
        return accepted;
    }

    void step(double dt);          // plant_step.cpp
    void refresh();                // status after a write, without time passing
    void rewire();
    void restartController(int address, bool defaults);

private:
    void measureAll(double dt);
    void updateTrips();
    void controlAll(double dt);
    void electricalAll();
    void superviseAll(double dt);
    void dryHeaters(double dt);
};

}  // namespace zevsim
