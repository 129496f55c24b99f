// The overview in the whole main window at 1024x768 as the documentation's
// pictures show it: each test checks what its picture must show, and writes the
// picture as a PNG file when ZEV_SCREENSHOT_DIR names a directory:
//   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb ZEV_SCREENSHOT_DIR=docs/screenshots
//     build/bin/test_views --gtest_filter='OverviewScreens.*'

#include "screenshots.h"
#include "overview_fixture.h"
#include "sim_bench.h"

#include "link/identification.h"
#include "link/zone_commands.h"
#include "link/zone_values.h"
#include "shell/main_cycle.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "views/detail_panel.h"
#include "views/face_plate.h"
#include "views/overview_view.h"
#include "views/total_panel.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"
#include "views/zone_tile.h"

#include <QApplication>
#include <QDir>
#include <QTabBar>
#include <map>

namespace zev::test {
namespace {

using zevsim::FaultKind;

class OverviewScreens : public OverviewFixture {
protected:
    OverviewView& load() {
        main = std::make_unique<MainWindow>(ctx, splash);
        main->InitForms();
        main->setGeometry(0, 0, 1024, 768);
        main->show();
        main->TmrDate_Timer();  // the clock and the offline mark
        QApplication::processEvents();
        return *static_cast<OverviewView*>(main->view(kViewOverview));
    }
    void save(const QString& name) { saveMainWindowShot(*main, name); }
    // The main cycle's two passes: values into the zone table, the most severe
    // state into the status bar and the refresh of the overview.
    void cycle(int blinkPhase) {
        MainCycle cycle(ctx, *main);
        cycle.readingPass();
        ctx.BlinkPhase = blinkPhase;
        cycle.evaluationPass();
    }
    SplashWindow splash;
    std::unique_ptr<MainWindow> main;
};

TEST_F(OverviewScreens, Total24) {
    zevsim::InProcessBus bus(controllers({16, 8}));
    ASSERT_TRUE(identifyAndHeat(tc, bus));
    // A plant at work: one zone in manual mode, one tuning, one switched off,
    // one with a broken heater cooling down, one colder than its new setpoint.
    ctx.link->commands().write(4, ValueCode::Mode, 1, 0);
    ctx.link->commands().write(4, ValueCode::OutputRate, 40, 0);
    ctx.link->commands().write(9, ValueCode::Tuning, 1, 0);
    ctx.link->commands().write(12, ValueCode::Setpoint, 0, 0);
    ctx.link->commands().write(20, ValueCode::Setpoint, 250, 0);
    bus.plant().inject({FaultKind::HeaterOpen, 1, 7});
    bus.advance(120.0);
    ASSERT_TRUE(bus.waitForScan());
    for (int z = 1; z <= 24; ++z) ctx.plant.zone(z).Group = static_cast<std::uint8_t>(z <= 8 ? 1 : z <= 16 ? 2 : 3);
    OverviewView& view = load();
    ASSERT_EQ(view.tabOverview()->currentIndex(), OverviewView::kTabTotal);
    cycle(1);
    // Actual value over setpoint, per zone in number order.
    TotalPanel& total = *view.totalPanel();
    ASSERT_EQ(total.tileCount(), 24);
    auto tile = [&](int zone) { return total.tile(zone - 1); };
    EXPECT_EQ(tile(12)->dispX1()->text(), "---");  // switched off
    EXPECT_EQ(tile(12)->dispW1()->text(), "---");
    EXPECT_EQ(tile(20)->dispW1()->text(), QString::fromUtf8("250 °C"));
    EXPECT_EQ(tile(4)->dispW1()->palette().color(QPalette::Window), QColor(0, 255, 255)) << "manual mode is cyan";
    EXPECT_TRUE(tile(1)->dispX1()->text().endsWith(QString::fromUtf8(" °C")));
    save(QStringLiteral("overview-total-24.png"));
}

TEST_F(OverviewScreens, Total270Offline) {
    ctx.link->SetOnlineBetrieb(false);
    fillGroups();
    for (int z = 1; z <= 270; ++z) ctx.plant.zone(z).Group = static_cast<std::uint8_t>((z - 1) / 45 + 1);
    OverviewView& view = load();
    ASSERT_EQ(view.tabOverview()->currentIndex(), OverviewView::kTabDetail);  // 270 zones open on Detail
    view.tabOverview()->setCurrentIndex(OverviewView::kTabTotal);
    ASSERT_TRUE(view.totalPanel()->singleValue());
    ASSERT_EQ(view.totalPanel()->tileCount(), 270);
    // Offline: every zone is there, none shows a value.
    for (int p = 0; p < 270; ++p) EXPECT_TRUE(view.totalPanel()->tile(p)->dispX1()->text().isEmpty()) << p;
    EXPECT_EQ(main->lblStatusbar(3)->text(), "OFFLINE");
    save(QStringLiteral("overview-total-270.png"));
}

TEST_F(OverviewScreens, DetailAlarms) {
    zevsim::InProcessBus bus(controllers({16, 16, 16, 16, 16}));  // 80 zones: opens on Detail
    ASSERT_TRUE(identifyAndHeat(tc, bus));
    for (int z = 1; z <= 80; ++z) ctx.plant.zone(z).Group = static_cast<std::uint8_t>((z - 1) / 5 + 1 > 8 ? 8 : (z - 1) / 5 + 1);
    ctx.tool.Groups[1].Name = QStringLiteral("Düsenseite");
    ctx.tool.Groups[2].Name = QStringLiteral("Verteiler");
    ctx.tool.Groups[3].Name = QStringLiteral("Auswerferseite");
    ctx.plant.zone(1).Name = QStringLiteral("Düse 1 links");
    ctx.link->commands().write(6, ValueCode::Setpoint, 235, 0);
    ctx.link->commands().write(13, ValueCode::Mode, 1, 0);
    ctx.link->commands().write(13, ValueCode::OutputRate, 25, 0);
    bus.plant().inject({FaultKind::BrokenSensor, 1, 3});
    bus.plant().inject({FaultKind::ShortedSensor, 1, 8});
    bus.plant().inject({FaultKind::HeaterOpen, 1, 10});
    bus.plant().inject({FaultKind::ShortedTriac, 1, 14});
    bus.advance(60.0);
    ASSERT_TRUE(bus.waitForScan());
    OverviewView& view = load();
    ASSERT_EQ(view.tabOverview()->currentIndex(), OverviewView::kTabDetail);
    cycle(3);  // the phase in which faults show their status
    // The first page: zones 1 to 15, the faults in bold red instead of the value.
    DetailPanel& detail = *view.detailPanel();
    EXPECT_EQ(detail.firstZone(), 0);
    std::map<int, FacePlate*> plates;
    for (int p = 0; p < 15; ++p) plates[detail.plate(p)->zone()] = detail.plate(p);
    ASSERT_EQ(plates.size(), 15u);
    EXPECT_EQ(plates.begin()->first, 1);
    EXPECT_EQ(plates[1]->caption()->text(), QString::fromUtf8("Düse 1 links"));
    for (const auto& [zone, code] : {std::pair{3, "-E-"}, std::pair{8, "-S-"}, std::pair{14, "SSR"}}) {
        const QLabel* x = plates[zone]->dispX2();
        EXPECT_EQ(x->text(), QString::fromLatin1(code)) << zone;
        EXPECT_TRUE(x->font().bold()) << zone;
        EXPECT_EQ(x->palette().color(QPalette::WindowText), QColor(255, 0, 0)) << zone;
    }
    EXPECT_EQ(plates[2]->dispX2()->font().bold(), false);
    save(QStringLiteral("overview-detail-alarms.png"));
}

}  // namespace
}  // namespace zev::test
