// The public face of the plant: structure, lookups and the calls of the protocol
// responder, each under the one mutex. The model itself is in plant_step.cpp
// (physics and sequence) and zone.cpp (a channel's firmware).
#include "plant_impl.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zevsim {

Plant::Impl::Impl(std::vector<ControllerConfig> configs) {
    if (configs.size() > static_cast<size_t>(kMaxControllers))
        throw std::invalid_argument("at most 27 controllers on one line");
    int total = 0;
    int master = 1;
    for (size_t i = 0; i < configs.size(); ++i) {
        const auto& cfg = configs[i];
        const int address = static_cast<int>(i) + 1;
        if (cfg.channels < 1 || cfg.channels > kMaxChannels)
            throw std::invalid_argument("controller " + std::to_string(address) + ": 1 to 32 channels");
        if (cfg.az < 0 || cfg.az > 9999)
            throw std::invalid_argument("controller " + std::to_string(address) + ": driver number 0 to 9999");
        if (!cfg.slave) master = address;
        ControllerUnit u;
        u.config = cfg;
        u.family = &familyFor(cfg.az);
        u.master = master;
        u.firstZone = total;
        for (const auto& g : u.family->globals) {
            if (std::string(g.code) == "HIW") u.cabinet.highLimit = defaultFor(g, cfg.fahrenheit);
            if (std::string(g.code) == "APM") u.cabinet.autoPower = defaultFor(g, cfg.fahrenheit) != 0;
        }
        for (int c = 1; c <= cfg.channels; ++c) {
            zones.emplace_back(c, *u.family, cfg.fahrenheit);
            zoneAddress.push_back(address);
            bodies.push_back(makeHeater(address, c, ambient));
            if (c > 1) neighbours.emplace_back(total + c - 2, total + c - 1);
        }
        total += cfg.channels;
        controllers.push_back(std::move(u));
    }
    noise.assign(zones.size(), 0.0);
    moisture.assign(zones.size(), 0.0);
    electrical.assign(zones.size(), OutputMeasurement{});
    power.assign(zones.size(), 0.0);
    rewire();
    refresh();
}

int Plant::Impl::zoneIndex(int address, int channel) const {
    const ControllerUnit* u = unit(address);
    if (!u || channel < 1 || channel > u->config.channels) return -1;
    return u->firstZone + channel - 1;
}

ControllerUnit* Plant::Impl::unit(int address) {
    if (address < 1 || address > static_cast<int>(controllers.size())) return nullptr;
    return &controllers[static_cast<size_t>(address - 1)];
}

const ControllerUnit* Plant::Impl::unit(int address) const {
    if (address < 1 || address > static_cast<int>(controllers.size())) return nullptr;
    return &controllers[static_cast<size_t>(address - 1)];
}

Cabinet& Plant::Impl::cabinetOf(int address) { return unit(unit(address)->master)->cabinet; }
const Cabinet& Plant::Impl::cabinetOf(int address) const { return unit(unit(address)->master)->cabinet; }

void Plant::Impl::rewire() {
    wiring = buildWiring(faults, static_cast<int>(zones.size()), static_cast<int>(controllers.size()),
                         [this](int a, int c) { return zoneIndex(a, c); });
}

// A master restarts (or loads its defaults) together with the slaves of its cabinet.
void Plant::Impl::restartController(int address, bool defaults) {
    ControllerUnit* u = unit(address);
    if (!u) return;
    for (auto& other : controllers) {
        const bool member = &other == u || (u->master == address && other.master == address);
        if (!member) continue;
        for (int c = 1; c <= other.config.channels; ++c) {
            Zone& zone = zones[static_cast<size_t>(other.firstZone + c - 1)];
            if (defaults) zone.factoryDefaults();
            else zone.restart();
        }
    }
    if (u->master != address) return;
    u->cabinet.tripped = false;
    if (!defaults) return;
    for (const auto& g : u->family->globals) {
        if (std::string(g.code) == "HIW") u->cabinet.highLimit = defaultFor(g, u->config.fahrenheit);
        if (std::string(g.code) == "APM") u->cabinet.autoPower = defaultFor(g, u->config.fahrenheit) != 0;
    }
}

// --- Plant ------------------------------------------------------------------------------

Plant::Plant(std::vector<ControllerConfig> controllers) : d(new Impl(std::move(controllers))) {}
Plant::~Plant() { delete d; }

int Plant::controllerCount() const {
    std::lock_guard lock(d->mutex);
    return static_cast<int>(d->controllers.size());
}

int Plant::zoneCount() const {
    std::lock_guard lock(d->mutex);
    return static_cast<int>(d->zones.size());
}

bool Plant::present(int address) const {
    std::lock_guard lock(d->mutex);
    return d->unit(address) != nullptr;
}

const ControllerConfig& Plant::config(int address) const {
    static const ControllerConfig none{0, false, 0, false, ""};
    std::lock_guard lock(d->mutex);
    const ControllerUnit* u = d->unit(address);
    return u ? u->config : none;  // configurations never change after construction
}

int Plant::masterOf(int address) const {
    std::lock_guard lock(d->mutex);
    const ControllerUnit* u = d->unit(address);
    return u ? u->master : 0;
}

// --- time -------------------------------------------------------------------------------

