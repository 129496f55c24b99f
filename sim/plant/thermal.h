// Physics of the heated zones: one lumped heater body per zone (a nozzle with its
// heater), its thermocouple with a small lag, losses to the mould and ambient, and
// heat flow between neighbouring channels of one controller. All in degrees Celsius.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace zevsim {

constexpr double kMainsVoltage = 230.0;
constexpr double kSensorLagSeconds = 3.0;   // thermocouple in its bore
constexpr double kNeighbourCoupling = 0.04; // W/K between adjacent nozzles

struct HeaterBody {
    double ratedPower = 400.0;  // W at full output
    double capacity = 250.0;    // J/K
    double loss = 0.7;          // W/K to mould and ambient
    double temperature = 25.0;  // heater body
    double sensor = 25.0;       // where the thermocouple sits (lags the body)

    double resistance() const { return kMainsVoltage * kMainsVoltage / ratedPower; }
    double onCurrent() const { return kMainsVoltage / resistance(); }  // A while conducting
};

// A nozzle of its own size for each zone, derived from its position with a fixed
// seed: 350..500 W, a time constant of 300..420 s and an equilibrium about 600 K
// above ambient at full power, so that 25 to 250 degrees take two to three minutes.
HeaterBody makeHeater(int address, int channel, double ambient);

// Advances every body by dt seconds. power[i] is the electrical power into body i;
// neighbours lists pairs of body indexes that exchange heat.
void integrateHeat(std::vector<HeaterBody>& bodies, const std::vector<double>& power,
                   const std::vector<std::pair<int, int>>& neighbours, double ambient, double dt);

// Small deterministic generator for measurement noise (no global state).
class NoiseSource {
public:
    explicit NoiseSource(std::uint64_t seed) : state_(seed ? seed : 1) {}
    double uniform();  // -1 .. 1
private:
    std::uint64_t state_;
};

std::uint64_t mix64(std::uint64_t x);

}  // namespace zevsim
