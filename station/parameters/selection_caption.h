// The caption of the current zone selection (lblZonenName, and the prompts of
// the number pad): one zone by its name; several by the boxes that chose them
// and their count; none by "Keine Zonen ausgewählt".
#pragma once

#include "plant/zone_selection.h"

#include <QString>
#include <vector>

namespace zev {

struct AppContext;

QString GetSelZoneText(AppContext& ctx, const ZoneSelectionControls& controls, const std::vector<bool>& SelectedZones);

}  // namespace zev
