// The in-process line: every write goes synchronously to the installed peer,
// whose answer is what the line carries back before it falls silent. Silence is
// therefore known at once: a time-out costs no time.
#pragma once

#include <atomic>
#include <memory>

#include "transport.h"
#include "zev485_loopback.h"

namespace zev485 {

class LoopbackTransport final : public Transport {
public:
    explicit LoopbackTransport(std::shared_ptr<LoopbackPeer> peer);

    IoResult send(std::string_view bytes, SteadyClock::time_point deadline) override;
    IoResult receive(std::string& out, SteadyClock::time_point deadline) override;
    void discardInput() override { pending_.clear(); }
    void interrupt() override { interrupted_ = true; }
    std::chrono::nanoseconds byteTime() const override { return {}; }

private:
    std::shared_ptr<LoopbackPeer> peer_;
    std::string pending_;  // only the thread holding the bus touches it
    std::atomic<bool> interrupted_{false};
};

}  // namespace zev485
