#include "com_stats.h"

namespace zev485 {
namespace {

void increment(std::atomic<std::int32_t>& counter) {
    // Saturate instead of wrapping into negative counts on a line left running for years.
    std::int32_t v = counter.load(std::memory_order_relaxed);
    while (v < INT32_MAX && !counter.compare_exchange_weak(v, v + 1, std::memory_order_relaxed)) {
    }
}

}  // namespace

void ComStats::countGood(int address) {
    if (valid(address))
        increment(good_[static_cast<std::size_t>(address)]);
}

void ComStats::countError(int address) {
    if (valid(address))
        increment(errors_[static_cast<std::size_t>(address)]);
}

void ComStats::read(int address, std::int32_t& good, std::int32_t& errors) const {
    if (!valid(address)) {
        good = errors = 0;
        return;
    }
    good = good_[static_cast<std::size_t>(address)].load(std::memory_order_relaxed);
    errors = errors_[static_cast<std::size_t>(address)].load(std::memory_order_relaxed);
}

void ComStats::reset() {
    for (auto& c : good_)
        c.store(0, std::memory_order_relaxed);
    for (auto& c : errors_)
        c.store(0, std::memory_order_relaxed);
}

}  // namespace zev485
