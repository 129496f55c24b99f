// frmParameter in the main window on the simulator: navigation from the
// overview's clicks, offline refusal, the tabs' button rules, the zone parameter
// table read by block reads, global parameters with their green and red cells,
// accessible names, and the screenshots of every tab (ZEV_SCREENSHOT_DIR):
//   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb ZEV_SCREENSHOT_DIR=docs/screenshots
//     build/bin/test_parameters_forms --gtest_filter='*ParameterScreens*'
#include "screenshots.h"
#include "parameter_fixture.h"

#include "widgets/zone_selection_panel.h"
#include "parameters/forms/global_tab.h"
#include "parameters/forms/input_tab.h"
#include "parameters/forms/parameter_table.h"
#include "parameters/forms/parameter_view.h"
#include "base/navigation.h"
#include "link/link_session.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "widgets/display_rules.h"
#include "support/report.h"

#include <algorithm>
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTabBar>
#include <QTimer>

namespace zev::test {
namespace {

class ParameterViewSim : public ::testing::Test {
protected:
    explicit ParameterViewSim(int language = 1) : t(language), bus(controllers({8, 4})) {}
    void SetUp() override {
        t.users->loadLevelNames();
        ASSERT_TRUE(identifyAndHeat(t, bus, 200));
        ASSERT_TRUE(scanAndRead(*t.ctx, bus));
        for (int z = 1; z <= 12; ++z) t.ctx->plant.zone(z).Group = static_cast<std::uint8_t>(z <= 8 ? 1 : 2);
        bus.responder().setObserver([this](std::string_view request, std::string_view) {
            std::lock_guard<std::mutex> lock(mutex);
            requests << QString::fromStdString(std::string(request));
        });
        main = std::make_unique<MainWindow>(*t.ctx, splash);
        main->InitForms();
        main->setGeometry(0, 0, 1024, 768);
        main->show();
        QApplication::processEvents();
        view = dynamic_cast<ParameterView*>(main->view(kViewParameters));
        ASSERT_NE(view, nullptr);
    }
    void TearDown() override {
        bus.responder().setObserver(nullptr);
        main.reset();
    }
    int requestsContaining(const QString& part) {
        std::lock_guard<std::mutex> lock(mutex);
        return static_cast<int>(requests.filter(part).size());
    }
    AppContext& ctx() { return *t.ctx; }

    TestContext t;
    zevsim::InProcessBus bus;
    SplashWindow splash;
    std::unique_ptr<MainWindow> main;
    ParameterView* view = nullptr;
    std::mutex mutex;
    QStringList requests;
};

TEST_F(ParameterViewSim, ZoneAndGroupClicksOpenTheInputTabOnThatSelectionOnly) {
    main->selectTab(kViewOverview);
    ctx().navigation.requestZone(10);
    EXPECT_EQ(main->shownView(), kViewParameters);
    EXPECT_EQ(view->tabEingabe()->currentIndex(), ParameterView::kTabInput);
    for (int i = 0; i < kSelectionBoxCount; ++i) EXPECT_FALSE(view->selection()->groupBox(i)->isChecked()) << i;
    EXPECT_TRUE(view->selection()->singleZoneBox()->isChecked());
    EXPECT_EQ(view->selection()->singleZoneBox()->text(), QStringLiteral("10"));
    EXPECT_EQ(view->SelectedCount(), 1);
    EXPECT_EQ(view->lblZonenName()->text(), ctx().plant.zone(10).Name);
    EXPECT_EQ(view->inputTab()->lblZoneVal(1)->text(), QStringLiteral("200 °C"));

    main->selectTab(kViewOverview);
    ctx().navigation.requestGroup(2);
    EXPECT_EQ(main->shownView(), kViewParameters);
    EXPECT_FALSE(view->selection()->singleZoneBox()->isChecked());
    EXPECT_TRUE(view->selection()->groupBox(2)->isChecked());
    EXPECT_FALSE(view->selection()->groupBox(1)->isChecked());
    EXPECT_EQ(view->SelectedCount(), 4);
}

TEST_F(ParameterViewSim, OfflineTheViewIsRefusedWithTheNotice) {
    main->selectTab(kViewOverview);
    t.link->goOffline();
    t.answer({QStringLiteral("2")});
    ctx().navigation.requestZone(3);
    EXPECT_EQ(main->shownView(), kViewOverview);
    EXPECT_TRUE(t.lastNotice().contains(QStringLiteral("Diese Funktion ist im Offlinebetrieb nicht verfügbar.")));
}

TEST_F(ParameterViewSim, TabsEnableTheirButtonsAndTheZoneTableIsReadByBlocks) {
    const int before = requestsContaining(QStringLiteral("KALP"));
    main->selectTab(kViewParameters);  // the opening sequence reads every parameter once
    QTabWidget* tabs = view->tabEingabe();
    EXPECT_FALSE(view->cmdReload()->isEnabled());
    tabs->setCurrentIndex(ParameterView::kTabGlobals);
    EXPECT_TRUE(view->cmdReload()->isEnabled());
    EXPECT_FALSE(view->selection()->isVisible());

    ctx().navigation.requestGroup(1);
    tabs->setCurrentIndex(ParameterView::kTabZoneParameters);
    EXPECT_TRUE(view->ValuesLoaded);
    EXPECT_TRUE(view->cmdPrint()->isEnabled());
    EXPECT_TRUE(view->selection()->isVisible());
    // Parameters 1..26 exist (27 and 28 are absent): one block read per controller and parameter.
    EXPECT_EQ(requestsContaining(QStringLiteral("KALP")) - before, 2 * 26);
    EXPECT_EQ(requestsContaining(QStringLiteral("K01P")), 0);
    QTableWidget* table = view->zoneTable();
    EXPECT_EQ(table->columnCount(), 9);   // names and the eight zones of group 1
    EXPECT_EQ(table->item(2, 1)->text(), QStringLiteral("12"));  // Xp default
    EXPECT_EQ(table->item(26, 3)->text(), QStringLiteral("3"));  // parameter 26: the channel
    EXPECT_TRUE(table->isRowHidden(27));
    EXPECT_EQ(table->item(11, 1)->background().color(), look::fromPlatform(0xE0E0E0));  // read-only
}

TEST_F(ParameterViewSim, GlobalParameterCellsTurnGreenOrRedAndBackToWhite) {
    main->selectTab(kViewParameters);
    view->tabEingabe()->setCurrentIndex(ParameterView::kTabGlobals);
    auto& globals = ctx().driver.GlobalParameters;
    int apm = -1;
    for (int g = 0; g < static_cast<int>(globals.size()); ++g)
        if (globals[static_cast<std::size_t>(g)].Code == QStringLiteral("?APM")) apm = g;
    ASSERT_GE(apm, 0);
    QTableWidget* grid = view->globalTab()->gridParaGlob();
    ASSERT_EQ(grid->columnCount(), 3);  // two master controllers
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), QStringLiteral("Schrank 2"));

