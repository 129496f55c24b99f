// The overview's display rules on a real label (offscreen): one table of zone
// states, blink phases and rules with what the label must show.
#include "overview_fixture.h"

#include "views/deviation_bar.h"
#include "widgets/display_rules.h"
#include "plant/zone_table.h"

#include <QCoreApplication>
#include <functional>
#include <optional>

namespace zev::test {
namespace {

// A zone's state; the defaults are the healthy control zone of the fixture.
struct Zone {
    int mode = 2, setpoint = 200, actual = 198;
    const char* status = "";
    std::int32_t statusWord = 0;
    int tune = 0;
    float current = 2.5F;
    const char* currentText = "2.5";
    const char* unit = "°C";
};

using Rule = std::function<bool(AppContext&, int, QLabel*)>;
const Rule X = DispX, Y = DispY, I = DispI, D = DispDiff_XW;
const Rule W = [](AppContext& c, int z, QLabel* l) { return DispW(c, z, l, look::white()); };   // beside a difference
const Rule WY = [](AppContext& c, int z, QLabel* l) { return DispW(c, z, l, look::yellow()); };  // beside an actual value
Rule val(int kind) {
    return [=](AppContext& c, int z, QLabel* l) { return DispVal(c, z, l, kind); };
}

class DisplayRules : public OverviewFixture {
protected:
    void SetUp() override { fillZones(3); }
    void set(const Zone& s) {
        ZoneRecord& z = zone(1);
        z.Mode = static_cast<std::uint8_t>(s.mode);
        z.Setpoint = static_cast<std::int16_t>(s.setpoint);
        z.ActualValue = static_cast<std::int16_t>(s.actual);
        z.StatusShort = QString::fromLatin1(s.status);
        z.StatusWord = s.statusWord;
        z.TuneState = static_cast<std::uint8_t>(s.tune);
        z.Current = s.current;
        z.CurrentText = QString::fromLatin1(s.currentText);
        ctx.plant.TemperatureUnit = QString::fromUtf8(s.unit);
    }
    // Applies the rule to zone 1 in that state and phase on the test's label.
    LabelLook show(const Zone& state, int phase, const Rule& rule, int zone = 1) {
        set(state);
        ctx.BlinkPhase = phase;
        rule(ctx, zone, &label);
        return currentLook(&label);
    }
    LabelLook shown() const { return currentLook(&label); }
    QLabel label;
};

const Zone ok, off{.setpoint = 0}, manual{.mode = 1}, ssr{.status = "SSR", .statusWord = 0x10000};

// Every row: a state, a blink phase, and the texts of DispX, DispW, DispY,
// DispI, DispDiff_XW (nullptr: not looked at). One label serves the whole
// table, so that each rule must also overwrite what the one before left.
TEST_F(DisplayRules, TextsOfEveryRuleInEveryState) {
    struct Row {
        const char* what;
        Zone zone;
        int phase;
        const char* texts[5];
    };
    const Row rows[] = {
        {"control zone: values with their unit", ok, 1, {"198 °C", "200 °C", "35 %", "2.5 A", "-2 °C"}},
        {"current without its text", {.current = 12.34F, .currentText = ""}, 1, {nullptr, nullptr, nullptr, "12.3 A"}},
        {"setpoint 0 switches a control zone off", off, 1, {"---", "---", "---", "---", "---"}},
        {"even in alarm", {.setpoint = 0, .status = "-E-"}, 3, {"---"}},
        {"32 is off only in Fahrenheit", {.setpoint = 0, .unit = "°F"}, 1, {"198 °F"}},
        {"status shown in phase 3 only", ssr, 1, {"198 °C", nullptr, nullptr, nullptr, "-2 °C"}},
        {"", ssr, 2, {"198 °C", nullptr, nullptr, nullptr, "-2 °C"}},
        {"", ssr, 3, {"SSR", nullptr, nullptr, nullptr, "SSR"}},
        {"", ssr, 1, {"198 °C", nullptr, nullptr, nullptr, "-2 °C"}},
        {"a zone without status never blinks", ok, 3, {"198 °C"}},
        {"status without an actual value", {.actual = kNoValue, .status = "-E-"}, 3, {"-E-"}},
        {"", {.actual = kNoValue, .status = "-E-"}, 1, {""}},
        {"tuning replaces the setpoint", {.tune = 1}, 1, {nullptr, "Tuning"}},
        {"", {.tune = 2}, 1, {nullptr, "Tuning"}},
        {"manual: -P- in phase 3", manual, 1, {nullptr, "200 °C", "35 %"}},
        {"", manual, 2, {nullptr, "200 °C"}},
        {"", manual, 3, {nullptr, "-P-"}},
        {"manual and off still measures", {.mode = 1, .setpoint = 0}, 1, {"198 °C", "---"}},
        {"", {.mode = 1, .setpoint = 0, .actual = kNoValue}, 1, {"---"}},
        {"mode 0 shows nothing", {.mode = 0}, 1, {"", nullptr, "", "", ""}},
        {"a monitor zone measures", {.mode = 3, .status = "-HH-"}, 2, {"198 °C"}},
        {"", {.mode = 3, .status = "-HH-"}, 3, {"-HH-", ""}},
    };
    const Rule* rules[] = {&X, &WY, &Y, &I, &D};
    for (const Row& r : rows)
        for (int k = 0; k < 5; ++k)
            if (r.texts[k]) {
                EXPECT_EQ(show(r.zone, r.phase, *rules[k]).text, r.texts[k]) << r.what << ", phase " << r.phase << ", rule " << k;
            }
    // DispVal by kind, and zones outside the table.
    const char* byKind[] = {"198 °C", "200 °C", "35 %", "2.5 A", ""};
    for (int kind = 0; kind <= 4; ++kind)
        EXPECT_EQ(show(ok, 1, val(kind)).text, byKind[kind]) << kind;
    for (int bad : {0, -1, 271})
        EXPECT_EQ(show(ok, 1, val(kActualValue), bad).text, "") << bad;
}

// Colours and weight: yellow behind values, cyan for manual mode and tuning,
// bold red for a status shown.
TEST_F(DisplayRules, ColoursAndWeight) {
    const QColor &yellow = look::yellow(), &cyan = look::cyan(), &red = look::red(), &black = look::black(),
                 &white = look::white();
    const std::tuple<Zone, int, Rule, LabelLook> rows[] = {
        {ok, 1, X, {"198 °C", yellow, black, false}},
        {ok, 1, W, {"200 °C", white, black, false}},
        {ok, 1, val(kSetpoint), {"200 °C", yellow, black, false}},
        {ssr, 3, X, {"SSR", yellow, red, true}},
        {ssr, 1, X, {"198 °C", yellow, black, false}},
        {ok, 3, X, {"198 °C", yellow, black, false}},
        {{.tune = 1}, 1, W, {"Tuning", cyan, black, true}},
        {{.tune = 2}, 1, W, {"Tuning", cyan, black, true}},
        {ok, 1, W, {"200 °C", white, black, false}},
        {manual, 1, WY, {"200 °C", cyan, black, false}},
        {manual, 2, WY, {"200 °C", cyan, black, false}},
        {manual, 3, WY, {"-P-", cyan, black, false}},
        {manual, 1, Y, {"35 %", cyan, black, false}},
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        const auto& [state, phase, rule, expected] = rows[i];
        EXPECT_EQ(show(state, phase, rule), expected) << "row " << i;
    }
}

TEST_F(DisplayRules, ZoneIsOffAtSetpointZeroOr32Fahrenheit) {
    zone(1).Setpoint = 0;
    EXPECT_FALSE(IsZoneActive(ctx, 1));
    zone(1).Setpoint = 32;
    EXPECT_TRUE(IsZoneActive(ctx, 1));
    ctx.plant.TemperatureUnit = QStringLiteral("°F");
    EXPECT_FALSE(IsZoneActive(ctx, 1));
    zone(1).Setpoint = 0;
    EXPECT_TRUE(IsZoneActive(ctx, 1));
}

// A missing value (-10024) never appears as a number, whatever the mode, phase
// or rule.
TEST_F(DisplayRules, NoValueIsNeverShownAsANumber) {
    set({.setpoint = kNoValue, .actual = kNoValue, .current = kNoValue, .currentText = ""});
    zone(1).OutputRate = kNoValue;
    for (int mode = 0; mode <= 3; ++mode)
        for (int phase = 1; phase <= 3; ++phase)
            for (int kind = 0; kind <= 3; ++kind) {
                zone(1).Mode = static_cast<std::uint8_t>(mode);
                ctx.BlinkPhase = phase;
                DispVal(ctx, 1, &label, kind);
                EXPECT_FALSE(shown().text.contains("10024")) << mode << phase << kind;
                DispDiff_XW(ctx, 1, &label);
                EXPECT_FALSE(shown().text.contains("10024")) << mode << phase;
            }
}

TEST_F(DisplayRules, WritesNothingWhenNothingChanged) {
    label.resize(120, 30);
    label.show();
    EventCounter counter;
    counter.watch(&label);
    zone(1).StatusShort = QStringLiteral("SSR");
    ctx.BlinkPhase = 3;
    EXPECT_TRUE(DispX(ctx, 1, &label));
    QCoreApplication::processEvents();
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(counter.changes, 2);  // colours and bold
    counter.paints = counter.changes = 0;
    EXPECT_FALSE(DispX(ctx, 1, &label));
    QCoreApplication::processEvents();
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(counter.changes, 0);
    // Back to the value: colour and weight change again.
    ctx.BlinkPhase = 1;
    EXPECT_TRUE(DispX(ctx, 1, &label));
    EXPECT_EQ(counter.changes, 2);
}

// 67.5 twips per degree from the zero line at 930, at most 675 (10 degrees).
TEST_F(DisplayRules, DeviationBarScale) {
    const std::tuple<const char*, Zone, BarSpan> cases[] = {
        {"20 degrees too cold: full length to the right", {.actual = 180}, {930.0, 675.0, false, false}},
        {"4 degrees too hot: ending at the zero line", {.actual = 204}, {660.0, 270.0, false, false}},
        {"a faulty zone's bar is red", {.actual = 204, .statusWord = 0x400}, {660.0, 270.0, true, false}},
    };
    for (const auto& [what, state, span] : cases) {
        set(state);
        EXPECT_EQ(deviationSpan(ctx, 1), span) << what;
    }
    for (const Zone& none : {Zone{.actual = kNoValue}, Zone{.mode = 0, .actual = 204}}) {
        set(none);
        EXPECT_TRUE(deviationSpan(ctx, 1).empty) << "no bar without values or in mode 0";
    }
}

TEST_F(DisplayRules, DeviationBarInPixelsAndRedrawOnlyOnChange) {
    DeviationBar picDiff;
    picDiff.resize(186, 20);  // 10 twips per pixel
    zone(1).ActualValue = 196;  // 4 degrees: 270 twips
    EXPECT_TRUE(dispWXDiff(ctx, 1, &picDiff));
    EXPECT_DOUBLE_EQ(picDiff.barRect().left(), 93.0);
    EXPECT_DOUBLE_EQ(picDiff.barRect().width(), 27.0);
    EXPECT_FALSE(dispWXDiff(ctx, 1, &picDiff));
    zone(1).StatusWord = 0x200;
    EXPECT_TRUE(dispWXDiff(ctx, 1, &picDiff));
    picDiff.resize(372, 20);  // the same bar scales with the widget
    EXPECT_DOUBLE_EQ(picDiff.barRect().width(), 54.0);
}

}  // namespace
}  // namespace zev::test
