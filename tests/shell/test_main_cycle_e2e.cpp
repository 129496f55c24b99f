// End to end on the in-process simulator: the real bus library and protocol,
// identification, the main window with its views, and the main cycle writing
// what happens at the controllers into the alarm database that the alarm view
// lists and ranks.
#include "sim_bench.h"

#include "alarms/forms/alarm_list_model.h"
#include "alarms/alarm_log.h"
#include "alarms/forms/alarm_view.h"
#include "alarms/forms/top_ten_panel.h"
#include "link/bus_link.h"
#include "shell/main_cycle.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "plant/zone_table.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QSqlQuery>
#include <QTimer>
#include <gtest/gtest.h>

namespace zev::test {
namespace {

using zevsim::FaultKind;

// The station identified on the simulator with its views loaded; the test
// ticks the cycle itself.
class OnSimulator : public ::testing::Test {
protected:
    explicit OnSimulator(std::vector<zevsim::ControllerConfig> line) : sim(std::move(line)) {
        identified = identifyAndHeat(tc, sim, 200);
        main.InitForms();
        QCoreApplication::processEvents();
        main.mainTimer()->stop();
        cycle = new MainCycle(*tc.ctx, main);
        main.onMainTimer = [this] { cycle->mainTimer_Timer(); };
    }
    ~OnSimulator() override { main.unloadViews(); }

    zevsim::InProcessBus sim;
    TestContext tc;
    SplashWindow splash;
    MainWindow main{*tc.ctx, splash};
    MainCycle* cycle = nullptr;
    bool identified = false;
};

class MainCycleEndToEnd : public OnSimulator {
protected:
    MainCycleEndToEnd() : OnSimulator(controllers({8, 8})) {}

    // The plant runs, the library scans, then one reading and one evaluation pass.
    void runCycle(double plantSeconds = 1.0) {
        sim.advance(plantSeconds);
        ASSERT_TRUE(sim.waitForScan());
        for (int i = 0; i < 2; ++i) {
            tc.clock.advance(0.25);
            main.mainTimer_Timer();
        }
    }
    AlarmView* alarms() { return dynamic_cast<AlarmView*>(main.view(kViewAlarms)); }
    QString cell(int row, int column) {
        AlarmListModel* m = alarms()->model();
        return m->data(m->index(row, column)).toString();
    }
};

TEST_F(MainCycleEndToEnd, ABrokenSensorOpensAnAlarmItsRepairClosesIt) {
    ASSERT_TRUE(identified);
    ASSERT_NE(tc.ctx->alarmLog, nullptr);
    runCycle();
    runCycle();
    main.selectTab(kViewAlarms);
    ASSERT_EQ(main.shownView(), kViewAlarms);

    ASSERT_TRUE(sim.plant().inject({FaultKind::BrokenSensor, 1, 3}));
    runCycle();
    QSqlQuery q(tc.ctx->alarmLog->db().database());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT Typ, Quelle, Adresse, Geht IS NULL FROM LOG WHERE Meldung = 'Fühlerbruch'")));
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), 2);
    EXPECT_EQ(q.value(1).toString(), "ZONE 003");
    EXPECT_EQ(q.value(2).toString(), "3");
    EXPECT_TRUE(q.value(3).toBool()) << "the alarm is present";
    EXPECT_FALSE(q.next());
    // The list on the screen follows by itself, newest on top, and the status bar shows it.
    EXPECT_EQ(cell(0, LogColumn::Meldung), QString::fromUtf8("Fühlerbruch"));
    EXPECT_EQ(main.lblStatusbar(2)->text(), QString::fromUtf8("Fühlerbruch"));

