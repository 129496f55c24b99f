// The master line as the rest of the library sees it: at most one link, used by
// one telegram at a time under the bus arbiter, replaced or closed without
// waiting for more than the telegram in progress (which is interrupted).
#pragma once

#include <functional>
#include <memory>
#include <mutex>

#include "bus_arbiter.h"
#include "master_link.h"

namespace zev485 {

class MasterPort {
public:
    // Replaces the link (nullptr closes). whileHeld runs with the line held,
    // after the old link is gone and before anybody else uses the new one (null
    // when closing).
    void replace(std::unique_ptr<MasterLink> link,
                 const std::function<void(MasterLink*)>& whileHeld = {});
    bool isOpen() const;

    // Runs fn with the link while holding the line; false when no port is open.
    bool use(BusPriority priority, const std::function<void(MasterLink&)>& fn);

private:
    BusArbiter arbiter_;
    mutable std::mutex mutex_;
    std::shared_ptr<MasterLink> link_;
};

}  // namespace zev485
