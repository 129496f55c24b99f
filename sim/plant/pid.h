// The zones' closed-loop controller: PID on the measured value with a filtered
// derivative, integral clamping against wind-up and bumpless take-over.
#pragma once

namespace zevsim {

struct PidSettings {
    double band = 12.0;        // proportional band Xp in kelvin: 100 % output per band
    double integral = 90.0;    // Tn in seconds, 0 = no integral action
    double derivative = 8.0;   // Tv in seconds
    double outputLimit = 100.0;
};

class Pid {
public:
    // Output in percent for the next dt seconds.
    double step(double setpoint, double measured, double dt, const PidSettings& s);
    // Takes over from another output (manual mode, tuning) without a jump.
    void takeOver(double output, double setpoint, double measured, const PidSettings& s);
    void reset();

private:
    double integral_ = 0.0;   // percent
    double derivative_ = 0.0; // filtered derivative term, percent
    double previous_ = 0.0;
    bool primed_ = false;
};

}  // namespace zevsim
