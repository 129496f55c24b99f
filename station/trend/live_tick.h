// The live trend's tick: how many points are due since the last tick. The
// elapsed time comes from the wall-clock date and time, so midnight is no
// special case; a clock set back, or more than a window due, asks for a full
// reload, after which nothing is pending.
#pragma once

#include <QDateTime>

namespace zev {

class LiveTick {
public:
    struct Step {
        enum What { Nothing, Shift, Reload } what = Nothing;
        int points = 0;  // Shift: the points to add
    };
    // Starts counting from `now` with nothing pending.
    void reset(const QDateTime& now);
    // One tick at `now` for points `step` seconds apart and a window of P points.
    Step tick(const QDateTime& now, double step, int lastPoint);
    double pending() const { return pending_; }

private:
    QDateTime previous_;
    double pending_ = 0.0;
};

}  // namespace zev
