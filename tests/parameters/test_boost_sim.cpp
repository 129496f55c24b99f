// Boost on the simulator: which zones are raised, the countdown by the clock,
// the restore, and boost switched off by hand.
#include "parameter_fixture.h"

#include "parameters/boost.h"

namespace zev::test {
namespace {

class BoostSim : public ParameterSimTest {
protected:
    void SetUp() override {
        ParameterSimTest::SetUp();
        for (int z = 1; z <= 8; ++z) ctx().plant.zone(z).Group = 1;
        ctx().tool.Groups[1].BoostPower = 15;
        ctx().tool.Groups[1].BoostTime = 3;
        takeTelegrams();
    }
    int setpointWrites() { return static_cast<int>(takeTelegrams().filter(QStringLiteral("W=")).size()); }
    Boost boost{ctx(), feedback, record};
};

TEST_F(BoostSim, NoZoneToRaiseChangesNothing) {
    // No zone selected; then only a monitor zone selected.
    ASSERT_EQ(write(3, ctx().driver.MonitorZoneParam, 1).accepted(), true);
    takeTelegrams();
    for (const auto& sel : {zonesSelected({}), zonesSelected({3})}) {
        t.answer({QStringLiteral("2")});
        EXPECT_FALSE(boost.switchOn(sel));
        EXPECT_FALSE(boost.active());
        EXPECT_EQ(boost.countdownText(), QString());
        EXPECT_TRUE(t.lastNotice().contains(QStringLiteral("Keine Zonen ausgewählt.")));
    }
    EXPECT_TRUE(takeTelegrams().isEmpty());
}

TEST_F(BoostSim, CountsDownByTheClockAndRestoresOnlyTheRaisedZones) {
    // Zone 2 near the top of the range is capped; zone 5's controller is silent
    // (setpoint unknown) and is left alone; zone 4 belongs to group 2 without boost power.
    ASSERT_EQ(write(2, 10, 999).accepted(), true);
    ASSERT_EQ(write(2, ValueCode::Setpoint, 690).accepted(), true);
    ctx().plant.zone(4).Group = 2;
    ctx().tool.Groups[2].BoostPower = 0;
    ASSERT_TRUE(bus.plant().inject({zevsim::FaultKind::ControllerSilent, 2}));
    ASSERT_TRUE(bus.waitForScan());
    takeTelegrams();

    ASSERT_TRUE(boost.switchOn(zonesSelected({1, 2, 4, 5})));
    EXPECT_TRUE(boost.active());
    EXPECT_EQ(plantSetpoint(1), 215);
    EXPECT_EQ(plantSetpoint(2), 700);
    EXPECT_EQ(plantSetpoint(4), 200);
    EXPECT_EQ(setpointWrites(), 2);
    EXPECT_EQ(boost.SavedSetpoint(1), 200);
    EXPECT_EQ(boost.SavedSetpoint(4), kNoValue);
    EXPECT_EQ(boost.SavedSetpoint(5), kNoValue);

    // One tick a second: "3 s" at the start (the writes took a moment of the first second).
    QStringList shown{boost.countdownText()};
    for (int second = 1; second <= 4; ++second) {
        t.clock.set(t.clock.now().addSecs(1));
        boost.tick();
        shown << boost.countdownText();
    }
    EXPECT_EQ(shown, (QStringList{"3 s", "2 s", "1 s", "0 s", ""}));
    EXPECT_FALSE(boost.active());
    EXPECT_EQ(plantSetpoint(1), 200);
    EXPECT_EQ(plantSetpoint(2), 690);
    EXPECT_EQ(setpointWrites(), 2);
    const auto rows = records();
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ(rows[rows.size() - 4].meldung, QStringLiteral("Boost ein: Sollwert 200 °C auf 215 °C (ANZEIGEN)"));
    EXPECT_EQ(rows.back().meldung, QStringLiteral("Boost aus: Sollwert 700 °C auf 690 °C (ANZEIGEN)"));
}

TEST_F(BoostSim, SwitchedOffByHandTheCountdownStops) {
    ASSERT_TRUE(boost.switchOn(zonesSelected({1, 2})));
    EXPECT_EQ(setpointWrites(), 2);
    t.clock.set(t.clock.now().addSecs(1));
    boost.tick();
    boost.switchOff();
    EXPECT_FALSE(boost.active());
    EXPECT_EQ(boost.countdownText(), QString());
    EXPECT_EQ(plantSetpoint(1), 200);
    EXPECT_EQ(setpointWrites(), 2);
    // Ticks after that, past the end of the time, switch nothing on or off again.
    for (int second = 0; second < 6; ++second) {
        t.clock.set(t.clock.now().addSecs(1));
        boost.tick();
    }
    EXPECT_FALSE(boost.active());
    EXPECT_EQ(setpointWrites(), 0);
    EXPECT_EQ(plantSetpoint(1), 200);
}

}  // namespace
}  // namespace zev::test
