#include "slave_port.h"

#include <thread>
#include <vector>

#include "bus_constants.h"
#include "wire/frame.h"
#include "slave_answers.h"

namespace zev485 {

SlavePort::SlavePort(const ValueCache& cache, const ControllerTable& table)
    : cache_(cache), table_(table) {}

SlavePort::~SlavePort() { close(); }

void SlavePort::open(std::unique_ptr<Transport> transport, int firstAddress) {
    close();
    std::lock_guard lock(mutex_);
    transport_ = std::move(transport);
    Transport& t = *transport_;
    thread_ = std::thread([this, &t, firstAddress] { run(t, firstAddress); });
}

void SlavePort::close() {
    std::lock_guard lock(mutex_);
    if (!transport_)
        return;
    transport_->interrupt();
    thread_.join();
    transport_.reset();
}

bool SlavePort::isOpen() const {
    std::lock_guard lock(mutex_);
    return transport_ != nullptr;
}

void SlavePort::run(Transport& transport, int firstAddress) {
    wire::FrameSplitter splitter;
    std::vector<std::string> frames;
    std::string received;
    for (;;) {
        received.clear();
        const IoResult r = transport.receive(received, SteadyClock::now() + std::chrono::seconds(1));
        if (r == IoResult::Interrupted)
            return;
        if (r == IoResult::Failed) {
            // The device went away; look for it again now and then.
            if (!transport.recover()) {
                std::this_thread::sleep_for(std::chrono::milliseconds(200));
                continue;
            }
        }
        if (r != IoResult::Data)
            continue;
        frames.clear();
        splitter.feed(received, frames);
        for (const std::string& content : frames) {
            wire::Request request;
            if (wire::parseRequest(content, request) != wire::FrameError::None)
                continue;  // damaged requests are not answered; the master repeats
            const auto cmd = wire::parseCommand(request.body);
            std::optional<std::string> body;
            if (cmd)
                body = slaveReplyBody(*cmd, firstAddress, cache_, table_);
            else if (request.address >= firstAddress && table_.online(request.address - firstAddress + 1))
                body = wire::addressText(request.address) + wire::kNak;
            if (!body)
                continue;
            std::this_thread::sleep_for(transport.byteTime() * kTurnaroundBytes);
            const std::string reply = wire::encodeFrame(*body, request.check);
            if (transport.send(reply, SteadyClock::now() + std::chrono::seconds(1)) ==
                IoResult::Interrupted)
                return;
        }
    }
}

}  // namespace zev485
