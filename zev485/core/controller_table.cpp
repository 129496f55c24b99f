#include "controller_table.h"

#include <algorithm>

namespace zev485 {

void ControllerTable::setChannels(int address, int channels) {
    if (!valid(address))
        return;
    std::lock_guard lock(mutex_);
    entries_[static_cast<std::size_t>(address)].channels = std::clamp(channels, 0, kMaxChannels);
}

void ControllerTable::setMaster(int address, int master) {
    if (!valid(address))
        return;
    std::lock_guard lock(mutex_);
    entries_[static_cast<std::size_t>(address)].master = master;
}

void ControllerTable::setOnline(int address, bool online) {
    if (!valid(address))
        return;
    std::lock_guard lock(mutex_);
    entries_[static_cast<std::size_t>(address)].online = online;
}

int ControllerTable::channels(int address) const {
    if (!valid(address))
        return 0;
    std::lock_guard lock(mutex_);
    return entries_[static_cast<std::size_t>(address)].channels;
}

bool ControllerTable::online(int address) const {
    if (!valid(address))
        return false;
    std::lock_guard lock(mutex_);
    return entries_[static_cast<std::size_t>(address)].online;
}

std::vector<int> ControllerTable::onlineAddresses() const {
    std::vector<int> result;
    std::lock_guard lock(mutex_);
    for (int a = 1; a <= kMaxAddress; ++a)
        if (entries_[static_cast<std::size_t>(a)].online)
            result.push_back(a);
    return result;
}

std::vector<std::pair<int, int>> ControllerTable::logZones() const {
    std::vector<std::pair<int, int>> zones;
    std::lock_guard lock(mutex_);
    for (int a = 1; a <= kMaxAddress; ++a) {
        for (int c = 1; c <= entries_[static_cast<std::size_t>(a)].channels; ++c) {
            if (zones.size() == kLogZones)
                return zones;
            zones.emplace_back(a, c);
        }
    }
    return zones;
}

}  // namespace zev485
