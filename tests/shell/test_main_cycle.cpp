// The main cycle's two passes: what reaches the zone table and the alarm log,
// the fault time on the real clock, the status bar, the window of controllers
// in diagnosis, and the click on the clock.
#include "test_main_cycle_fixture.h"
#include "shell/status_bar.h"

#include "shell/tarvo_diag_window.h"
#include "support/user_levels.h"
#include "plant/zone_table.h"

#include <QLabel>

namespace zev::test {
namespace {

TEST_F(MainCycleTest, PassesAlternateAndNothingRunsOffline) {
    ctx().link->goOffline();
    cycleOnce();
    EXPECT_EQ(bus.reads, 0);
    EXPECT_FALSE(cycle->phase());
    ctx().link->SetOnlineBetrieb(true);
    main.mainTimer_Timer();
    EXPECT_TRUE(cycle->phase()) << "the reading pass ran, the evaluation is next";
    EXPECT_EQ(ctx().plant.zone(1).Setpoint, 200);
    const int reads = bus.reads;
    main.mainTimer_Timer();
    EXPECT_EQ(bus.reads, reads) << "the evaluation pass reads nothing";
}

TEST_F(MainCycleTest, ASetpointChangeIsAMessageButNotTheFirstReading) {
    cycleOnce();
    EXPECT_TRUE(rows().empty()) << "the first reading comes from no value";
    setZone(2, 0x41, 210);
    cycleOnce();
    const auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(r[0].typ, 1);
    EXPECT_EQ(r[0].adresse, "2");
    EXPECT_EQ(r[0].meldung, QString::fromUtf8("Sollwertänderung von 200 °C auf 210 °C"));
    setZone(2, 0x41, kNoValue);
    cycleOnce();
    setZone(2, 0x41, 220);
    cycleOnce();
    EXPECT_EQ(rows().size(), 1u) << "changes to and from no value are not logged";
}

TEST_F(MainCycleTest, AZoneGoingOutOfUseClosesItsAlarmWithoutANewRecord) {
    cycleOnce();
    setZone(1, 0x48, 200);
    cycleOnce();
    setZone(1, 0x09, 200);  // switched off (mode 0), the sensor still broken
    cycleOnce();
    const auto r = rows();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_FALSE(r[0].open);
    EXPECT_EQ(ctx().plant.zone(1).Mode, 0);
}

TEST_F(MainCycleTest, ControllersSilentFromTheStartAreLogged) {
    bus.set(2, 1, 3, -1);
    bus.set(2, 2, 3, -1);
    bus.set(2, 3, 3, -1);
    cycleOnce();
    auto r = rows();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].adresse, "4");
    EXPECT_EQ(r[0].meldung, "Kommunikationsfehler");
    cycleOnce();
    EXPECT_EQ(rows().size(), 3u) << "logged once, not every pass";
    EXPECT_EQ(main.lblStatusbar(2)->text(), "Kommunikationsfehler");
    EXPECT_EQ(main.lblStatusbar(2)->styleSheet(), "background-color: #FF8080;");
}

// Each pass runs every other tick: the fault time grows by the time that passed
// since the last reading (0.5 s), not by the timer's 0.25 s.
TEST_F(MainCycleTest, FaultTimeGrowsByTheRealTimeBetweenReadings) {
    setZone(5, 0x48, 200);
    cycleOnce();
    const double first = ctx().plant.zone(5).AlarmSeconds;
    for (int i = 0; i < 8; ++i) cycleOnce();
    EXPECT_NEAR(ctx().plant.zone(5).AlarmSeconds - first, 4.0, 1e-9);
    // A slow pass counts as long as it really took.
    t.clock.advance(1.2);
    cycleOnce();
    EXPECT_NEAR(ctx().plant.zone(5).AlarmSeconds - first, 4.0 + 1.7, 1e-9);
    // A gap that is no watching time (the clock was set, the cycle stopped) counts one pass.
    t.clock.advance(3600);
    cycleOnce();
    EXPECT_NEAR(ctx().plant.zone(5).AlarmSeconds - first, 4.0 + 1.7 + 0.5, 1e-9);
    t.clock.advance(-7200);
    cycleOnce();
    EXPECT_NEAR(ctx().plant.zone(5).AlarmSeconds - first, 4.0 + 1.7 + 1.0, 1e-9);
    EXPECT_EQ(ctx().plant.zone(4).AlarmSeconds, 0.0);
}

