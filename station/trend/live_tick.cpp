#include "trend/live_tick.h"

#include <cmath>

namespace zev {

void LiveTick::reset(const QDateTime& now) {
    previous_ = now;
    pending_ = 0.0;
}

LiveTick::Step LiveTick::tick(const QDateTime& now, double step, int lastPoint) {
    if (!previous_.isValid()) {
        reset(now);
        return {Step::Reload, 0};
    }
    const double elapsed = static_cast<double>(previous_.msecsTo(now)) / 1000.0;
    previous_ = now;
    if (elapsed < 0) {
        pending_ = 0.0;
        return {Step::Reload, 0};
    }
    pending_ += elapsed / step;
    if (pending_ < 1.0) return {};
    if (pending_ >= lastPoint) {
        pending_ = 0.0;
        return {Step::Reload, 0};
    }
    const int k = static_cast<int>(std::lround(pending_));
    pending_ -= k;
    return {Step::Shift, k};
}

}  // namespace zev
