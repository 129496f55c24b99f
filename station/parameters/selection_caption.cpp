#include "parameters/selection_caption.h"

#include "parameters/parameter_texts.h"
#include "base/app_context.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/texts.h"

namespace zev {

QString GetSelZoneText(AppContext& ctx, const ZoneSelectionControls& controls, const std::vector<bool>& SelectedZones) {
    int count = 0;
    int only = 0;
    for (std::size_t z = 1; z < SelectedZones.size(); ++z)
        if (SelectedZones[z]) {
            ++count;
            only = static_cast<int>(z);
        }
    if (count == 0) return ctx.texts(ParamText::PrintNoZones);
    if (count == 1) {
        const QString& name = ctx.plant.zone(only).Name;
        return name.isEmpty() ? ctx.texts(ParamText::ZoneCaption) + QString::number(only) : name;
    }
    // The boxes that chose zones, in the order the panel shows them.
    QStringList parts;
    auto boxChose = [&](int box) {
        for (std::size_t z = 1; z < SelectedZones.size(); ++z) {
            const ZoneRecord& zone = ctx.plant.zone(static_cast<int>(z));
            const bool chosen = box == kSelectionBox ? zone.Selected : (zone.Group < kSelectionBox ? zone.Group : 0) == box;
            if (chosen) return true;
        }
        return false;
    };
    for (int box : {1, 2, 3, 4, 5, 6, 7, 8, 0, kSelectionBox}) {
        if (!controls.groupChecks[static_cast<std::size_t>(box)] || !boxChose(box)) continue;
        if (box == 0) parts << ctx.texts(ParamText::WithoutGroup);
        else if (box == kSelectionBox) parts << ctx.texts(ParamText::Selection);
        else parts << ctx.tool.Groups[static_cast<std::size_t>(box)].Name;
    }
    if (controls.singleZoneCheck && controls.singleZone >= 1 &&
        static_cast<std::size_t>(controls.singleZone) < SelectedZones.size())
        parts << ctx.texts(ParamText::ZoneCaption) + QString::number(controls.singleZone);
    return parts.join(QStringLiteral(", ")) + QStringLiteral(" (") + QString::number(count) +
           ctx.texts(ParamText::Zones) + QLatin1Char(')');
}

}  // namespace zev
