// The common zone selection: a zone is selected by its group's box, by the
// "selection" box when marked in the group editor, or as the single zone.
#include "plant/zone_selection.h"
#include "plant/zone_table.h"

#include <gtest/gtest.h>

namespace zev {
namespace {

PlantData plant() {
    PlantData p;
    p.ZoneCount = 6;
    const std::uint8_t groups[6] = {0, 1, 1, 2, 8, 0};
    for (int z = 1; z <= 6; ++z) p.zone(z).Group = groups[z - 1];
    p.zone(6).Selected = true;
    p.zone(4).Selected = true;
    return p;
}

std::vector<int> chosen(const std::vector<bool>& s) {
    std::vector<int> out;
    for (std::size_t z = 1; z < s.size(); ++z)
        if (s[z]) out.push_back(static_cast<int>(z));
    return out;
}

TEST(CheckSelZone, GroupBoxesSelectTheirZones) {
    const PlantData p = plant();
    ZoneSelectionControls c;
    std::vector<bool> s;
    EXPECT_EQ(CheckSelZone(p, c, s), 0);
    EXPECT_EQ(s.size(), 7u);
    c.groupChecks[1] = true;
    EXPECT_EQ(CheckSelZone(p, c, s), 2);
    EXPECT_EQ(chosen(s), (std::vector<int>{2, 3}));
    c.groupChecks[0] = true;  // "without group"
    EXPECT_EQ(CheckSelZone(p, c, s), 4);
    EXPECT_EQ(chosen(s), (std::vector<int>{1, 2, 3, 6}));
}

TEST(CheckSelZone, SelectionBoxTakesTheMarkedZonesAndTheSingleZoneItsNumber) {
    PlantData p = plant();
    ZoneSelectionControls c;
    std::vector<bool> s;
    c.groupChecks[kSelectionBox] = true;
    EXPECT_EQ(CheckSelZone(p, c, s), 2);
    EXPECT_EQ(chosen(s), (std::vector<int>{4, 6}));
    c.groupChecks[kSelectionBox] = false;
    c.singleZone = 5;
    EXPECT_EQ(CheckSelZone(p, c, s), 0) << "the single-zone box is not ticked";
    c.singleZoneCheck = true;
    EXPECT_EQ(CheckSelZone(p, c, s), 1);
    EXPECT_EQ(chosen(s), (std::vector<int>{5}));
    c.groupChecks[8] = true;  // zone 5 twice over still counts once
    EXPECT_EQ(CheckSelZone(p, c, s), 1);
}

TEST(CheckSelZone, BadTableValuesNeverReachOutside) {
    PlantData p = plant();
    p.zone(3).Group = 200;  // not a group: counts as without group
    ZoneSelectionControls c;
    c.groupChecks[0] = true;
    std::vector<bool> s;
    EXPECT_EQ(CheckSelZone(p, c, s), 3);
    EXPECT_EQ(chosen(s), (std::vector<int>{1, 3, 6}));
    p.ZoneCount = 999;
    c.groupChecks.fill(true);
    EXPECT_EQ(CheckSelZone(p, c, s), kMaxZones);
    p.ZoneCount = -4;
    EXPECT_EQ(CheckSelZone(p, c, s), 0);
    EXPECT_EQ(s.size(), 1u);
}

}  // namespace
}  // namespace zev
