#include "parameter_table.h"

#include <algorithm>
#include <cstdio>

namespace zevsim {

std::string formatField(long value) {
    value = std::clamp(value, -999L, 9999L);
    char text[8];
    if (value < 0)
        std::snprintf(text, sizeof text, "-%03ld", -value);
    else
        std::snprintf(text, sizeof text, "%04ld", value);
    return text;
}

namespace {

using Q = Quantity;

// The full parameter set of the 16-channel family. Names carry their unit; a
// degree sign stands for the controller's own unit (Celsius or Fahrenheit).
// Names hold no '=', so that the INI view of a driver file sees no stray keys.
std::array<ZoneParameterDef, kZoneParameterCount> fullZoneTable() {
    return {{
        {"Sollwert-Rampe [°/min]", "Setpoint ramp [°/min]", 0, 999, 0, Q::Difference},
        {"P-Anteil (Xp) [°]", "Proportional band (Xp) [°]", 1, 999, 12, Q::Difference},
        {"I-Anteil (Tn) [s]", "Integral time (Tn) [s]", 0, 9999, 90, Q::Plain},
        {"D-Anteil (Tv) [s]", "Derivative time (Tv) [s]", 0, 999, 8, Q::Plain},
        {"Stellgradbegrenzung [%]", "Output limit [%]", 0, 100, 100, Q::Plain},
        {"Toleranz + (DEV) [°]", "Tolerance + (DEV) [°]", 1, 99, 10, Q::Difference},
        {"Toleranz - (DEV) [°]", "Tolerance - (DEV) [°]", 1, 99, 10, Q::Difference},
        {"Alarmgrenze Temperatur H [°]", "Alarm limit temperature H [°]", 1, 999, 30, Q::Difference},
        {"Alarmgrenze Temperatur L [°]", "Alarm limit temperature L [°]", 1, 999, 30, Q::Difference},
        {"Sollwert max. [°]", "Setpoint max. [°]", 0, 999, 500, Q::Temperature},
        {"Fühlertyp (0 J, 1 K)", "Sensor type (0 J, 1 K)", 0, 0, 0, Q::Plain},
        {"Nennstrom [0,1 A]", "Nominal current [0.1 A]", 0, 999, 0, Q::Plain},
        {"Stromtoleranz [%]", "Current tolerance [%]", 1, 99, 20, Q::Plain},
        {"Anfahrschaltung", "Soft start", 0, 1, 0, Q::Plain},
        {"Istwert-Korrektur [°]", "Actual value offset [°]", -99, 99, 0, Q::Difference},
        {"Istwertfilter [s]", "Actual value filter [s]", 0, 99, 0, Q::Plain},
        {"Stellgrad bei Fühlerbruch [%]", "Output at sensor break [%]", 0, 100, 0, Q::Plain},
        {"Stellgrad-Toleranz [%]", "Output rate tolerance [%]", 0, 100, 0, Q::Plain},
        {"Stellgrad-Referenz [%]", "Output rate reference [%]", 0, 100, 0, Q::Plain},
        {"Leckstromüberwachung", "Leakage current supervision", 0, 1, 1, Q::Plain},
        {"Stromüberwachung", "Current supervision", 0, 1, 1, Q::Plain},
        {"Strom max. [0,1 A]", "Current max. [0.1 A]", 0, 999, 0, Q::Plain},
        {"Strom min. [0,1 A]", "Current min. [0.1 A]", 0, 999, 0, Q::Plain},
        {"Beobachterzone", "Monitor zone", 0, 1, 0, Q::Plain},
        {"Heizleistung [W]", "Heater power [W]", 0, 0, 0, Q::Plain},
        {"Kanal", "Channel", 0, 0, 0, Q::Plain},
        {},
        {},
    }};
}

std::vector<GlobalParameterDef> fullGlobals() {
    return {
        {"HIW", "Hochgrenze HI-Wert [°]", "High limit HI value [°]", 0, 999, 500, Q::Temperature},
        {"APM", "Auto-Power-Modus", "Auto power mode", 0, 1, 1, Q::Plain},
        {"ENA", "Ausgänge EIN", "Outputs ON", 0, 1, 1, Q::Plain},
        {"UNT", "Temperatureinheit (0 °C, 1 °F)", "Temperature unit (0 °C, 1 °F)", 0, 0, 0,
         Q::Plain, false},
        {"KAN", "Anzahl Zonen", "Number of zones", 0, 0, 0, Q::Plain, false},
    };
}

ControllerFamily family12() {
    ControllerFamily f;
    f.az = 12;
    f.title = "ZEV-16";
    f.boost = true;
    f.languages = DriverLanguages::GermanAndEnglish;
    f.zone = fullZoneTable();
    f.globals = fullGlobals();
    f.infos = {
        {"Gerätefamilie", "Device family", "ZEV-16 Heißkanalregler", "ZEV-16 hot-runner controller"},
        {"Zonen je Gerät", "Zones per unit", "1 bis 32", "1 to 32"},
        {"Heizstrom", "Heater current", "in 0,1 A", "in 0.1 A"},
        {"Temperaturen", "Temperatures", "in der Einheit des Geräts", "in the unit of the device"},
    };
    return f;
}

// The compact family: no boost, no output rate supervision, no leakage and no
// absolute current limits.
ControllerFamily family7() {
    ControllerFamily f;
    f.az = 7;
    f.title = "ZEV-8 compact";
    f.boost = false;
    f.languages = DriverLanguages::Neutral;
    f.zone = fullZoneTable();
    for (int p : {param::OutputTolerance, param::OutputReference, param::LeakageSupervision,
                  param::CurrentMax, param::CurrentMin})
        f.zone[static_cast<size_t>(p - 1)] = ZoneParameterDef{};
    f.globals = fullGlobals();
    f.infos = {
        {"Gerätefamilie", "Device family", "ZEV-8 compact", "ZEV-8 compact"},
        {"Boost", "Boost", "nicht vorhanden", "not available"},
    };
    return f;
}

template <typename Def>
int convertedDefault(const Def& def, bool fahrenheit) {
    const int v = roundToInt(fromCelsius(def.defaultCelsius, fahrenheit, def.quantity));
    return std::clamp(v, std::min(def.min, def.max), std::max(def.min, def.max));
}

}  // namespace

const GlobalParameterDef* ControllerFamily::global(const std::string& code) const {
    for (const auto& g : globals)
        if (code == g.code) return &g;
    return nullptr;
}

const std::vector<ControllerFamily>& controllerFamilies() {
    static const std::vector<ControllerFamily> families{family7(), family12()};
    return families;
}

bool knownFamily(int az) {
    for (const auto& f : controllerFamilies())
        if (f.az == az) return true;
    return false;
}

const ControllerFamily& familyFor(int az) {
    for (const auto& f : controllerFamilies())
        if (f.az == az) return f;
    return controllerFamilies().back();
}

int defaultFor(const ZoneParameterDef& def, bool fahrenheit) {
    return convertedDefault(def, fahrenheit);
}

int defaultFor(const GlobalParameterDef& def, bool fahrenheit) {
    return convertedDefault(def, fahrenheit);
}

}  // namespace zevsim
