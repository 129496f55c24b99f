#include "plant/zone_selection.h"

#include "plant/zone_table.h"

#include <algorithm>

namespace zev {

int CheckSelZone(const PlantData& plant, const ZoneSelectionControls& controls,
                 std::vector<bool>& SelectedZones) {
    const int count = std::clamp(plant.ZoneCount, 0, kMaxZones);
    SelectedZones.assign(static_cast<std::size_t>(count) + 1, false);
    int selected = 0;
    for (int z = 1; z <= count; ++z) {
        const ZoneRecord& zone = plant.zone(z);
        const int group = zone.Group < kSelectionBox ? zone.Group : 0;
        const bool on = controls.groupChecks[static_cast<std::size_t>(group)] ||
                        (controls.groupChecks[kSelectionBox] && zone.Selected) ||
                        (controls.singleZoneCheck && controls.singleZone == z);
        SelectedZones[static_cast<std::size_t>(z)] = on;
        if (on) ++selected;
    }
    return selected;
}

}  // namespace zev
