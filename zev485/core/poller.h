// The cyclic scan: one block read per online controller, in address order, on
// its own thread, while enabled. A controller whose telegrams keep failing is
// tried once per scan (no repetitions) until it answers again, so that one
// dead controller does not slow the scan of the others down by its retries.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <thread>

#include "controller_table.h"
#include "master_port.h"
#include "value_cache.h"

namespace zev485 {

class Poller {
public:
    Poller(MasterPort& port, const ControllerTable& table, ValueCache& cache);
    ~Poller();
    Poller(const Poller&) = delete;
    Poller& operator=(const Poller&) = delete;

    void setEnabled(bool on);
    bool enabled() const { return enabled_; }
    // Something the scan depends on changed (online flags, port): look again now.
    void wake();
    // Reads this controller before the others (after a write it acknowledged).
    void readSoon(int address);

    std::uint64_t completedScans() const { return scans_; }
    // Complete scans that began after the last wake(): a scan that ran while the
    // online flags, the port or the enable changed may have missed an address.
    std::uint32_t scansSinceChange() const { return sinceChange_; }
    bool waitForScans(std::uint64_t count, std::chrono::milliseconds timeout);

    // One block read of a controller into the cache, with the line held.
    // Returns false when the port failed.
    bool pollController(MasterLink& link, int address);

private:
    void run();
    bool readyToScan() const;
    int takeUrgent();

    MasterPort& port_;
    const ControllerTable& table_;
    ValueCache& cache_;

    std::atomic<bool> enabled_{false};
    std::atomic<std::uint64_t> scans_{0};
    std::atomic<std::uint32_t> sinceChange_{0};
    bool stopping_ = false;
    std::uint64_t changes_ = 0;  // counts wake()
    std::set<int> urgent_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::condition_variable scanDone_;
    std::thread thread_;
};

}  // namespace zev485
