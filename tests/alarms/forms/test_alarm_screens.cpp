// The alarm view in the whole main window at 1024x768 after a shift of a plant
// on the in-process simulator, written as one PNG (the list above, the ranking
// below) into the directory named by ZEV_SCREENSHOT_DIR:
//   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb ZEV_SCREENSHOT_DIR=docs/screenshots
//     build/bin/test_alarms --gtest_filter='AlarmScreens.*'
// Without the variable the test only checks what the view shows.
#include "sim_bench.h"

#include "alarms/forms/alarm_list_model.h"
#include "alarms/alarm_log.h"
#include "alarms/forms/alarm_view.h"
#include "alarms/forms/top_ten_panel.h"
#include "shell/main_cycle.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace zev::test {
namespace {

using zevsim::FaultKind;

TEST(AlarmScreens, ListAndRankingAfterAShift) {
    zevsim::InProcessBus sim(controllers({8, 8}));
    TestContext tc;
    AppContext& ctx = *tc.ctx;
    tc.clock.set(QDateTime(QDate(2026, 3, 2), QTime(6, 0)));
    ASSERT_TRUE(identifyAndHeat(tc, sim, 230));
    ASSERT_EQ(ctx.plant.ZoneCount, 16);
    ctx.tool.Groups[1].Name = QStringLiteral("Düsenseite");
    ctx.tool.Groups[2].Name = QStringLiteral("Verteiler");
    for (int z = 1; z <= 16; ++z) {
        ctx.plant.zone(z).Group = static_cast<std::uint8_t>(z <= 8 ? 1 : 2);
        ctx.plant.zone(z).Name = z <= 8 ? QStringLiteral("Düse %1").arg(z) : QStringLiteral("Verteiler %1").arg(z - 8);
    }

    SplashWindow splash;
    MainWindow main(ctx, splash);
    main.InitForms();
    main.mainTimer()->stop();
    for (int i = 0; i < kViewCount; ++i)
        if (i != kViewAlarms && main.view(i)) main.view(i)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    MainCycle cycle(ctx, main);
    // Minutes of plant time pass between the passes (each counts up to ten seconds of fault).
    auto run = [&](int passes) {
        for (int i = 0; i < passes; ++i) {
            sim.advance(10.0);
            ASSERT_TRUE(sim.waitForScan());
            tc.clock.advance(10.0);
            cycle.readingPass();
            cycle.evaluationPass();
        }
    };
    run(3);
    sim.plant().inject({FaultKind::BrokenSensor, 1, 3});
    run(40);
    sim.plant().setSetpoint(1, 5, 240);
    run(2);
    sim.plant().inject({FaultKind::HeaterOpen, 2, 4});
    run(30);
    sim.plant().clear({FaultKind::BrokenSensor, 1, 3});
    sim.plant().inject({FaultKind::ShortedSensor, 2, 7});
    run(20);
    sim.plant().setSetpoint(2, 1, 220);
    sim.plant().inject({FaultKind::LeakageCurrent, 1, 8});
    run(12);
    ctx.alarmLog->ErrLog(1, QStringLiteral("USER"), 0, QStringLiteral("Rezept Form 1 gespeichert."));
    run(2);

    main.setGeometry(0, 0, 1024, 768);
    main.show();
    main.selectTab(kViewAlarms);
    auto* view = dynamic_cast<AlarmView*>(main.view(kViewAlarms));
    ASSERT_NE(view, nullptr);
    view->RefreshData(false);
    main.TmrDate_Timer();
    QApplication::processEvents();
    ASSERT_GE(view->model()->rowCount(), 6);
    const QPixmap list = main.grab();
    view->tabs()->setCurrentIndex(AlarmView::kTabStatistics);
    view->RefreshTopTen();
    QApplication::processEvents();
    const QPixmap ranking = main.grab();
    EXPECT_FALSE(view->topTen()->rowText(0)->text().isEmpty());
    EXPECT_GT(view->topTen()->rowBar(0)->twips(), view->topTen()->rowBar(2)->twips());

    const QString dir = qEnvironmentVariable("ZEV_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QPixmap both(list.width(), list.height() + ranking.height());
    QPainter p(&both);
    p.drawPixmap(0, 0, list);
    p.drawPixmap(0, list.height(), ranking);
    p.end();
    QDir().mkpath(dir);
    ASSERT_TRUE(both.save(QDir(dir).filePath(QStringLiteral("alarms.png"))));
    main.unloadViews();
}

}  // namespace
}  // namespace zev::test
