#include "pid.h"

#include <algorithm>

namespace zevsim {

namespace {
double gain(const PidSettings& s) { return 100.0 / std::max(s.band, 0.1); }
}  // namespace

double Pid::step(double setpoint, double measured, double dt, const PidSettings& s) {
    const double kp = gain(s);
    const double error = setpoint - measured;
    if (!primed_) {
        previous_ = measured;
        primed_ = true;
    }
    // Derivative on the measurement (no kick on setpoint changes), filtered with
    // a quarter of Tv so that measurement noise does not rattle the output.
    const double rate = (measured - previous_) / dt;
    previous_ = measured;
    const double filter = s.derivative / 4.0 + dt;
    derivative_ += (-kp * s.derivative * rate - derivative_) * dt / filter;

    const double proportional = kp * error;
    if (s.integral > 0.0) {
        const double candidate = integral_ + kp * error * dt / s.integral;
        const double unclamped = proportional + candidate + derivative_;
        // Integrate only while the output is not saturated in the error's direction.
        if (!(unclamped > s.outputLimit && error > 0) && !(unclamped < 0.0 && error < 0))
            integral_ = candidate;
        integral_ = std::clamp(integral_, 0.0, s.outputLimit);
    } else {
        integral_ = 0.0;
    }
    return std::clamp(proportional + integral_ + derivative_, 0.0, s.outputLimit);
}

void Pid::takeOver(double output, double setpoint, double measured, const PidSettings& s) {
    derivative_ = 0.0;
    previous_ = measured;
    primed_ = true;
    integral_ = s.integral > 0.0
                    ? std::clamp(output - gain(s) * (setpoint - measured), 0.0, s.outputLimit)
                    : 0.0;
}

void Pid::reset() {
    integral_ = 0.0;
    derivative_ = 0.0;
    primed_ = false;
}

}  // namespace zevsim