    for (int i = 0; i < 4; ++i) runCycle();
    ASSERT_TRUE(sim.plant().clear({FaultKind::BrokenSensor, 1, 3}));
    runCycle();
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT Geht FROM LOG WHERE Meldung = 'Fühlerbruch'")));
    ASSERT_TRUE(q.next());
    EXPECT_FALSE(q.value(0).isNull()) << "Geht is set when the sensor is repaired";
    EXPECT_TRUE(cell(0, LogColumn::Geht).startsWith(tc.clock.now().toString("dd.MM.yy ")));

    // The ranking, rebuilt by the cycle once a second: zone 3 had a fault for
    // five passes of half a second.
    EXPECT_EQ(alarms()->topTen()->rowText(0)->text(), "ZONE 003  [ 00:00:02 ] ");
    EXPECT_NEAR(tc.ctx->plant.zone(3).AlarmSeconds, 2.5, 1e-9);
}

TEST_F(MainCycleEndToEnd, ASetpointChangedAtTheControllerIsLogged) {
    ASSERT_TRUE(identified);
    runCycle();
    runCycle();
    ASSERT_TRUE(sim.plant().setSetpoint(1, 5, 210));
    runCycle();
    main.selectTab(kViewAlarms);
    // Only messages, only zone 5.
    alarms()->chkWhat(0)->setChecked(false);
    alarms()->chkWhat(2)->setChecked(false);
    ASSERT_GE(alarms()->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, LogColumn::Meldung), QString::fromUtf8("Sollwertänderung von 200 °C auf 210 °C"));
    EXPECT_EQ(cell(0, LogColumn::Adresse), "5");
    EXPECT_EQ(cell(0, LogColumn::Quelle), "ZONE 005");
}

// A line of eight controllers of 16 zones, started the way the station starts:
// the views and their alarm log are there before the library has read every
// controller once.
class LineStart : public OnSimulator {
protected:
    LineStart() : OnSimulator(controllers({16, 16, 16, 16, 16, 16, 16, 16})) {}

    // The library forgets what it read and stands before its first scan, as
    // after identification.
    void beforeTheFirstScan() {
        BusLink& bus = tc.ctx->bus;
        bus.EnableCyclicScan(false);
        for (int a = 1; a <= 8; ++a) bus.SetOnline(a, false);
        for (int a = 1; a <= 8; ++a) bus.SetOnline(a, true);
    }
    void passes(int n) {
        for (int i = 0; i < 2 * n; ++i) {
            tc.clock.advance(0.25);
            main.mainTimer_Timer();
        }
    }
    int count(const QString& where) {
        QSqlQuery q(tc.ctx->alarmLog->db().database());
        if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM LOG WHERE ") + where) || !q.next()) return -1;
        return q.value(0).toInt();
    }

};

TEST_F(LineStart, ZonesNotReadYetGiveNoRecordAControllerThatStopsAnsweringDoes) {
    ASSERT_TRUE(identified);
    ASSERT_EQ(tc.ctx->plant.ZoneCount, 128);
    beforeTheFirstScan();
    passes(3);
    EXPECT_EQ(count(QStringLiteral("Typ = 2")), 0);
    EXPECT_EQ(main.lblStatusbar(2)->text(), "");
    tc.ctx->bus.EnableCyclicScan(true);
    ASSERT_TRUE(sim.waitForScan());
    passes(3);
    EXPECT_EQ(count(QStringLiteral("Typ = 2")), 0);
    EXPECT_EQ(tc.ctx->plant.zone(128).Mode, 2);
    EXPECT_EQ(tc.ctx->plant.zone(128).Setpoint, 200);

    ASSERT_TRUE(sim.plant().inject({FaultKind::ControllerSilent, 8}));
    ASSERT_TRUE(sim.waitForScan());
    passes(2);
    EXPECT_EQ(count(QStringLiteral("Meldung = 'Kommunikationsfehler' AND Geht IS NULL AND "
                                   "CAST(Adresse AS INTEGER) BETWEEN 113 AND 128")),
              16);
    EXPECT_EQ(count(QStringLiteral("Typ = 2")), 16);
}

}  // namespace
}  // namespace zev::test
