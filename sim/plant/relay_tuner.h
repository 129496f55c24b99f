// Self-tuning of a zone: the output is switched between full and zero around the
// setpoint (relay feedback); from the amplitude and period of the resulting
// oscillation the PID parameters follow. The zone first heats (or cools) to the
// setpoint, then oscillates three times: for a nozzle from cold about four to six
// minutes in all.
#pragma once

#include "pid.h"

namespace zevsim {

enum class TuneFailure {
    None,
    NoSensor,    // measured value lost
    NoReaction,  // full output for kReactionSeconds without kMinimumRise
    TooLong,     // no usable oscillation within kMaximumSeconds
};

class RelayTuner {
public:
    static constexpr double kHysteresis = 1.0;       // kelvin either side of the setpoint
    static constexpr double kReactionSeconds = 120.0;
    static constexpr double kMinimumRise = 3.0;      // kelvin
    static constexpr double kMaximumSeconds = 1800.0;
    static constexpr int kMeasuredCycles = 2;

    void start(double setpoint, double measured, double outputLimit);
    void stop() { running_ = false; }
    bool running() const { return running_; }

    // Output in percent for the next dt seconds; ends the run (done or failed).
    double step(double measured, bool valid, double dt);

    bool succeeded() const { return !running_ && done_; }
    TuneFailure failure() const { return failure_; }
    PidSettings result() const { return result_; }
    double elapsed() const { return elapsed_; }

private:
    void fail(TuneFailure why);
    void finish();

    bool running_ = false;
    bool done_ = false;
    TuneFailure failure_ = TuneFailure::None;
    PidSettings result_;
    double setpoint_ = 0.0;
    double outputLimit_ = 100.0;
    double start_ = 0.0;       // measured value at the start
    double elapsed_ = 0.0;
    double heating_ = 0.0;     // seconds of full output before the first switch-off
    bool relayOn_ = false;
    int switchOffs_ = 0;
    double lastSwitchOn_ = -1.0;
    double extreme_ = 0.0;     // running peak (relay off) or trough (relay on)
    double peakSum_ = 0.0, troughSum_ = 0.0, periodSum_ = 0.0;
    int peaks_ = 0, troughs_ = 0, periods_ = 0;
};

}  // namespace zevsim
