#include "poller.h"

#include "wire/command.h"

namespace zev485 {

Poller::Poller(MasterPort& port, const ControllerTable& table, ValueCache& cache)
    : port_(port), table_(table), cache_(cache), thread_([this] { run(); }) {}

Poller::~Poller() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void Poller::setEnabled(bool on) {
    enabled_ = on;
    wake();
}

void Poller::wake() {
    {
        std::lock_guard lock(mutex_);
        ++changes_;
        sinceChange_ = 0;
    }
    changed_.notify_all();
}

void Poller::readSoon(int address) {
    std::lock_guard lock(mutex_);
    urgent_.insert(address);
}

bool Poller::waitForScans(std::uint64_t count, std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return scanDone_.wait_for(lock, timeout, [&] { return scans_ >= count; });
}

int Poller::takeUrgent() {
    std::lock_guard lock(mutex_);
    if (urgent_.empty())
        return 0;
    const int address = *urgent_.begin();
    urgent_.erase(urgent_.begin());
    return address;
}

bool Poller::readyToScan() const {
    return enabled_ && port_.isOpen() && !table_.onlineAddresses().empty();
}

bool Poller::pollController(MasterLink& link, int address) {
    if (link.portFailed() && !link.recover()) {
        cache_.fail(address, ControllerState::NoAnswer);
        return false;
    }
    const ControllerState before = cache_.state(address);
    const bool failing = before == ControllerState::NoAnswer ||
                         before == ControllerState::Damaged || before == ControllerState::Refused;
    const int expected = table_.channels(address);

    wire::Block block;
    const auto accept = [&](const Answer& a) {
        if (a.kind == wire::Reply::Kind::Nak)
            return true;
        if (a.kind != wire::Reply::Kind::Value)
            return false;
        if (wire::decodeBlock(a.value, block) != wire::BlockError::None)
            return false;
        // A channel count other than the one identified would shift every later zone.
        return expected == 0 || static_cast<int>(block.zones.size()) == expected;
    };
    const Exchange ex = link.transact(address, wire::blockCommand(address),
                                      failing ? 1 : link.tries(), accept);
    switch (ex.outcome) {
    case Outcome::Answered:
        if (ex.answer.kind == wire::Reply::Kind::Nak)
            cache_.fail(address, ControllerState::Refused);
        else
            cache_.store(address, block);
        return true;
    case Outcome::Interrupted:
        return true;
    case Outcome::Damaged:
        cache_.fail(address, ControllerState::Damaged);
        return true;
    case Outcome::NoAnswer:
        cache_.fail(address, ControllerState::NoAnswer);
        return true;
    case Outcome::PortFailed:
        cache_.fail(address, ControllerState::NoAnswer);
        return false;
    }
    return true;
}

void Poller::run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return stopping_ || readyToScan(); });
        if (stopping_)
            return;
        const std::uint64_t changesAtStart = changes_;
        lock.unlock();

        const auto scanStart = SteadyClock::now();
        bool portOk = true;
        bool complete = true;
        for (int address : table_.onlineAddresses()) {
            while (const int first = takeUrgent()) {
                if (table_.online(first))
                    port_.use(BusPriority::Scan, [&](MasterLink& l) { pollController(l, first); });
            }
            if (!enabled_ || !table_.online(address)) {
                complete = complete && enabled_;
                continue;
            }
            const bool open = port_.use(BusPriority::Scan, [&](MasterLink& link) {
                portOk = pollController(link, address) && portOk;
            });
            if (!open) {
                complete = false;
                break;
            }
        }

        lock.lock();
        if (complete && enabled_) {
            ++scans_;
            if (changes_ == changesAtStart && sinceChange_ < INT32_MAX)
                ++sinceChange_;
            scanDone_.notify_all();
        }
        const auto period = portOk ? std::chrono::duration_cast<SteadyClock::duration>(kMinScanPeriod)
                                   : std::chrono::duration_cast<SteadyClock::duration>(
                                         kFailedPortScanPeriod);
        // A new port or new online flags end the pause (a failed port's too).
        changed_.wait_until(lock, scanStart + period,
                            [&] { return stopping_ || changes_ != changesAtStart; });
        if (stopping_)
            return;
    }
}

}  // namespace zev485