TEST_F(MainCycleTest, FahrenheitZonesAtTheZeroPointAreNotInUse) {
    ctx().plant.TemperatureUnit = QStringLiteral("°F");
    setZone(1, 0x28, 32);  // manual, broken sensor, setpoint at the zero point
    cycleOnce();
    EXPECT_TRUE(main.lblStatusbar(2)->text().isEmpty());
    EXPECT_EQ(ctx().plant.zone(1).AlarmSeconds, 0.0);
    EXPECT_TRUE(rows().empty()) << "a zone out of use only closes alarms";
    setZone(1, 0x28, 33);
    cycleOnce();
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0].typ, 1);
    EXPECT_EQ(main.lblStatusbar(2)->text(), QString::fromUtf8("Fühlerbruch"));
    EXPECT_GT(ctx().plant.zone(1).AlarmSeconds, 0.0);
}

TEST_F(MainCycleTest, TheStatusBarShowsTheMostSevereStateAndTheOutputs) {
    cycleOnce();
    EXPECT_EQ(main.lblStatusbar(2)->text(), "");
    EXPECT_EQ(main.lblStatusbar(2)->styleSheet(), "background-color: palette(button);");
    EXPECT_EQ(main.lblStatusbar(3)->text(), QString::fromUtf8("Ausgänge AUS"));
    setZone(1, 0x42, 200);      // temperature low: 128
    setZone(4, 0x40 | 0x200, 200);  // negative deviation: 120
    bus.set(1, 1, 6, 1);
    cycleOnce();
    EXPECT_EQ(cycle->maxAlarm().code, 128);
    EXPECT_EQ(main.lblStatusbar(2)->text(), "Temperatur L");
    EXPECT_EQ(main.lblStatusbar(2)->styleSheet(), "background-color: #FFFF80;");
    EXPECT_EQ(main.lblStatusbar(3)->text(), QString::fromUtf8("Ausgänge EIN"));
    setZone(6, 0x50, 200);  // shorted sensor: 249
    cycleOnce();
    EXPECT_EQ(main.lblStatusbar(2)->text(), QString::fromUtf8("Fühlerschluß"));
    EXPECT_EQ(main.lblStatusbar(2)->styleSheet(), "background-color: #FF8080;");
    ctx().link->setDiagnosisRunning(true);
    cycleOnce();
    EXPECT_EQ(main.lblStatusbar(2)->text(), QString::fromUtf8("Diagnose läuft"));
    EXPECT_EQ(main.lblStatusbar(2)->styleSheet(), "background-color: #FFFF80;");
}

TEST_F(MainCycleTest, TheDiagnosisWindowCountsControllersAndCloses) {
    cycleOnce();
    EXPECT_EQ(cycle->tarvoDiag(), nullptr);
    setZone(1, 0x20041, 200);  // the first zone of controller 1 reports its diagnosis
    setZone(2, 0x20041, 200);  // a second zone of the same controller does not count again
    cycleOnce();
    ASSERT_NE(cycle->tarvoDiag(), nullptr);
    EXPECT_TRUE(cycle->tarvoDiag()->isVisible());
    EXPECT_EQ(cycle->tarvoDiag()->text(), QString::fromUtf8("1 ZEV-Gerät führt gerade die Diagnose durch."));
    setZone(4, 0x20041, 200);
    cycleOnce();
    EXPECT_EQ(cycle->tarvoDiag()->text(), QString::fromUtf8("Alle ZEV-Geräte führen gerade die Diagnose durch."));
    bus.set(2, 1, 3, -1);  // a silent controller is not in diagnosis
    cycleOnce();
    EXPECT_EQ(cycle->tarvoDiag()->text(), QString::fromUtf8("1 ZEV-Gerät führt gerade die Diagnose durch."));
    setZone(1, 0x41, 200);
    cycleOnce();
    EXPECT_EQ(cycle->tarvoDiag(), nullptr);
}

