// The firmware of one controller channel: it measures its thermocouple, computes
// its output (off, manual, PID control, self-tuning), supervises temperature and
// heater current and keeps the status word. It knows nothing of the physics
// behind its terminals; the plant feeds it what the wiring delivers each step.
#pragma once

#include "parameter_table.h"
#include "pid.h"
#include "relay_tuner.h"

#include <array>
#include <cstdint>
#include <optional>

namespace zevsim {

// Shared by a master controller and its slaves.
struct Cabinet {
    bool enabled = true;     // "?ENA"
    bool tripped = false;    // main contactor dropped by the high limit
    int highLimit = 0;       // "?HIW" in the controllers' unit, 0 = none
    bool autoPower = true;   // "?APM": hold the average output after a sensor break
    bool powered() const { return enabled && !tripped; }
};

// What the channel's thermocouple terminals deliver this step.
struct SensorInput {
    double temperature = 25.0;  // degrees C at the thermocouple's hot junction
    double coldJunction = 25.0; // degrees C at the terminals
    bool broken = false;
    bool shorted = false;
    bool reversed = false;
    double noise = 0.0;         // kelvin
};

// What the output stage's current transformer and leakage monitor see.
struct OutputMeasurement {
    double current = 0.0;   // A through the stage
    bool conducting = false;
    bool leakage = false;
};

class Zone {
public:
    static constexpr double kSoftStartLimit = 30.0;       // percent
    static constexpr double kSoftStartUntil = 100.0;      // degrees C
    static constexpr double kOpenCircuitCurrent = 0.2;    // A: below this with output, the heater is open
    static constexpr double kGrossCurrentDeviation = 0.5; // of nominal: current alarm instead of deviation
    static constexpr double kOutputAverageSeconds = 30.0;
    static constexpr double kReferenceLearnSeconds = 120.0;

    Zone(int channel, const ControllerFamily& family, bool fahrenheit);

    // --- writes; false = refused -----------------------------------------------------
    bool setSetpoint(int value);
    bool setMode(int mode);
    bool setOutput(int percent);
    bool setTuning(bool on);
    void acknowledgeTuningFault() { tuningFault_ = false; }
    bool setParameter(int p, int value);
    void factoryDefaults();
    void restart();
    void forceFilter();  // after a forced temperature: no filter lag
    // After a write: the output of the off and manual modes follows at once (the
    // controller's own output in control and tuning only moves with time).
    void syncCommand();

    // --- one controller cycle ------------------------------------------------------------
    void measure(const SensorInput& in, double dt);
    double control(const Cabinet& cabinet, double dt);  // commanded output in percent
    void supervise(const OutputMeasurement& out, const Cabinet& cabinet, double dt);

    // --- reads -----------------------------------------------------------------------
    int setpoint() const { return setpoint_; }
    int reading() const;                    // controller unit, kNoValue when not measurable
    bool readingValid() const { return valid_; }
    std::int32_t status() const;
    int output() const;                     // percent the controller drives
    double commanded() const { return command_; }
    int currentTenths() const;
    std::optional<int> parameter(int p) const;
    bool monitor() const { return params_[param::MonitorZone - 1] == 1; }
    bool tuning() const { return tuner_.running(); }

private:
    int p(int number) const { return params_[static_cast<size_t>(number - 1)]; }
    double inCelsius(int number) const;     // a temperature parameter in degrees C
    double setpointCelsius() const;
    PidSettings pidSettings() const;
    void startControl();
    void finishTuning();
    void unsettle();
    int displayed(double celsius) const;

    int channel_;
    const ControllerFamily* family_;
    bool fahrenheit_;
    std::array<int, kZoneParameterCount> params_{};
    int setpoint_ = 0;
    int mode_ = 0;            // as written: 0 off, 1 manual, 2 control (monitor: 0 or 2)
    int manualOutput_ = 0;

    // measurement
    bool valid_ = false;
    bool shortedInput_ = false;  // the input's loop check sees a short
    bool filterPrimed_ = false;
    double value_ = 25.0;     // degrees C after offset and filter

    // control
    Pid pid_;
    RelayTuner tuner_;
    bool tuningFault_ = false;
    double ramp_ = 0.0;       // degrees C, the ramped setpoint
    double command_ = 0.0;
    double averageOutput_ = 0.0;
    bool settled_ = false;
    double settledFor_ = 0.0;

    // supervision
    double current_ = 0.0;    // A, what the stage carries now
    bool conducting_ = false;
    double lastOnCurrent_ = 0.0;
    bool ssrDetected_ = false;
    std::int32_t faults_ = 0;
};

}  // namespace zevsim