    t.answer({QStringLiteral("0")});
    emit grid->cellClicked(apm, 1);
    EXPECT_EQ(grid->item(apm, 1)->background().color(), look::fromPlatform(0x00FF00));
    EXPECT_EQ(grid->item(apm, 2)->text(), QStringLiteral("0"));
    EXPECT_EQ(globals[static_cast<std::size_t>(apm)].Value, 0);
    EXPECT_EQ(bus.plant().readGlobal(1, "?APM").value_or(""), "0000");

    // A value the controllers refuse (the driver's limit wider than theirs).
    globals[static_cast<std::size_t>(apm)].Max = 5;
    t.answer({QStringLiteral("4")});
    emit grid->cellClicked(apm, 1);
    EXPECT_EQ(grid->item(apm, 1)->background().color(), look::fromPlatform(0x0000FF));
    EXPECT_EQ(globals[static_cast<std::size_t>(apm)].Value, kNoValue);

    QElapsedTimer waited;
    waited.start();
    while (grid->item(apm, 1)->background().color() != look::fromPlatform(0xFFFFFF) && waited.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_EQ(grid->item(apm, 1)->background().color(), look::fromPlatform(0xFFFFFF));
    EXPECT_EQ(view->globalTab()->whiteTimer()->interval(), 600);
}

TEST_F(ParameterViewSim, BoostEndsBeforeTheLinkStopsExceptDuringADiagnosis) {
    ctx().tool.Groups[1].BoostPower = 20;
    ctx().tool.Groups[1].BoostTime = 60;
    main->selectTab(kViewParameters);
    ctx().navigation.requestGroup(1);
    view->inputTab()->optBoost()->click();
    ASSERT_TRUE(view->boost().active());
    EXPECT_EQ(view->inputTab()->optBoost()->text(), QStringLiteral("Boost OFF"));
    EXPECT_EQ(bus.plant().setpoint(1, 1), 220);

    t.link->setDiagnosisRunning(true);
    t.answer({QStringLiteral("2")});
    EXPECT_FALSE(t.link->mayStop());
    EXPECT_TRUE(t.lastNotice().contains(QStringLiteral("solange eine Übertragung oder eine Diagnose läuft")));
    EXPECT_TRUE(view->boost().active());

    t.link->setDiagnosisRunning(false);
    EXPECT_TRUE(t.link->mayStop());
    EXPECT_FALSE(view->boost().active());
    EXPECT_EQ(view->inputTab()->optBoost()->text(), QStringLiteral("Boost ON"));
    EXPECT_EQ(bus.plant().setpoint(1, 1), 200);
}

TEST_F(ParameterViewSim, PrintingByTabThroughThePrinter) {
    main->selectTab(kViewParameters);
    ctx().navigation.requestZone(2);
    view->tabEingabe()->setCurrentIndex(ParameterView::kTabRecipes);
    t.answer({QStringLiteral("2")});
    view->cmdPrint()->click();
    EXPECT_TRUE(t.lastNotice().contains(QStringLiteral("Diese Funktion ist noch nicht verfügbar.")));
    EXPECT_TRUE(t.printer.jobs.isEmpty());

    view->tabEingabe()->setCurrentIndex(ParameterView::kTabZoneParameters);
    view->cmdPrint()->click();
    ASSERT_EQ(t.printer.jobs.size(), 1);
    const Report& report = t.printer.jobs.front();
    EXPECT_EQ(report.headerLines.value(0), QStringLiteral("Werkzeug: STANDARD"));
    EXPECT_EQ(report.headerLines.value(2), QStringLiteral("Alle Temperatureinheiten in °C"));
    EXPECT_EQ(report.pageLabel, QStringLiteral("Seite "));
    ASSERT_EQ(report.blocks.size(), 1u);
    const auto* table = std::get_if<ReportTable>(&report.blocks.front());
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->header, (QStringList{QString(), QStringLiteral("[Zone 2]")}));
    const auto p = std::find_if(table->rows.begin(), table->rows.end(),
                                [](const QStringList& row) { return row.value(0).startsWith(QStringLiteral("P-Anteil")); });
    ASSERT_NE(p, table->rows.end());
    EXPECT_EQ(p->value(1), QStringLiteral("12"));

