// The pure rules of the parameter view: table cells, the input tab's display
// of a selection, the selection's caption.
#include "parameter_fixture.h"

#include "plant/zone_selection.h"
#include "parameters/input_display.h"
#include "parameters/selection_caption.h"
#include "parameters/table_rules.h"

namespace zev::test {
namespace {

TEST(ParameterTableRules, CellsOfTheRecipeAndValueTables) {
    const struct {
        int value, target;
        bool writable;
        CellLook recipe, values;
    } cases[] = {
        {250, 250, true, {"250", 0xFFFFFF}, {"250", 0xFFFFFF}},
        {250, 260, true, {"260", 0x00FFFF}, {"250", 0xFFFFFF}},   // the recipe wants another value
        {250, kNoValue, true, {"", 0xFFFFFF}, {"250", 0xFFFFFF}},  // no recipe value: nothing to send
        {kNoValue, 260, true, {"260", 0x0000FF}, {"", 0x0000FF}},  // the controller's value unknown
        {5, 7, false, {"7", 0xE0E0E0}, {"5", 0xE0E0E0}},           // read-only
        {-10, -10, true, {"-10", 0xFFFFFF}, {"-10", 0xFFFFFF}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(recipeCell(c.value, c.target, c.writable), c.recipe) << c.value << " " << c.target;
        EXPECT_EQ(valueCell(c.value, c.writable), c.values) << c.value;
    }
}

class SelectionDisplay : public ::testing::Test {
protected:
    SelectionDisplay() {
        PlantData& p = ctx().plant;
        p.ZoneCount = 4;
        const struct {
            int mode, tune, setpoint, actual, output;
            float current;
            bool monitor;
        } zones[] = {{2, 0, 200, 198, 40, 1.5F, false},
                     {2, 1, 220, kNoValue, 55, 2.4F, false},
                     {2, 0, kNoValue, 150, kNoValue, static_cast<float>(kNoValue), true},
                     {1, 0, 210, 205, 30, 1.8F, false}};
        for (int z = 1; z <= 4; ++z) {
            ZoneRecord& r = p.zone(z);
            const auto& v = zones[z - 1];
            r.Name = QStringLiteral("Düse %1").arg(z);
            r.Mode = static_cast<std::uint8_t>(v.mode);
            r.TuneState = static_cast<std::uint8_t>(v.tune);
            r.Setpoint = static_cast<std::int16_t>(v.setpoint);
            r.ActualValue = static_cast<std::int16_t>(v.actual);
            r.OutputRate = static_cast<std::int16_t>(v.output);
            r.Current = v.current;
            r.ModeFlag = v.monitor;
            r.Group = static_cast<std::uint8_t>(z <= 2 ? 1 : 0);
        }
        ctx().driver.ZoneParameters[2].Value[1] = 12;
        ctx().driver.ZoneParameters[2].Value[2] = 15;
        ctx().tool.Groups[1].Name = QStringLiteral("Düsenseite");
    }
    AppContext& ctx() { return *t.ctx; }
    std::vector<bool> sel(std::initializer_list<int> zones) {
        std::vector<bool> s(5, false);
        for (int z : zones) s[static_cast<std::size_t>(z)] = true;
        return s;
    }
    TestContext t{1};
};

TEST_F(SelectionDisplay, CommonModeTuningAndRangesIgnoringMissingValues) {
    const InputDisplay three = computeInputDisplay(ctx(), sel({1, 2, 3}), 2);
    EXPECT_EQ(three.mode, 2);
    EXPECT_EQ(three.tuning, CommonTuning::Mixed);  // the monitor zone does not count
    EXPECT_EQ(rangeText(three.setpoint, QStringLiteral("°C")), QStringLiteral("200 .. 220 °C"));
    EXPECT_EQ(rangeText(three.actual, QStringLiteral("°C")), QStringLiteral("150 .. 198 °C"));
    EXPECT_EQ(rangeText(three.output, QStringLiteral("%")), QStringLiteral("40 .. 55 %"));
    EXPECT_EQ(rangeText(three.current, QStringLiteral("A"), 1), QStringLiteral("1.5 .. 2.4 A"));
    EXPECT_EQ(rangeText(three.parameter, QString()), QStringLiteral("12 .. 15"));
    EXPECT_EQ(three.single, 0);

    const InputDisplay differing = computeInputDisplay(ctx(), sel({1, 4}), 0);
    EXPECT_EQ(differing.mode, -1);  // no mode option selected
    EXPECT_EQ(differing.tuning, CommonTuning::Off);
    EXPECT_FALSE(differing.parameter.known);

    const InputDisplay one = computeInputDisplay(ctx(), sel({2}), 2);
    EXPECT_EQ(one.single, 2);
    EXPECT_EQ(one.tuning, CommonTuning::On);
    EXPECT_EQ(rangeText(one.setpoint, QStringLiteral("°C")), QStringLiteral("220 °C"));
    EXPECT_FALSE(one.actual.known);

    const InputDisplay monitorOnly = computeInputDisplay(ctx(), sel({3}), 0);
    EXPECT_EQ(monitorOnly.tuning, CommonTuning::None);
}

TEST_F(SelectionDisplay, CaptionNamesTheZoneOrTheBoxesThatChoseThem) {
    ZoneSelectionControls c;
    std::vector<bool> s;
    EXPECT_EQ(GetSelZoneText(ctx(), c, sel({})), QStringLiteral("Keine Zonen ausgewählt"));
    c.singleZoneCheck = true;
    c.singleZone = 3;
    CheckSelZone(ctx().plant, c, s);
    EXPECT_EQ(GetSelZoneText(ctx(), c, s), QStringLiteral("Düse 3"));
    c.groupChecks[1] = true;
    c.groupChecks[5] = true;  // ticked, but no zone is in group 5
    CheckSelZone(ctx().plant, c, s);
    EXPECT_EQ(GetSelZoneText(ctx(), c, s), QStringLiteral("Düsenseite, Zone 3 (3 Zonen)"));
    c.groupChecks[0] = true;
    CheckSelZone(ctx().plant, c, s);
    EXPECT_EQ(GetSelZoneText(ctx(), c, s), QStringLiteral("Düsenseite, Gruppenlos, Zone 3 (4 Zonen)"));
}

}  // namespace
}  // namespace zev::test
