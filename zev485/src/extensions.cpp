// The C++ entry points beyond the C interface (zev485_loopback.h, zev485_diag.h).
#include "core/library.h"
#include "zev485_diag.h"
#include "zev485_loopback.h"

namespace zev485 {

void installLoopbackPeer(std::shared_ptr<LoopbackPeer> peer) {
    Library::instance().installPeer(std::move(peer));
}

void removeLoopbackPeer() { Library::instance().installPeer(nullptr); }

std::uint64_t completedScans() { return Library::instance().completedScans(); }

bool waitForScans(std::uint64_t count, std::chrono::milliseconds timeout) {
    return Library::instance().waitForScans(count, timeout);
}

std::string lastPortError() { return Library::instance().lastPortError(); }

}  // namespace zev485
