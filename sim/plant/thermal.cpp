#include "thermal.h"

namespace zevsim {

std::uint64_t mix64(std::uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

double NoiseSource::uniform() {
    state_ = mix64(state_);
    return static_cast<double>(state_ >> 11) / static_cast<double>(1ull << 52) - 1.0;
}

HeaterBody makeHeater(int address, int channel, double ambient) {
    const std::uint64_t h = mix64(0x2EEDull * 1000003ull + static_cast<std::uint64_t>(address) * 64 +
                                  static_cast<std::uint64_t>(channel));
    const double u1 = static_cast<double>(h & 0xFFFF) / 65535.0;
    const double u2 = static_cast<double>((h >> 16) & 0xFFFF) / 65535.0;
    HeaterBody b;
    b.ratedPower = 350.0 + 150.0 * u1;
    b.loss = b.ratedPower / 600.0;
    const double timeConstant = 300.0 + 120.0 * u2;
    b.capacity = b.loss * timeConstant;
    b.temperature = ambient;
    b.sensor = ambient;
    return b;
}

void integrateHeat(std::vector<HeaterBody>& bodies, const std::vector<double>& power,
                   const std::vector<std::pair<int, int>>& neighbours, double ambient, double dt) {
    std::vector<double> flow(bodies.size(), 0.0);
    for (size_t i = 0; i < bodies.size(); ++i)
        flow[i] = power[i] - bodies[i].loss * (bodies[i].temperature - ambient);
    for (const auto& [a, b] : neighbours) {
        const double q = kNeighbourCoupling * (bodies[a].temperature - bodies[b].temperature);
        flow[a] -= q;
        flow[b] += q;
    }
    for (size_t i = 0; i < bodies.size(); ++i) {
        auto& body = bodies[i];
        body.temperature += flow[i] * dt / body.capacity;
        body.sensor += (body.temperature - body.sensor) * dt / (kSensorLagSeconds + dt);
    }
}

}  // namespace zevsim
