// What the station told the library about the line: channel count, master
// address and online flag of every bus address.
#pragma once

#include <array>
#include <mutex>
#include <utility>
#include <vector>

#include "bus_constants.h"

namespace zev485 {

class ControllerTable {
public:
    void setChannels(int address, int channels);
    void setMaster(int address, int master);
    void setOnline(int address, bool online);

    int channels(int address) const;
    bool online(int address) const;
    // Online addresses in ascending order.
    std::vector<int> onlineAddresses() const;
    // (address, channel) of day-file zones 1..n: every channel counted across
    // the controllers in address order, at most kLogZones.
    std::vector<std::pair<int, int>> logZones() const;

private:
    static bool valid(int address) { return address >= 1 && address <= kMaxAddress; }
    struct Entry {
        int channels = 0;
        int master = 0;
        bool online = false;
    };
    mutable std::mutex mutex_;
    std::array<Entry, kMaxAddress + 1> entries_{};
};

}  // namespace zev485
