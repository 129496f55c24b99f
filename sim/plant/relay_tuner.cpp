#include "relay_tuner.h"

#include <algorithm>
#include <cmath>

namespace zevsim {

void RelayTuner::start(double setpoint, double measured, double outputLimit) {
    *this = RelayTuner{};
    running_ = true;
    setpoint_ = setpoint;
    outputLimit_ = std::max(outputLimit, 1.0);
    start_ = measured;
    relayOn_ = measured < setpoint;
    extreme_ = measured;
}

void RelayTuner::fail(TuneFailure why) {
    running_ = false;
    done_ = false;
    failure_ = why;
}

void RelayTuner::finish() {
    const double amplitude = std::max((peakSum_ / peaks_ - troughSum_ / troughs_) / 2.0, 0.2);
    const double period = periodSum_ / periods_;
    // Relay of amplitude d (half the output swing) around the oscillation gives
    // the ultimate gain 4d / (pi a); the "some overshoot" rule keeps the hot
    // runner from ringing after a setpoint step.
    const double ultimateGain = 4.0 * (outputLimit_ / 2.0) / (M_PI * amplitude);
    const double gain = ultimateGain / 3.0;
    result_.band = 100.0 / gain;
    result_.integral = period / 2.0;
    result_.derivative = period / 3.0;
    result_.outputLimit = outputLimit_;
    running_ = false;
    done_ = true;
}

double RelayTuner::step(double measured, bool valid, double dt) {
    if (!running_) return 0.0;
    if (!valid) {
        fail(TuneFailure::NoSensor);
        return 0.0;
    }
    elapsed_ += dt;
    if (elapsed_ > kMaximumSeconds) {
        fail(TuneFailure::TooLong);
        return 0.0;
    }
    if (relayOn_ && switchOffs_ == 0) {
        heating_ += dt;
        if (heating_ >= kReactionSeconds && measured - start_ < kMinimumRise) {
            fail(TuneFailure::NoReaction);
            return 0.0;
        }
    }
    if (relayOn_) {
        extreme_ = std::min(extreme_, measured);
        if (measured > setpoint_ + kHysteresis) {
            relayOn_ = false;
            ++switchOffs_;
            // Troughs count from the second heating pulse on: the first one only
            // ends the heat-up.
            if (lastSwitchOn_ >= 0.0 && periods_ >= 1) {
                troughSum_ += extreme_;
                ++troughs_;
            }
            extreme_ = measured;
        }
    } else {
        extreme_ = std::max(extreme_, measured);
        if (measured < setpoint_ - kHysteresis) {
            relayOn_ = true;
            // The overshoot after the heat-up is not part of the oscillation.
            if (switchOffs_ >= 2) {
                peakSum_ += extreme_;
                ++peaks_;
            }
            if (lastSwitchOn_ >= 0.0) {
                periodSum_ += elapsed_ - lastSwitchOn_;
                ++periods_;
            }
            lastSwitchOn_ = elapsed_;
            extreme_ = measured;
            if (periods_ >= kMeasuredCycles && peaks_ >= kMeasuredCycles && troughs_ >= 1) {
                finish();
                return 0.0;
            }
        }
    }
    return relayOn_ ? outputLimit_ : 0.0;
}

}  // namespace zevsim
