#include "loopback_transport.h"

namespace zev485 {

LoopbackTransport::LoopbackTransport(std::shared_ptr<LoopbackPeer> peer) : peer_(std::move(peer)) {}

IoResult LoopbackTransport::send(std::string_view bytes, SteadyClock::time_point) {
    if (interrupted_)
        return IoResult::Interrupted;
    pending_ += peer_->exchange(bytes);
    return IoResult::Data;
}

IoResult LoopbackTransport::receive(std::string& out, SteadyClock::time_point) {
    if (interrupted_)
        return IoResult::Interrupted;
    if (pending_.empty())
        return IoResult::Timeout;
    out += pending_;
    pending_.clear();
    return IoResult::Data;
}

}  // namespace zev485