TEST(TarvoDiagText, ByCountOfControllers) {
    TestContext t;
    Texts& x = *t.texts;
    EXPECT_EQ(tarvoDiagText(x, 1, 1), QString::fromUtf8("Das ZEV-Gerät führt gerade die Diagnose durch."));
    EXPECT_EQ(tarvoDiagText(x, 1, 5), QString::fromUtf8("1 ZEV-Gerät führt gerade die Diagnose durch."));
    EXPECT_EQ(tarvoDiagText(x, 3, 5), QString::fromUtf8("3 ZEV-Geräte führen gerade die Diagnose durch."));
    EXPECT_EQ(tarvoDiagText(x, 5, 5), QString::fromUtf8("Alle ZEV-Geräte führen gerade die Diagnose durch."));
}

TEST_F(MainCycleTest, OnePassOfManyChangesIsOneWriteAndValuesReachTheTable) {
    cycleOnce();
    for (int z = 1; z <= 6; ++z) setZone(z, 0x48, 200 + z);
    bus.set(1, 2, 2, 187);
    bus.set(1, 2, 4, 55);
    bus.set(1, 2, 5, 123);
    t.clock.advance(0.25);
    main.mainTimer_Timer();
    EXPECT_EQ(rows().size(), 12u);  // six setpoint messages, six alarms
    EXPECT_EQ(ctx().plant.zone(2).ActualValue, 187);
    EXPECT_EQ(ctx().plant.zone(2).OutputRate, 55);
    EXPECT_FLOAT_EQ(ctx().plant.zone(2).Current, 12.3f);
    EXPECT_EQ(ctx().plant.zone(2).CurrentText, "12.3");
    // An unreadable current keeps its last text; a value beyond 16 bits is no value.
    bus.set(1, 2, 5, kNoValue);
    bus.set(1, 2, 2, 70000);
    cycleOnce();
    EXPECT_EQ(ctx().plant.zone(2).Current, kNoValue);
    EXPECT_EQ(ctx().plant.zone(2).CurrentText, "12.3");
    EXPECT_EQ(ctx().plant.zone(2).ActualValue, kNoValue);
}

TEST_F(MainCycleTest, TheClockOpensTheDateAndTimeSettingsAtLevelFour) {
    t.users->loadLevelNames();
    t.users->loadPasswords();
    t.answer({QStringLiteral("1")});  // refuses the login
    main.statusBarWidget()->lblStatusbar_Click(0);
    EXPECT_EQ(t.platform.dateTimeSettingsOpened, 0);
    t.answer({QStringLiteral("2"), QStringLiteral("harbour")});
    main.statusBarWidget()->lblStatusbar_Click(0);
    EXPECT_EQ(t.platform.dateTimeSettingsOpened, 1);
    main.statusBarWidget()->lblStatusbar_Click(2);  // other elements do nothing
    EXPECT_EQ(t.platform.dateTimeSettingsOpened, 1);
    t.platform.dateTimeSettingsWork = false;
    t.answer({QStringLiteral("1")});
    main.statusBarWidget()->lblStatusbar_Click(0);
    EXPECT_TRUE(t.lastNotice().startsWith(
        QString::fromUtf8("NOTICE Die Einstellungen für Datum und Uhrzeit konnten nicht geöffnet werden.")));
}

}  // namespace
}  // namespace zev::test
