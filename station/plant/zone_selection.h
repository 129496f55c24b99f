// The common zone selection of the parameter, alarm, trend and diagnosis views:
// ten group boxes (0 = zones without group, 1..8 the groups, 9 = the zones
// marked in the group editor) and one single-zone box whose caption is a zone
// number. The views keep the controls; the rule lives here so that all of them
// select alike.
#pragma once

#include <array>
#include <vector>

namespace zev {

struct PlantData;

constexpr int kSelectionBoxCount = 10;  // µchkGroup(0..9)
constexpr int kSelectionBox = 9;        // "Auswahl": the marked zones

struct ZoneSelectionControls {
    std::array<bool, kSelectionBoxCount> groupChecks{};  // µchkGroup(0..9) ticked
    bool singleZoneCheck = false;                        // chkSingleZone ticked
    int singleZone = 1;                                  // the caption of chkSingleZone
};

// Fills SelectedZones (index 1..ZoneCount; element 0 unused, resized to
// ZoneCount + 1) and returns the count of selected zones. A zone is selected when
// the box of its group is ticked, otherwise when box 9 is ticked and the zone is
// marked, otherwise when the single-zone box is ticked and carries its number.
// A group number outside 0..8 counts as "without group".
int CheckSelZone(const PlantData& plant, const ZoneSelectionControls& controls,
                 std::vector<bool>& SelectedZones);

}  // namespace zev
