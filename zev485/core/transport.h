// The seam between the bus logic and the physical line: a serial device or the
// in-process loopback. Both carry exactly the frame bytes.
#pragma once

#include <chrono>
#include <string>
#include <string_view>

namespace zev485 {

using SteadyClock = std::chrono::steady_clock;

enum class IoResult {
    Data,         // bytes arrived (receive) or were sent (send)
    Timeout,      // nothing arrived before the deadline
    Failed,       // the port failed (device gone, I/O error)
    Interrupted,  // interrupt() was called: the port is being closed
};

class Transport {
public:
    virtual ~Transport() = default;

    virtual IoResult send(std::string_view bytes, SteadyClock::time_point deadline) = 0;
    // Waits until the deadline for bytes and appends those that arrived.
    virtual IoResult receive(std::string& out, SteadyClock::time_point deadline) = 0;
    virtual void discardInput() = 0;
    // Makes a blocked and every later send/receive return Interrupted; safe from any thread.
    virtual void interrupt() = 0;
    // Time of one byte on the line (start, 8 data, stop bit); zero on a line without time.
    virtual std::chrono::nanoseconds byteTime() const = 0;
    // Delay of the link beyond the bytes themselves (radio links buffer and hop).
    virtual std::chrono::milliseconds extraLatency() const { return {}; }
    // After Failed: tries to open the device again; true when the port works again.
    virtual bool recover() { return false; }
};

}  // namespace zev485
