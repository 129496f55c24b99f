// The simulated plant: controllers on one RS485 line, each with heating zones.
// Pure model, no I/O: the protocol responder (sim/protocol) and the tests drive it.
// Addresses are 1-based bus addresses, channels 1-based within a controller.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zevsim {

constexpr int kNoValue = -10024;  // 0xD8D8 as a 16-bit pattern

struct ControllerConfig {
    int channels = 16;          // 1..32
    bool slave = false;         // answers "?DTP=" with "0002" and belongs to the preceding master
    int az = 12;                // driver number ("?AZ#=")
    bool fahrenheit = false;    // "?UNT=": "0000" degrees C, "0001" degrees F
    std::string type = "ZEV-16";  // "?TYP=" (up to 9 characters)
};

// Faults a test, a scenario or an operator-training session can inject.
enum class FaultKind {
    BrokenSensor,        // thermocouple open: status 0x8, actual value unreadable
    ShortedSensor,       // thermocouple shorted: status 0x10
    ReversedSensor,      // thermocouple polarity reversed: reading falls while the zone heats
    ShortedTriac,        // output stage conducts without being driven: zone heats at full power
    CrossedHeaters,      // heaters of zone and partner zone swapped
    CrossedSensors,      // thermocouples of zone and partner zone swapped
    HeaterOpen,          // heater broken: no current, no heating (current alarm)
    ControllerSilent,    // the whole controller stops answering on the bus
    GarbledReplies,      // the controller answers with corrupted frames
    LeakageCurrent,      // moist heater insulation: leakage current (0x200000) until the
                         // heater has dried above 100 degrees C for a while
};

struct Fault {
    FaultKind kind;
    int address = 1;
    int channel = 1;
    int partnerAddress = 0;   // for the crossed faults
    int partnerChannel = 0;
};

// Status bits the plant raises (the mode bits are (mode << 5), 0x60 for a measuring
// monitor zone).
namespace status {
constexpr std::int32_t NoFault = 0x1;
constexpr std::int32_t TemperatureLow = 0x2;
constexpr std::int32_t TemperatureHigh = 0x4;
constexpr std::int32_t SensorBroken = 0x8;
constexpr std::int32_t SensorShorted = 0x10;
constexpr std::int32_t ModeMask = 0x60;
constexpr std::int32_t TuningFault = 0x80;
constexpr std::int32_t Tuning = 0x100;
constexpr std::int32_t DeviationLow = 0x200;
constexpr std::int32_t DeviationHigh = 0x400;
constexpr std::int32_t CurrentAlarm = 0x1000;
constexpr std::int32_t SsrShorted = 0x10000;
constexpr std::int32_t CurrentHigh = 0x20000;
constexpr std::int32_t CurrentLow = 0x40000;
constexpr std::int32_t CurrentDeviationHigh = 0x80000;
constexpr std::int32_t CurrentDeviationLow = 0x100000;
constexpr std::int32_t Leakage = 0x200000;
constexpr std::int32_t AbsoluteTemperature = 0x400000;
constexpr std::int32_t OutputDeviation = 0x1000000;
}  // namespace status

class Plant {
public:
    explicit Plant(std::vector<ControllerConfig> controllers);
    ~Plant();
    Plant(const Plant&) = delete;
    Plant& operator=(const Plant&) = delete;

    // --- structure -------------------------------------------------------------------
    // The constructor refuses (std::invalid_argument) more than 27 controllers and a
    // channel count outside 1..32. A line may offer more zones than the station's
    // 270: the station then takes only the controllers that fit.
    int controllerCount() const;
    int zoneCount() const;
    bool present(int address) const;           // a controller exists at this address
    // Configuration of a controller; for an address without one, a configuration
    // with 0 channels.
    const ControllerConfig& config(int address) const;
    int masterOf(int address) const;           // the last non-slave at or before it (1 when none); 0 = no controller

    // --- time ------------------------------------------------------------------------
    // Runs the physical model (thermal, PID, tuning) in steps of 0.1 s; the
    // remainder is kept for the next call. CPU time grows with the span: an hour
    // of 270 zones takes about half a second. Negative, NaN or infinite: ignored.
    void advance(double seconds);
    double time() const;                        // plant seconds since construction
    void setClock(std::int32_t secondsSinceMidnight);  // clock equalisation
    std::int32_t clock() const;                 // the controllers' clock, seconds since midnight

    // --- zone values (what the cyclic scan reads) ---------------------------------------
    std::int16_t setpoint(int a, int c) const;
    std::int16_t actual(int a, int c) const;    // whole degrees of the controller's unit; kNoValue if unreadable
    std::int32_t statusWord(int a, int c) const;  // status bits incl. mode bits 0x60, tuning 0x100/0x80
    std::int16_t output(int a, int c) const;    // percent 0..100
    std::int16_t currentTenths(int a, int c) const;  // heater current in 0.1 A
    bool outputsOn(int a) const;                // "?ENA" of the controller's master

    // --- zone writes (ZEV485_SetValEx codes); true = accepted -----------------------------
    bool setSetpoint(int a, int c, int value);        // code 0
    bool setZoneParameter(int a, int c, int p, int value);  // codes 1..28
    bool setMode(int a, int c, int mode);             // code 2001: 0 off, 1 manual, 2 control
    bool setTuning(int a, int c, bool on);            // code 2002
    bool ackTuningFault(int a, int c);                // code 2003
    bool setOutput(int a, int c, int percent);        // code 3000 (manual output)
    std::optional<int> zoneParameter(int a, int c, int p) const;  // 1..28

    // --- controller-wide text values ("?KAN", "?AZ#", "?DTP", "?TYP", "?UNT", "?APM",
    //     "?HIW", "?ENA" and the global parameter codes of the driver files) --------------
    // Reads give the reply value text (e.g. "0016"); nullopt when the mnemonic is unknown.
    std::optional<std::string> readGlobal(int a, const std::string& mnemonic) const;
    // Writes a numeric value; false when unknown, read-only or out of range.
    bool writeGlobal(int a, const std::string& mnemonic, long value);
    void restart(int a);          // "XRES"
    void factoryDefaults(int a);  // "XSTD"

    // --- faults ----------------------------------------------------------------------
    // false when the fault names no zone or controller of the plant (or a crossing
    // of a zone with itself), or is already active / not active.
    bool inject(const Fault& fault);
    bool clear(const Fault& fault);   // a crossing without partner clears every crossing of the zone
    void clearAllFaults();
    std::vector<Fault> faults() const;
    bool silent(int a) const;     // ControllerSilent active
    bool garbled(int a) const;    // GarbledReplies active

    // --- direct control for tests and scenarios -------------------------------------------
    void setActual(int a, int c, int degrees);   // force a temperature (e.g. a cold start),
                                                 // in the controller's unit
    void setAmbient(double degrees);             // degrees C, mould and cabinet alike
    double ambient() const;
    // Peak measurement noise in kelvin (default 0.2); 0 makes readings exact.
    void setNoise(double kelvin);

private:
    struct Impl;
    Impl* d;
};

}  // namespace zevsim