void Plant::advance(double seconds) {
    if (!(seconds > 0.0) || !std::isfinite(seconds)) return;
    {
        std::lock_guard lock(d->mutex);
        d->pending += seconds;
    }
    // One lock per step, so that the bus side never waits for a long advance.
    for (;;) {
        std::lock_guard lock(d->mutex);
        if (d->pending < kStepSeconds - 1e-9) break;
        d->pending -= kStepSeconds;
        if (d->pending < 1e-9) d->pending = 0.0;  // no rounding residue in time()
        d->step(kStepSeconds);
    }
}

double Plant::time() const {
    std::lock_guard lock(d->mutex);
    return d->now();
}

void Plant::setClock(std::int32_t secondsSinceMidnight) {
    std::lock_guard lock(d->mutex);
    d->clockBase = ((secondsSinceMidnight % 86400) + 86400) % 86400;
    d->clockSetAt = d->now();
}

std::int32_t Plant::clock() const {
    std::lock_guard lock(d->mutex);
    const auto elapsed = static_cast<long long>(std::floor(d->now() - d->clockSetAt));
    return static_cast<std::int32_t>((d->clockBase + elapsed) % 86400);
}

// --- zone values ------------------------------------------------------------------------

std::int16_t Plant::setpoint(int a, int c) const {
    std::lock_guard lock(d->mutex);
    const int z = d->zoneIndex(a, c);
    return static_cast<std::int16_t>(z < 0 ? kNoValue : d->zones[static_cast<size_t>(z)].setpoint());
}

std::int16_t Plant::actual(int a, int c) const {
    std::lock_guard lock(d->mutex);
    const int z = d->zoneIndex(a, c);
    return static_cast<std::int16_t>(z < 0 ? kNoValue : d->zones[static_cast<size_t>(z)].reading());
}

std::int32_t Plant::statusWord(int a, int c) const {
    std::lock_guard lock(d->mutex);
    const int z = d->zoneIndex(a, c);
    return z < 0 ? kNoValue : d->zones[static_cast<size_t>(z)].status();
}

std::int16_t Plant::output(int a, int c) const {
    std::lock_guard lock(d->mutex);
    const int z = d->zoneIndex(a, c);
    return static_cast<std::int16_t>(z < 0 ? kNoValue : d->zones[static_cast<size_t>(z)].output());
}

std::int16_t Plant::currentTenths(int a, int c) const {
    std::lock_guard lock(d->mutex);
    const int z = d->zoneIndex(a, c);
    return static_cast<std::int16_t>(z < 0 ? kNoValue : d->zones[static_cast<size_t>(z)].currentTenths());
}

bool Plant::outputsOn(int a) const {
    std::lock_guard lock(d->mutex);
    return d->unit(a) && d->cabinetOf(a).powered();
}

// --- zone writes ------------------------------------------------------------------------

bool Plant::setSetpoint(int a, int c, int value) {
    return d->writeZone(a, c, [&](Zone& z) { return z.setSetpoint(value); });
}

bool Plant::setZoneParameter(int a, int c, int p, int value) {
    return d->writeZone(a, c, [&](Zone& z) { return z.setParameter(p, value); });
}

bool Plant::setMode(int a, int c, int mode) {
    return d->writeZone(a, c, [&](Zone& z) { return z.setMode(mode); });
}

bool Plant::setTuning(int a, int c, bool on) {
    return d->writeZone(a, c, [&](Zone& z) { return z.setTuning(on); });
}

bool Plant::ackTuningFault(int a, int c) {
    return d->writeZone(a, c, [](Zone& z) {
        z.acknowledgeTuningFault();
        return true;
    });
}

bool Plant::setOutput(int a, int c, int percent) {
    return d->writeZone(a, c, [&](Zone& z) { return z.setOutput(percent); });
}

std::optional<int> Plant::zoneParameter(int a, int c, int p) const {
    std::lock_guard lock(d->mutex);
    const int z = d->zoneIndex(a, c);
    if (z < 0) return std::nullopt;
    return d->zones[static_cast<size_t>(z)].parameter(p);
}

// --- direct control ---------------------------------------------------------------------

void Plant::setActual(int a, int c, int degrees) {
    std::lock_guard lock(d->mutex);
    const int z = d->zoneIndex(a, c);
    if (z < 0) return;
    // Kept within what a heater body and a thermocouple can plausibly reach.
    const double celsius = std::clamp(
        toCelsius(degrees, d->controllers[static_cast<size_t>(a - 1)].config.fahrenheit, Quantity::Temperature),
        -50.0, 900.0);
    auto& body = d->bodies[static_cast<size_t>(z)];
    body.temperature = celsius;
    body.sensor = celsius;
    // The channel that reads this thermocouple follows without filter lag.
    for (size_t ch = 0; ch < d->zones.size(); ++ch)
        if (d->wiring.sensorOfChannel[ch] == z) d->zones[ch].forceFilter();
    d->refresh();
}

void Plant::setAmbient(double degrees) {
    if (!std::isfinite(degrees)) return;
    std::lock_guard lock(d->mutex);
    d->ambient = std::clamp(degrees, -40.0, 200.0);
    d->refresh();
}

double Plant::ambient() const {
    std::lock_guard lock(d->mutex);
    return d->ambient;
}

void Plant::setNoise(double kelvin) {
    if (!std::isfinite(kelvin)) return;
    std::lock_guard lock(d->mutex);
    d->noiseAmplitude = std::clamp(kelvin, 0.0, 5.0);
}

}  // namespace zevsim
