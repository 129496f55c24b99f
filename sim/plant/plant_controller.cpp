// Controller-wide values, restart, factory settings and faults of the plant.
#include "plant_impl.h"

#include <algorithm>

namespace zevsim {

namespace {

std::string normalised(const std::string& mnemonic) {
    return !mnemonic.empty() && mnemonic.front() == '?' ? mnemonic.substr(1) : mnemonic;
}

std::string flag(bool on) { return on ? "0001" : "0000"; }

}  // namespace

std::optional<std::string> Plant::readGlobal(int a, const std::string& mnemonic) const {
    std::lock_guard lock(d->mutex);
    const ControllerUnit* u = d->unit(a);
    if (!u) return std::nullopt;
    const std::string code = normalised(mnemonic);
    const Cabinet& cabinet = d->cabinetOf(a);
    if (code == "KAN") return formatField(u->config.channels);
    if (code == "AZ#") return formatField(u->config.az);
    if (code == "DTP") return u->config.slave ? "0002" : "0001";
    if (code == "TYP") return u->config.type.substr(0, 9);
    if (code == "UNT") return flag(u->config.fahrenheit);
    if (code == "ENA") return flag(cabinet.powered());
    if (code == "HIW") return formatField(cabinet.highLimit);
    if (code == "APM") return flag(cabinet.autoPower);
    return std::nullopt;
}

bool Plant::writeGlobal(int a, const std::string& mnemonic, long value) {
    std::lock_guard lock(d->mutex);
    const ControllerUnit* u = d->unit(a);
    if (!u) return false;
    const std::string code = normalised(mnemonic);
    const GlobalParameterDef* def = u->family->global(code);
    if (!def || !def->writable() || value < def->min || value > def->max) return false;
    Cabinet& cabinet = d->cabinetOf(a);
    if (code == "HIW") {
        cabinet.highLimit = static_cast<int>(value);
    } else if (code == "APM") {
        cabinet.autoPower = value != 0;
    } else if (code == "ENA") {
        cabinet.enabled = value != 0;
        if (cabinet.enabled) cabinet.tripped = false;  // switching on re-arms the contactor
    } else {
        return false;
    }
    d->refresh();
    return true;
}

void Plant::restart(int a) {
    std::lock_guard lock(d->mutex);
    d->restartController(a, false);
    d->refresh();
}

void Plant::factoryDefaults(int a) {
    std::lock_guard lock(d->mutex);
    d->restartController(a, true);
    d->refresh();
}

// --- faults -----------------------------------------------------------------------------

bool Plant::inject(const Fault& fault) {
    std::lock_guard lock(d->mutex);
    if (isControllerFault(fault.kind)) {
        if (!d->unit(fault.address)) return false;
    } else {
        const int z = d->zoneIndex(fault.address, fault.channel);
        if (z < 0) return false;
        if (isCrossedFault(fault.kind)) {
            const int partner = d->zoneIndex(fault.partnerAddress, fault.partnerChannel);
            if (partner < 0 || partner == z) return false;
        }
        if (fault.kind == FaultKind::LeakageCurrent) d->moisture[static_cast<size_t>(z)] = 1.0;
    }
    for (const auto& f : d->faults)
        if (faultMatches(f, fault)) return false;
    d->faults.push_back(fault);
    d->rewire();
    d->refresh();
    return true;
}

bool Plant::clear(const Fault& fault) {
    std::lock_guard lock(d->mutex);
    const auto removed = std::erase_if(d->faults, [&](const Fault& f) { return faultMatches(f, fault); });
    if (removed == 0) return false;
    d->rewire();
    d->refresh();
    return true;
}

void Plant::clearAllFaults() {
    std::lock_guard lock(d->mutex);
    d->faults.clear();
    d->rewire();
    d->refresh();
}

std::vector<Fault> Plant::faults() const {
    std::lock_guard lock(d->mutex);
    return d->faults;
}

bool Plant::silent(int a) const {
    std::lock_guard lock(d->mutex);
    return d->unit(a) && d->wiring.silent[static_cast<size_t>(a - 1)] != 0;
}

bool Plant::garbled(int a) const {
    std::lock_guard lock(d->mutex);
    return d->unit(a) && d->wiring.garbled[static_cast<size_t>(a - 1)] != 0;
}

}  // namespace zevsim