    // Each master's own value of a global parameter in its column.
    ASSERT_TRUE(bus.plant().writeGlobal(1, "?HIW", 111));
    ASSERT_TRUE(bus.plant().writeGlobal(2, "?HIW", 222));
    t.printer.works = false;
    view->tabEingabe()->setCurrentIndex(ParameterView::kTabGlobals);
    t.answer({QStringLiteral("2")});
    view->cmdPrint()->click();
    EXPECT_TRUE(t.lastNotice().contains(QStringLiteral("Fehler beim Drucken: no paper")));
    ASSERT_EQ(t.printer.jobs.size(), 2);
    const auto* globals = std::get_if<ReportTable>(&t.printer.jobs.back().blocks.front());
    ASSERT_NE(globals, nullptr);
    EXPECT_EQ(globals->header, (QStringList{QString(), QStringLiteral("Schrank 1"), QStringLiteral("Schrank 2")}));
    const auto hiw = std::find_if(globals->rows.begin(), globals->rows.end(),
                                  [](const QStringList& row) { return row.value(0).startsWith(QStringLiteral("Hochgrenze")); });
    ASSERT_NE(hiw, globals->rows.end());
    EXPECT_EQ(hiw->mid(1), (QStringList{"111", "222"}));
}

TEST_F(ParameterViewSim, EveryTouchableControlHasAnAccessibleName) {
    // The tab strip shows every tab, so its own scroll arrows never appear.
    EXPECT_FALSE(view->tabEingabe()->usesScrollButtons());
    for (QAbstractButton* b : view->findChildren<QAbstractButton*>()) {
        if (qobject_cast<QTabBar*>(b->parent())) continue;
        // The tables' corner buttons are switched off: nothing to touch there.
        if (qobject_cast<QAbstractItemView*>(b->parent()) && !b->isEnabled()) continue;
        EXPECT_FALSE(b->accessibleName().isEmpty()) << b->objectName().toStdString() << " " << b->text().toStdString();
    }
    for (int i = 1; i <= 2; ++i) EXPECT_FALSE(view->inputTab()->lblZoneVal(i)->accessibleName().isEmpty());
}

// Screenshots of every tab in both languages.
class ParameterScreens : public ParameterViewSim, public ::testing::WithParamInterface<int> {
protected:
    ParameterScreens() : ParameterViewSim(GetParam()) {}
};

TEST_P(ParameterScreens, EveryTabFitsTheScreen) {
    const QString language = GetParam() == 1 ? QStringLiteral("de") : QStringLiteral("en");
    ctx().plant.OutputsOn = bus.plant().outputsOn(1);
    main->TmrDate_Timer();  // the clock in the status bar
    main->selectTab(kViewParameters);
    ctx().navigation.requestGroup(1);
    static const char* kNames[] = {"recipes", "globals", "zone-parameters", "input"};
    for (int tab : {3, 1, 2, 0}) {
        view->tabEingabe()->setCurrentIndex(tab);
        QApplication::processEvents();
        // Nothing is cut: every tab's content fits beside the selection at 1024x768.
        EXPECT_LE(view->minimumSizeHint().width(), view->width()) << tab;
        EXPECT_LE(view->minimumSizeHint().height(), view->height()) << tab;
        const QPixmap shot = main->grab();
        ASSERT_EQ(shot.size(), QSize(1024, 768));
        ASSERT_TRUE(saveScreenshot(shot, QStringLiteral("parameters-%1-%2.png").arg(QLatin1String(kNames[tab]), language)));
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, ParameterScreens, ::testing::Values(1, 2));

}  // namespace
}  // namespace zev::test
