// One step of the plant: thermocouples are read, the main contactors checked,
// the controllers compute their outputs, the output stages feed the heaters and
// the supervision looks at the currents; then heat flows for dt seconds.
#include "plant_impl.h"

#include <algorithm>

namespace zevsim {

void Plant::Impl::step(double dt) {
    // Thermocouple noise is mostly slow (pick-up, junction turbulence): white noise
    // through a first-order filter, about noiseAmplitude peak.
    for (auto& n : noise) n += (kNoiseGain * noiseAmplitude * random.uniform() - n) * dt / kNoiseSeconds;
    measureAll(dt);
    updateTrips();
    controlAll(dt);
    electricalAll();
    superviseAll(dt);
    integrateHeat(bodies, power, neighbours, ambient, dt);
    dryHeaters(dt);
    ++steps;
}

void Plant::Impl::refresh() {
    for (auto& zone : zones) zone.syncCommand();
    measureAll(0.0);
    updateTrips();
    electricalAll();
    superviseAll(0.0);
}

void Plant::Impl::measureAll(double dt) {
    for (size_t z = 0; z < zones.size(); ++z) {
        const auto tc = static_cast<size_t>(wiring.sensorOfChannel[z]);
        SensorInput in;
        in.temperature = bodies[tc].sensor;
        in.coldJunction = ambient;
        in.broken = wiring.sensorBroken[tc] != 0;
        in.shorted = wiring.sensorShorted[tc] != 0;
        in.reversed = wiring.sensorReversed[tc] != 0;
        in.noise = noise[z];
        zones[z].measure(in, dt);
    }
}

// The high limit drops the main contactor of the cabinet of any zone that reaches
// it; the contactor stays off until the outputs are switched on again ("?ENA" 1)
// or the controller restarts.
void Plant::Impl::updateTrips() {
    for (size_t z = 0; z < zones.size(); ++z) {
        Cabinet& cabinet = cabinetOfZone(static_cast<int>(z));
        if (cabinet.highLimit > 0 && zones[z].readingValid() && zones[z].reading() >= cabinet.highLimit)
            cabinet.tripped = true;
    }
}

void Plant::Impl::controlAll(double dt) {
    for (size_t z = 0; z < zones.size(); ++z) zones[z].control(cabinetOfZone(static_cast<int>(z)), dt);
}

void Plant::Impl::electricalAll() {
    std::fill(power.begin(), power.end(), 0.0);
    for (size_t stage = 0; stage < zones.size(); ++stage) {
        const auto heater = static_cast<size_t>(wiring.heaterOfStage[stage]);
        const bool shorted = wiring.triacShorted[stage] != 0;
        const double command = zones[stage].commanded();
        OutputMeasurement m;
        m.conducting = cabinetOfZone(static_cast<int>(stage)).powered() && (shorted || command > 0.0);
        const bool intact = wiring.heaterOpen[heater] == 0;
        if (m.conducting && intact) {
            m.current = bodies[heater].onCurrent();
            power[heater] += bodies[heater].ratedPower * (shorted ? 1.0 : command / 100.0);
        }
        m.leakage = m.conducting && wiring.leakage[heater] != 0;
        electrical[stage] = m;
    }
}

void Plant::Impl::superviseAll(double dt) {
    for (size_t z = 0; z < zones.size(); ++z)
        zones[z].supervise(electrical[z], cabinetOfZone(static_cast<int>(z)), dt);
}

// A moist heater dries while it is hot; once dry its leakage fault ends by itself.
void Plant::Impl::dryHeaters(double dt) {
    bool dried = false;
    for (size_t h = 0; h < bodies.size(); ++h) {
        if (wiring.leakage[h] == 0) continue;
        if (bodies[h].temperature > kDryingTemperature) moisture[h] -= dt / kDryingSeconds;
        if (moisture[h] <= 0.0) {
            const int address = zoneAddress[h];
            const int channel = static_cast<int>(h) - controllers[static_cast<size_t>(address - 1)].firstZone + 1;
            std::erase_if(faults, [&](const Fault& f) {
                return f.kind == FaultKind::LeakageCurrent && f.address == address && f.channel == channel;
            });
            dried = true;
        }
    }
    if (dried) rewire();
}

}  // namespace zevsim
