// The overview's display rules on real labels (offscreen).
#include "overview_fixture.h"

#include "views/deviation_bar.h"
#include "views/display_rules.h"

#include <QCoreApplication>
#include <QEvent>

namespace zev::test {
namespace {

class DisplayRules : public OverviewFixture {
protected:
    void SetUp() override { fillZones(3); }
    LabelLook shown() const { return currentLook(&label); }
    QLabel label;
};

TEST_F(DisplayRules, ControlZoneShowsValuesWithUnitOnYellow) {
    EXPECT_TRUE(DispX(ctx, 1, &label));
    EXPECT_EQ(shown(), (LabelLook{"198 °C", look::yellow(), look::black(), false}));
    DispW(ctx, 1, &label, look::white());
    EXPECT_EQ(shown(), (LabelLook{"200 °C", look::white(), look::black(), false}));
    DispY(ctx, 1, &label);
    EXPECT_EQ(shown().text, "35 %");
    DispI(ctx, 1, &label);
    EXPECT_EQ(shown().text, "2.5 A");
    DispDiff_XW(ctx, 1, &label);
    EXPECT_EQ(shown().text, "-2 °C");
}

TEST_F(DisplayRules, SetpointZeroSwitchesAControlZoneOff) {
    zone(1).Setpoint = 0;
    EXPECT_FALSE(IsZoneActive(ctx, 1));
    for (auto rule : {DispX, DispY, DispI, DispDiff_XW}) {
        rule(ctx, 1, &label);
        EXPECT_EQ(shown().text, "---");
    }
    DispW(ctx, 1, &label, look::yellow());
    EXPECT_EQ(shown().text, "---");
    // Even a zone in alarm shows "---" while it is off.
    zone(1).StatusShort = QStringLiteral("-E-");
    ctx.BlinkPhase = 3;
    DispX(ctx, 1, &label);
    EXPECT_EQ(shown().text, "---");
}

TEST_F(DisplayRules, ThirtyTwoIsOffOnlyInFahrenheit) {
    zone(1).Setpoint = 32;
    EXPECT_TRUE(IsZoneActive(ctx, 1));
    ctx.plant.TemperatureUnit = QStringLiteral("°F");
    EXPECT_FALSE(IsZoneActive(ctx, 1));
    zone(1).Setpoint = 0;
    EXPECT_TRUE(IsZoneActive(ctx, 1));
    DispX(ctx, 1, &label);
    EXPECT_EQ(shown().text, "198 °F");
}

TEST_F(DisplayRules, StatusBlinksBoldRedInPhaseThreeOnly) {
    zone(1).StatusShort = QStringLiteral("SSR");
    zone(1).StatusWord = 0x10000;
    for (int phase : {1, 2, 3, 1}) {
        ctx.BlinkPhase = phase;
        DispX(ctx, 1, &label);
        if (phase == 3)
            EXPECT_EQ(shown(), (LabelLook{"SSR", look::yellow(), look::red(), true}));
        else
            EXPECT_EQ(shown(), (LabelLook{"198 °C", look::yellow(), look::black(), false})) << phase;
        DispDiff_XW(ctx, 1, &label);
        EXPECT_EQ(shown().text, phase == 3 ? "SSR" : "-2 °C");
    }
    // A zone without status never blinks.
    ctx.BlinkPhase = 3;
    DispX(ctx, 2, &label);
    EXPECT_EQ(shown().text, "198 °C");
    EXPECT_FALSE(shown().bold);
}

TEST_F(DisplayRules, StatusShowsEvenWhenTheActualValueIsMissing) {
    zone(1).StatusShort = QStringLiteral("-E-");
    zone(1).ActualValue = kNoValue;
    ctx.BlinkPhase = 3;
    DispX(ctx, 1, &label);
    EXPECT_EQ(shown().text, "-E-");
    ctx.BlinkPhase = 1;
    DispX(ctx, 1, &label);
    EXPECT_EQ(shown().text, "");
}

TEST_F(DisplayRules, TuningReplacesTheSetpoint) {
    for (int state : {1, 2}) {
        zone(1).TuneState = static_cast<std::uint8_t>(state);
        DispW(ctx, 1, &label, look::white());
        EXPECT_EQ(shown(), (LabelLook{"Tuning", look::cyan(), look::black(), true}));
    }
    zone(1).TuneState = 0;
    DispW(ctx, 1, &label, look::white());
    EXPECT_EQ(shown(), (LabelLook{"200 °C", look::white(), look::black(), false}));
}

TEST_F(DisplayRules, ManualModeOnCyanWithTheManualMarkInPhaseThree) {
    zone(1).Mode = 1;
    const char* expected[] = {"200 °C", "200 °C", "-P-"};
    for (int phase = 1; phase <= 3; ++phase) {
        ctx.BlinkPhase = phase;
        DispW(ctx, 1, &label, look::yellow());
        EXPECT_EQ(shown(), (LabelLook{expected[phase - 1], look::cyan(), look::black(), false}));
    }
    ctx.BlinkPhase = 1;
    DispY(ctx, 1, &label);
    EXPECT_EQ(shown(), (LabelLook{"35 %", look::cyan(), look::black(), false}));
    // Switched off by its setpoint, a manual zone still shows a measured value.
    zone(1).Setpoint = 0;
    DispW(ctx, 1, &label, look::yellow());
    EXPECT_EQ(shown().text, "---");
    DispX(ctx, 1, &label);
    EXPECT_EQ(shown().text, "198 °C");
    zone(1).ActualValue = kNoValue;
    DispX(ctx, 1, &label);
    EXPECT_EQ(shown().text, "---");
}

TEST_F(DisplayRules, OffAndMonitorZones) {
    zone(1).Mode = 0;
    for (auto rule : {DispX, DispY, DispI, DispDiff_XW}) {
        rule(ctx, 1, &label);
        EXPECT_EQ(shown().text, "");
    }
    zone(1).Mode = 3;
    zone(1).StatusShort = QStringLiteral("-HH-");
    ctx.BlinkPhase = 2;
    DispX(ctx, 1, &label);
    EXPECT_EQ(shown().text, "198 °C");
    ctx.BlinkPhase = 3;
    DispX(ctx, 1, &label);
    EXPECT_EQ(shown().text, "-HH-");
    DispW(ctx, 1, &label, look::yellow());
    EXPECT_EQ(shown().text, "");
}

// A missing value (-10024) never appears as a number, whatever the mode, phase
// or rule.
TEST_F(DisplayRules, NoValueIsNeverShownAsANumber) {
    ZoneRecord& z = zone(1);
    z.Setpoint = z.ActualValue = z.OutputRate = kNoValue;
    z.Current = kNoValue;
    z.CurrentText.clear();
    for (int mode = 0; mode <= 3; ++mode)
        for (int phase = 1; phase <= 3; ++phase)
            for (int kind = 0; kind <= 3; ++kind) {
                z.Mode = static_cast<std::uint8_t>(mode);
                ctx.BlinkPhase = phase;
                DispVal(ctx, 1, &label, kind);
                EXPECT_FALSE(shown().text.contains("10024")) << mode << phase << kind;
                DispDiff_XW(ctx, 1, &label);
                EXPECT_FALSE(shown().text.contains("10024")) << mode << phase;
            }
}

TEST_F(DisplayRules, DispValChoosesTheRuleByKind) {
    const char* expected[] = {"198 °C", "200 °C", "35 %", "2.5 A", ""};
    for (int kind = 0; kind <= 4; ++kind) {
        DispVal(ctx, 1, &label, kind);
        EXPECT_EQ(shown().text, expected[kind]) << kind;
    }
    DispVal(ctx, 1, &label, kSetpoint);
    EXPECT_EQ(shown().back, look::yellow());
    // Zones outside the table leave the label empty instead of failing.
    for (int bad : {0, -1, 271}) {
        DispVal(ctx, bad, &label, kActualValue);
        EXPECT_EQ(shown().text, "");
    }
}

TEST_F(DisplayRules, CurrentWithoutItsTextIsStillShownTruly) {
    zone(1).Current = 12.34F;
    zone(1).CurrentText.clear();
    DispI(ctx, 1, &label);
    EXPECT_EQ(shown().text, "12.3 A");
}

TEST_F(DisplayRules, WritesNothingWhenNothingChanged) {
    label.resize(120, 30);
    label.show();
    int paints = 0, changes = 0;
    struct Counter : QObject {
        int* paints;
        int* changes;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) ++*paints;
            if (e->type() == QEvent::PaletteChange || e->type() == QEvent::FontChange) ++*changes;
            return false;
        }
    } counter;
    counter.paints = &paints;
    counter.changes = &changes;
    label.installEventFilter(&counter);
    zone(1).StatusShort = QStringLiteral("SSR");
    ctx.BlinkPhase = 3;
    EXPECT_TRUE(DispX(ctx, 1, &label));
    QCoreApplication::processEvents();
    EXPECT_GT(paints, 0);
    EXPECT_EQ(changes, 2);  // colours and bold
    paints = changes = 0;
    EXPECT_FALSE(DispX(ctx, 1, &label));
    QCoreApplication::processEvents();
    EXPECT_EQ(paints, 0);
    EXPECT_EQ(changes, 0);
    // Back to the value: colour and weight change again.
    ctx.BlinkPhase = 1;
    EXPECT_TRUE(DispX(ctx, 1, &label));
    EXPECT_EQ(changes, 2);
}

TEST_F(DisplayRules, DeviationBarScale) {
    // 20 degrees too cold: the maximum of 675 twips, running right from 930.
    zone(1).ActualValue = 180;
    BarSpan s = deviationSpan(ctx, 1);
    EXPECT_FALSE(s.empty);
    EXPECT_DOUBLE_EQ(s.startTwips, 930.0);
    EXPECT_DOUBLE_EQ(s.lengthTwips, 675.0);
    EXPECT_FALSE(s.alarm);
    // 4 degrees too hot: 270 twips ending at 930.
    zone(1).ActualValue = 204;
    s = deviationSpan(ctx, 1);
    EXPECT_DOUBLE_EQ(s.startTwips, 660.0);
    EXPECT_DOUBLE_EQ(s.lengthTwips, 270.0);
    zone(1).StatusWord = 0x400;
    EXPECT_TRUE(deviationSpan(ctx, 1).alarm);
    // No bar without values or in mode 0.
    zone(1).ActualValue = kNoValue;
    EXPECT_TRUE(deviationSpan(ctx, 1).empty);
    zone(1).ActualValue = 204;
    zone(1).Mode = 0;
    EXPECT_TRUE(deviationSpan(ctx, 1).empty);
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
