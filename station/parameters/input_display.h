// What the input tab shows for the selected zones (Timer2_Timer): the common
// operating mode, the common tuning state of the zones that can tune, and the
// range of each value over the selection, values without a reading left out.
#pragma once

#include <QString>
#include <vector>

namespace zev {

struct AppContext;

struct ValueRange {
    bool known = false;
    double min = 0.0;
    double max = 0.0;
    void add(double v);
};

enum class CommonTuning { None, Off, On, Mixed };  // None: no zone that can tune

struct InputDisplay {
    int mode = -1;   // -1: the zones differ (no mode option selected) or none is selected
    CommonTuning tuning = CommonTuning::None;
    ValueRange setpoint, actual, output, current, parameter;
    int count = 0;
    int single = 0;  // the zone when exactly one is selected
};

// currentParameter 1..28 (0: none).
InputDisplay computeInputDisplay(const AppContext& ctx, const std::vector<bool>& SelectedZones, int currentParameter);

// "200 °C", "200 .. 220 °C"; empty without a value. decimals: places shown.
QString rangeText(const ValueRange& range, const QString& unit, int decimals = 0);

}  // namespace zev
