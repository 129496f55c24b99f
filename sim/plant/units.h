// Temperature units and the four-character value fields of controller replies.
// The model computes in degrees Celsius; a Fahrenheit controller shows and takes
// every temperature in whole degrees Fahrenheit.
#pragma once

#include <cmath>
#include <string>

namespace zevsim {

// What a number stands for, so that values can be converted between units.
enum class Quantity {
    Plain,        // a count, a percentage, seconds, a switch
    Temperature,  // an absolute temperature
    Difference,   // a temperature difference (a band, a ramp, a proportional band)
};

inline double toCelsius(double v, bool fahrenheit, Quantity q) {
    if (!fahrenheit || q == Quantity::Plain) return v;
    return q == Quantity::Temperature ? (v - 32.0) * 5.0 / 9.0 : v * 5.0 / 9.0;
}

inline double fromCelsius(double v, bool fahrenheit, Quantity q) {
    if (!fahrenheit || q == Quantity::Plain) return v;
    return q == Quantity::Temperature ? v * 9.0 / 5.0 + 32.0 : v * 9.0 / 5.0;
}

inline int roundToInt(double v) { return static_cast<int>(std::lround(v)); }

// Four characters per value as the controllers send them: "0250", "-010".
// Values outside -999..9999 do not fit and are clamped to the nearest that does.
std::string formatField(long value);

}  // namespace zevsim
