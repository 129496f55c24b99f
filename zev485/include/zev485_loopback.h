// In-process line for tests and the station's test harness: while a peer is
// installed, ZEV485_SetMasterPort opens it instead of a serial device. The peer
// receives exactly the bytes a serial line would carry and returns the bytes
// the line carries back.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "zev485.h"

namespace zev485 {

class LoopbackPeer {
public:
    virtual ~LoopbackPeer() = default;
    // Called on the thread that writes to the line, once per write, never from
    // two threads at once. Returns the bytes that come back before the line
    // falls silent (empty: nobody answers).
    virtual std::string exchange(std::string_view written) = 0;
};

// Installs the peer for every port number; ComPortAvailable then reports every
// port usable except the one the master port holds. A port already open keeps
// its line until it is opened again or closed.
ZEV485_API void installLoopbackPeer(std::shared_ptr<LoopbackPeer> peer);
ZEV485_API void removeLoopbackPeer();

}  // namespace zev485
