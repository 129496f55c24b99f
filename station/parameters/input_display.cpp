#include "parameters/input_display.h"

#include "base/app_context.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"

#include <algorithm>

namespace zev {

void ValueRange::add(double v) {
    if (!known) {
        min = max = v;
        known = true;
        return;
    }
    min = std::min(min, v);
    max = std::max(max, v);
}

InputDisplay computeInputDisplay(const AppContext& ctx, const std::vector<bool>& SelectedZones, int currentParameter) {
    InputDisplay d;
    bool modeSeen = false;
    bool modesDiffer = false;
    const bool parameterValid = currentParameter >= 1 && currentParameter <= kZoneParameterCount;
    for (std::size_t z = 1; z < SelectedZones.size() && z <= static_cast<std::size_t>(kMaxZones); ++z) {
        if (!SelectedZones[z]) continue;
        const ZoneRecord& zone = ctx.plant.zone(static_cast<int>(z));
        ++d.count;
        d.single = static_cast<int>(z);
        if (!modeSeen) {
            d.mode = zone.Mode;
            modeSeen = true;
        } else if (d.mode != zone.Mode) {
            modesDiffer = true;
        }
        if (!zone.ModeFlag) {
            const CommonTuning t = zone.TuneState == 1 ? CommonTuning::On : CommonTuning::Off;
            d.tuning = d.tuning == CommonTuning::None || d.tuning == t ? t : CommonTuning::Mixed;
        }
        if (zone.Setpoint != kNoValue) d.setpoint.add(zone.Setpoint);
        if (zone.ActualValue != kNoValue) d.actual.add(zone.ActualValue);
        if (zone.OutputRate != kNoValue) d.output.add(zone.OutputRate);
        if (zone.Current != static_cast<float>(kNoValue)) d.current.add(zone.Current);
        if (parameterValid) {
            const int v = ctx.driver.ZoneParameters[static_cast<std::size_t>(currentParameter)].Value[z];
            if (v != kNoValue) d.parameter.add(v);
        }
    }
    if (modesDiffer) d.mode = -1;
    if (d.count != 1) d.single = 0;
    return d;
}

QString rangeText(const ValueRange& range, const QString& unit, int decimals) {
    if (!range.known) return {};
    const QString tail = unit.isEmpty() ? QString() : QLatin1Char(' ') + unit;
    const QString min = QString::number(range.min, 'f', decimals);
    if (range.min == range.max) return min + tail;
    return min + QStringLiteral(" .. ") + QString::number(range.max, 'f', decimals) + tail;
}

}  // namespace zev
