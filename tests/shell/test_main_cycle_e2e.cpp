// End to end on the in-process simulator: the real bus library and protocol,
// identification, the main window with its views, and the main cycle writing
// what happens at the controllers into the alarm database that the alarm view
// lists and ranks.
#include "sim_bench.h"

#include "alarms/forms/alarm_list_model.h"
#include "alarms/alarm_log.h"
#include "alarms/forms/alarm_view.h"
#include "alarms/forms/top_ten_panel.h"
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

class MainCycleEndToEnd : public ::testing::Test {
protected:
    MainCycleEndToEnd() {
        identified = identifyAndHeat(tc, sim, 200);
        main.InitForms();
        QCoreApplication::processEvents();
        main.mainTimer()->stop();  // the test ticks the cycle itself
        cycle = new MainCycle(*tc.ctx, main);
        main.onMainTimer = [this] { cycle->mainTimer_Timer(); };
    }
    ~MainCycleEndToEnd() override { main.unloadViews(); }

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

    zevsim::InProcessBus sim{controllers({8, 8})};
    TestContext tc;
    SplashWindow splash;
    MainWindow main{*tc.ctx, splash};
    MainCycle* cycle = nullptr;
    bool identified = false;
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

}  // namespace
}  // namespace zev::test
