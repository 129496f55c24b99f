#include "value_cache.h"

namespace zev485 {

wire::ZoneSample noValueSample() {
    constexpr auto nv = static_cast<std::int16_t>(kNoValue);
    return {nv, nv, kNoValue, nv, nv};
}

void ValueCache::store(int address, const wire::Block& block) {
    if (!valid(address))
        return;
    std::lock_guard lock(mutex_);
    Entry& e = entries_[static_cast<std::size_t>(address)];
    e.state = ControllerState::Valid;
    e.block = block;
}

void ValueCache::fail(int address, ControllerState cause) {
    if (!valid(address))
        return;
    std::lock_guard lock(mutex_);
    Entry& e = entries_[static_cast<std::size_t>(address)];
    e.state = cause;
    e.block = {};
}

void ValueCache::clear(int address) { fail(address, ControllerState::NotRead); }

void ValueCache::clearAll() {
    std::lock_guard lock(mutex_);
    for (Entry& e : entries_)
        e = {};
}

void ValueCache::patch(int address, int channel, int kind, std::int16_t value) {
    if (!valid(address))
        return;
    std::lock_guard lock(mutex_);
    Entry& e = entries_[static_cast<std::size_t>(address)];
    if (e.state != ControllerState::Valid || channel < 1 ||
        channel > static_cast<int>(e.block.zones.size()))
        return;
    wire::ZoneSample& z = e.block.zones[static_cast<std::size_t>(channel - 1)];
    if (kind == kKindSetpoint)
        z.setpoint = value;
    else if (kind == kKindOutput)
        z.output = value;
}

std::int32_t ValueCache::value(int address, int channel, int kind) const {
    if (!valid(address))
        return kind == kKindOutputsOn ? 0 : kNoValue;
    std::lock_guard lock(mutex_);
    const Entry& e = entries_[static_cast<std::size_t>(address)];
    if (kind == kKindOutputsOn)  // only a controller's own report says "on"
        return e.state == ControllerState::Valid && e.block.outputsOn ? 1 : 0;
    if (e.state != ControllerState::Valid) {
        if (kind != kKindStatus)
            return kNoValue;
        switch (e.state) {
        case ControllerState::NoAnswer: return kStatusNoAnswer;
        case ControllerState::Damaged: return kStatusDamaged;
        case ControllerState::Refused: return kStatusRefused;
        default: return kNoValue;
        }
    }
    if (channel < 1 || channel > static_cast<int>(e.block.zones.size()))
        return kNoValue;
    const wire::ZoneSample& z = e.block.zones[static_cast<std::size_t>(channel - 1)];
    switch (kind) {
    case kKindSetpoint: return z.setpoint;
    case kKindActual: return z.actual;
    case kKindStatus: return z.status;
    case kKindOutput: return z.output;
    case kKindCurrent: return z.current;
    default: return kNoValue;
    }
}

ControllerState ValueCache::state(int address) const {
    if (!valid(address))
        return ControllerState::NotRead;
    std::lock_guard lock(mutex_);
    return entries_[static_cast<std::size_t>(address)].state;
}

bool ValueCache::block(int address, wire::Block& out) const {
    if (!valid(address))
        return false;
    std::lock_guard lock(mutex_);
    const Entry& e = entries_[static_cast<std::size_t>(address)];
    if (e.state != ControllerState::Valid)
        return false;
    out = e.block;
    return true;
}

void ValueCache::fillRecord(const std::vector<std::pair<int, int>>& zones,
                            std::vector<wire::ZoneSample>& out) const {
    out.assign(kLogZones, noValueSample());
    std::lock_guard lock(mutex_);
    for (std::size_t i = 0; i < zones.size() && i < out.size(); ++i) {
        const auto [address, channel] = zones[i];
        if (!valid(address))
            continue;
        const Entry& e = entries_[static_cast<std::size_t>(address)];
        if (e.state == ControllerState::Valid && channel >= 1 &&
            channel <= static_cast<int>(e.block.zones.size()))
            out[i] = e.block.zones[static_cast<std::size_t>(channel - 1)];
    }
}

}  // namespace zev485
