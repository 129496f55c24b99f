#include "zone.h"

#include "plant.h"
#include "thermal.h"

#include <algorithm>
#include <cmath>

namespace zevsim {

Zone::Zone(int channel, const ControllerFamily& family, bool fahrenheit)
    : channel_(channel), family_(&family), fahrenheit_(fahrenheit) {
    factoryDefaults();
}

// --- writes -----------------------------------------------------------------------------

bool Zone::setSetpoint(int value) {
    if (value < 0 || value > p(param::SetpointMax)) return false;
    if (value != setpoint_) {
        setpoint_ = value;
        ramp_ = valid_ ? value_ : setpointCelsius();
        unsettle();
    }
    return true;
}

bool Zone::setMode(int mode) {
    if (mode < 0 || mode > 2) return false;
    if (monitor() && mode == 1) return false;  // a monitor zone never drives its output
    if (mode == mode_) return true;
    if (mode != 2) tuner_.stop();
    const double previous = output();
    mode_ = mode;
    if (mode == 2 && !monitor()) {
        startControl();
        pid_.takeOver(previous, ramp_, value_, pidSettings());
    }
    unsettle();
    return true;
}

bool Zone::setOutput(int percent) {
    if (monitor() || percent < 0 || percent > 100) return false;
    manualOutput_ = percent;
    return true;
}

bool Zone::setTuning(bool on) {
    if (monitor()) return false;
    if (!on) {
        tuner_.stop();
        return true;
    }
    if (tuner_.running()) return true;
    tuningFault_ = false;
    if (mode_ != 2) {
        mode_ = 2;
        startControl();
    }
    tuner_.start(setpointCelsius(), value_, p(param::OutputLimit));
    if (!valid_) {  // no measured value: the run fails at once
        tuner_.stop();
        finishTuning();
    }
    unsettle();
    return true;
}

bool Zone::setParameter(int number, int value) {
    if (number < 1 || number > kZoneParameterCount) return false;
    const auto& def = family_->parameter(number);
    if (!def.writable() || value < def.min || value > def.max) return false;
    const bool wasMonitor = monitor();
    params_[static_cast<size_t>(number - 1)] = value;
    if (number == param::SetpointMax && setpoint_ > value) setpoint_ = value;
    if (monitor() != wasMonitor) {
        // Becoming a monitor zone (or ceasing to be one) stops heating at once.
        tuner_.stop();
        command_ = 0.0;
        if (!monitor()) mode_ = 0;
        else if (mode_ == 1) mode_ = 2;
        unsettle();
    }
    return true;
}

void Zone::factoryDefaults() {
    const bool wasMonitor = monitor();
    for (int n = 1; n <= kZoneParameterCount; ++n) {
        const auto& def = family_->parameter(n);
        params_[static_cast<size_t>(n - 1)] = def.present() ? defaultFor(def, fahrenheit_) : 0;
    }
    if (setpoint_ > p(param::SetpointMax)) setpoint_ = p(param::SetpointMax);
    // A former monitor zone may have no heater of its own: it must not start heating.
    if (wasMonitor && !monitor()) mode_ = 0;
    tuner_.stop();
    pid_.reset();
    unsettle();
}

void Zone::restart() {
    tuner_.stop();
    pid_.reset();
    ssrDetected_ = false;
    filterPrimed_ = false;
    if (mode_ == 2) startControl();
    unsettle();
}

void Zone::forceFilter() { filterPrimed_ = false; }

void Zone::syncCommand() {
    if (monitor() || (!tuner_.running() && mode_ != 2)) command_ = output();
}

// --- one cycle --------------------------------------------------------------------------

void Zone::measure(const SensorInput& in, double dt) {
    shortedInput_ = in.shorted && !in.broken;
    if (in.broken) {
        valid_ = false;
        filterPrimed_ = false;
        return;
    }
    double raw = in.temperature;
    if (in.shorted) raw = in.coldJunction;  // the short is the new measuring junction
    else if (in.reversed) raw = 2.0 * in.coldJunction - in.temperature;
    const double v = raw + in.noise + inCelsius(param::ActualOffset);
    const double tau = p(param::ActualFilter);
    if (!filterPrimed_ || tau <= 0.0) value_ = v;
    else value_ += (v - value_) * dt / (tau + dt);
    filterPrimed_ = true;
    valid_ = true;
}

double Zone::control(const Cabinet& cabinet, double dt) {
    const double limit = p(param::OutputLimit);
    double out = 0.0;
    if (monitor()) {
        tuner_.stop();
    } else if (tuner_.running()) {
        out = tuner_.step(value_, valid_, dt);
        if (!tuner_.running()) finishTuning();
    } else if (mode_ == 1) {
        out = manualOutput_;
    } else if (mode_ == 2) {
        if (!valid_) {
            out = cabinet.autoPower ? averageOutput_ : p(param::SensorBreakOutput);
        } else {
            const double target = setpointCelsius();
            const double rate = inCelsius(param::Ramp) / 60.0;
            if (p(param::Ramp) <= 0) ramp_ = target;
            else if (ramp_ < target) ramp_ = std::min(target, ramp_ + rate * dt);
            else ramp_ = std::max(target, ramp_ - rate * dt);
            out = pid_.step(ramp_, value_, dt, pidSettings());
        }
    } else {
        pid_.reset();
    }
    out = std::min(out, limit);
    if (p(param::SoftStart) == 1 && valid_ && value_ < kSoftStartUntil)
        out = std::min(out, kSoftStartLimit);
    command_ = std::max(out, 0.0);
    if (valid_ && mode_ == 2 && !tuner_.running())
        averageOutput_ += (command_ - averageOutput_) * dt / (kOutputAverageSeconds + dt);
    return command_;
}

void Zone::supervise(const OutputMeasurement& out, const Cabinet& cabinet, double dt) {
    current_ = out.conducting ? out.current : 0.0;
    conducting_ = out.conducting;
    std::int32_t bits = 0;
    const int shown = reading();

    if (!valid_) bits |= status::SensorBroken;
    if (shortedInput_) bits |= status::SensorShorted;
    if (cabinet.highLimit > 0 && valid_ && shown >= cabinet.highLimit) bits |= status::AbsoluteTemperature;

    // A stage that carries current while the controller drives nothing is shorted;
    // the alarm stays until the stage is seen dead at zero output again.
    if (cabinet.powered() && command_ <= 0.0) ssrDetected_ = current_ > kOpenCircuitCurrent;
    if (ssrDetected_) bits |= status::SsrShorted;
    if (out.leakage && out.conducting && p(param::LeakageSupervision) == 1) bits |= status::Leakage;

    const bool driven = cabinet.powered() && command_ > 0.0 && !monitor();
    if (driven && current_ > kOpenCircuitCurrent) lastOnCurrent_ = current_;
    if (driven && p(param::CurrentSupervision) == 1) {
        const double tenths = current_ * 10.0;
        const double nominal = p(param::NominalCurrent);
        const double tolerance = p(param::CurrentTolerance) / 100.0;
        if (current_ < kOpenCircuitCurrent ||
            (nominal > 0 && std::abs(tenths - nominal) > kGrossCurrentDeviation * nominal))
            bits |= status::CurrentAlarm;
        else if (nominal > 0 && tenths > nominal * (1.0 + tolerance))
            bits |= status::CurrentDeviationHigh;
        else if (nominal > 0 && tenths < nominal * (1.0 - tolerance))
            bits |= status::CurrentDeviationLow;
        if (p(param::CurrentMax) > 0 && tenths > p(param::CurrentMax)) bits |= status::CurrentHigh;
        if (p(param::CurrentMin) > 0 && tenths < p(param::CurrentMin)) bits |= status::CurrentLow;
    }

    // Band alarms only once the zone has reached its setpoint after a change, so
    // a heat-up or a cool-down is not an alarm.
    const bool controlling = mode_ == 2 && !monitor() && !tuner_.running() && valid_ && setpoint_ > 0;
    if (!controlling) {
        settled_ = false;
    } else if (!settled_ && shown >= setpoint_ - p(param::DeviationLow) &&
               shown <= setpoint_ + p(param::DeviationHigh)) {
        settled_ = true;
        settledFor_ = 0.0;
    }
    if (settled_) {
        settledFor_ += dt;
        const int deviation = shown - setpoint_;
        if (deviation > p(param::DeviationHigh)) bits |= status::DeviationHigh;
        if (deviation < -p(param::DeviationLow)) bits |= status::DeviationLow;
        if (deviation > p(param::AlarmHigh)) bits |= status::TemperatureHigh;
        if (deviation < -p(param::AlarmLow)) bits |= status::TemperatureLow;
        const auto& refDef = family_->parameter(param::OutputReference);
        if (refDef.writable()) {
            int& reference = params_[param::OutputReference - 1];
            if (reference == 0 && settledFor_ >= kReferenceLearnSeconds)
                reference = std::clamp(roundToInt(averageOutput_), 1, 100);
            const int tolerance = p(param::OutputTolerance);
            if (tolerance > 0 && reference > 0 && std::abs(averageOutput_ - reference) > tolerance)
                bits |= status::OutputDeviation;
        }
    }
    if (tuningFault_) bits |= status::TuningFault;
    faults_ = bits;
}

// --- reads ------------------------------------------------------------------------------

int Zone::reading() const {
    if (!valid_) return kNoValue;
    return std::clamp(displayed(value_), -999, 2000);
}

std::int32_t Zone::status() const {
    const int modeBits = monitor() ? (mode_ != 0 ? 3 : 0) : mode_;
    std::int32_t s = faults_ | (modeBits << 5);
    if (tuner_.running()) s |= status::Tuning;
    if (faults_ == 0) s |= status::NoFault;
    return s;
}

int Zone::output() const {
    if (monitor() || (mode_ == 0 && !tuner_.running())) return 0;
    if (mode_ == 1 && !tuner_.running()) {
        int out = std::min(manualOutput_, p(param::OutputLimit));
        if (p(param::SoftStart) == 1 && valid_ && value_ < kSoftStartUntil)
            out = std::min(out, static_cast<int>(kSoftStartLimit));
        return out;
    }
    return roundToInt(command_);
}

int Zone::currentTenths() const { return conducting_ ? roundToInt(current_ * 10.0) : 0; }

std::optional<int> Zone::parameter(int number) const {
    if (number < 1 || number > kZoneParameterCount) return std::nullopt;
    if (!family_->parameter(number).present()) return std::nullopt;
    switch (number) {
    case param::HeaterPower: return roundToInt(lastOnCurrent_ * kMainsVoltage);
    case param::ChannelNumber: return channel_;
    default: return p(number);
    }
}

// --- helpers ----------------------------------------------------------------------------

double Zone::inCelsius(int number) const {
    return toCelsius(p(number), fahrenheit_, family_->parameter(number).quantity);
}

double Zone::setpointCelsius() const { return toCelsius(setpoint_, fahrenheit_, Quantity::Temperature); }

int Zone::displayed(double celsius) const {
    return roundToInt(fromCelsius(celsius, fahrenheit_, Quantity::Temperature));
}

PidSettings Zone::pidSettings() const {
    PidSettings s;
    s.band = std::max(inCelsius(param::ProportionalBand), 0.5);
    s.integral = p(param::IntegralTime);
    s.derivative = p(param::DerivativeTime);
    s.outputLimit = p(param::OutputLimit);
    return s;
}

void Zone::startControl() {
    ramp_ = valid_ ? value_ : setpointCelsius();
}

void Zone::finishTuning() {
    if (!tuner_.succeeded()) {
        tuningFault_ = true;
        pid_.takeOver(0.0, setpointCelsius(), value_, pidSettings());
        return;
    }
    const PidSettings r = tuner_.result();
    auto store = [this](int number, double value) {
        const auto& def = family_->parameter(number);
        if (def.writable())
            params_[static_cast<size_t>(number - 1)] = std::clamp(roundToInt(value), def.min, def.max);
    };
    store(param::ProportionalBand, fromCelsius(r.band, fahrenheit_, Quantity::Difference));
    store(param::IntegralTime, r.integral);
    store(param::DerivativeTime, r.derivative);
    if (p(param::NominalCurrent) == 0 && lastOnCurrent_ > kOpenCircuitCurrent)
        store(param::NominalCurrent, lastOnCurrent_ * 10.0);
    ramp_ = setpointCelsius();
    pid_.takeOver(0.0, ramp_, value_, pidSettings());
    unsettle();
}

void Zone::unsettle() {
    settled_ = false;
    settledFor_ = 0.0;
}

}  // namespace zevsim
