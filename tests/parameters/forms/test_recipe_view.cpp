// The recipe tab of frmParameter in the main window on the simulator: the
// opening read, saving and loading through the recipe window, the caption's
// suffix and "Übertragen", the recipe window's "Neu", and the printout of a
// 270-zone table. With ZEV_SCREENSHOT_DIR set it leaves parameters-recipe-loaded.png,
// parameters-recipe-window.png and parameters-zone-printout.pdf there:
//   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb ZEV_SCREENSHOT_DIR=docs/screenshots
//     build/bin/test_parameters_forms --gtest_filter='RecipeView*'
#include "screenshots.h"
#include "parameter_fixture.h"

#include "parameters/forms/parameter_file_dialog.h"
#include "parameters/forms/parameter_table.h"
#include "parameters/forms/parameter_view.h"
#include "parameters/parameter_printout.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "shell/system_printer.h"
#include "widgets/zone_selection_panel.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

namespace zev::test {
namespace {

class RecipeView : public ::testing::Test {
protected:
    RecipeView() : bus(controllers({8, 4})) {}
    void SetUp() override {
        t.users->loadLevelNames();
        ASSERT_TRUE(identifyAndHeat(t, bus, 200));
        ASSERT_TRUE(scanAndRead(*t.ctx, bus));
        main = std::make_unique<MainWindow>(*t.ctx, splash);
        main->InitForms();
        main->setGeometry(0, 0, 1024, 768);
        main->show();
        QApplication::processEvents();
        view = dynamic_cast<ParameterView*>(main->view(kViewParameters));
        ASSERT_NE(view, nullptr);
        view->chooseRecipe = [this](bool) { return chosen; };
    }
    AppContext& ctx() { return *t.ctx; }

    TestContext t;
    zevsim::InProcessBus bus;
    SplashWindow splash;
    std::unique_ptr<MainWindow> main;
    ParameterView* view = nullptr;
    QString chosen;
};

TEST_F(RecipeView, SaveLoadAndTheCaptionFollowTheDifference) {
    main->selectTab(kViewParameters);
    EXPECT_TRUE(view->ValuesLoaded) << "the opening sequence reads every parameter";
    view->tabEingabe()->setCurrentIndex(ParameterView::kTabRecipes);
    EXPECT_FALSE(view->chkShowRecipeTable(0)->isVisible()) << "no recipe yet";
    EXPECT_EQ(view->lblRecipe(0)->text(), QStringLiteral("Kein Rezept geladen."));

    chosen = QStringLiteral("FORM A");
    view->cmdLoadSaveRecipe_Click(1);
    const QString caption = QStringLiteral("Werkzeug: ") + ctx().tool.ToolName + QStringLiteral("    Rezept: FORM A");
    EXPECT_EQ(main->windowTitle(), caption);
    EXPECT_EQ(view->lblRecipe(0)->text(), QStringLiteral("Rezept: FORM A"));
    EXPECT_FALSE(view->lblRecipe(1)->isVisible());
    EXPECT_TRUE(view->recipeTable(1)->isVisible());
    EXPECT_FALSE(view->cmdSend()->isEnabled());

    // Another target: the suffix once, "Übertragen" on; sending removes both.
    ZoneParameter& ramp = ctx().driver.ZoneParameters[1];
    ramp.Target[3] = static_cast<std::int16_t>(ramp.Value[3] == 40 ? 41 : 40);
    view->CompareRecipes();
    view->CompareRecipes();
    EXPECT_EQ(main->windowTitle(), caption + QStringLiteral("  ( nicht mehr aktuell )"));
    EXPECT_TRUE(view->cmdSend()->isEnabled());
    t.answer({QStringLiteral("1")});  // "Alle Zonen" (the selection is not every zone)
    view->cmdSend_Click();
    EXPECT_EQ(bus.plant().zoneParameter(1, 3, 1), ramp.Target[3]);
    EXPECT_EQ(main->windowTitle(), caption);
    EXPECT_FALSE(view->cmdSend()->isEnabled());

    // Loading the stored recipe brings the old target back as a difference.
    chosen = QStringLiteral("FORM A");
    view->cmdLoadSaveRecipe_Click(0);
    EXPECT_EQ(main->windowTitle(), caption + QStringLiteral("  ( nicht mehr aktuell )"));
    EXPECT_EQ(t.settings->GetIni(QStringLiteral("STANDARD"), QStringLiteral("REZEPT"), QString(), ctx().tool.ToolIni),
              QStringLiteral("FORM A"));
    if (!screenshotDir().isEmpty()) {
        view->selection()->groupBox(0)->setChecked(true);
        view->selectionChanged();
        QApplication::processEvents();
        EXPECT_TRUE(saveScreenshot(main->grab(), QStringLiteral("parameters-recipe-loaded.png")));
    }
}

TEST_F(RecipeView, TheRecipeWindowListsChoosesAndNamesANewRecipe) {
    ParameterFileDialog load(ctx(), false, {QStringLiteral("A"), QStringLiteral("FORM B")}, main.get());
    EXPECT_EQ(load.windowTitle(), QStringLiteral("Parametersatz laden"));
    EXPECT_TRUE(load.cmdNew()->isHidden());
    load.vbalParamRzp()->setCurrentRow(1);
    load.cmdOK_Click();
    EXPECT_EQ(load.result(), QStringLiteral("FORM B"));

    ParameterFileDialog save(ctx(), true, {QStringLiteral("A"), QStringLiteral("FORM B")}, main.get());
    EXPECT_EQ(save.windowTitle(), QStringLiteral("Parametersatz speichern"));
    EXPECT_FALSE(save.cmdNew()->isHidden());
    for (QWidget* w : save.findChildren<QPushButton*>()) EXPECT_FALSE(w->accessibleName().isEmpty());
    if (!screenshotDir().isEmpty()) {
        save.show();
        QApplication::processEvents();
        EXPECT_TRUE(saveScreenshot(save.grab(), QStringLiteral("parameters-recipe-window.png")));
    }
    t.answer({QStringLiteral(" neu/1 ")});
    save.cmdNew_Click();
    EXPECT_EQ(save.result(), QStringLiteral("NEU_1"));
    EXPECT_TRUE(t.transcript().join(QLatin1Char('\n')).contains(QStringLiteral("Name für Parametersatz eingeben")));
}

TEST(RecipePrintout, A270ZoneTableNamesToolRecipeUnitAndRepeatsTheParameterNames) {
    TestContext t;
    installDrivers(t);
    AppContext& ctx = *t.ctx;
    ctx.plant.ZoneCount = 270;
    ctx.tool.ToolName = QStringLiteral("FORM 7");
    for (int p = 1; p <= kZoneParameterCount; ++p) {
        ZoneParameter& param = ctx.driver.ZoneParameters[static_cast<std::size_t>(p)];
        param.Name = QStringLiteral("Parameter %1").arg(p);
        param.Min = p <= 26 ? 0 : -2;
        param.Max = p <= 26 ? 999 : -2;
        for (int z = 1; z <= 270; ++z) param.Value[static_cast<std::size_t>(z)] = static_cast<std::int16_t>(z + p);
    }
    const Report r = zoneParameterPrintout(ctx, std::vector<bool>(271, true), QStringLiteral("FORM A"));
    EXPECT_TRUE(r.headerLines.contains(QStringLiteral("Werkzeug: FORM 7")));
    EXPECT_TRUE(r.headerLines.contains(QStringLiteral("Rezept: FORM A")));
    EXPECT_TRUE(r.headerLines.contains(QStringLiteral("Alle Temperatureinheiten in °C")));
    EXPECT_EQ(r.pageLabel, QStringLiteral("Seite "));
    // Every zone once, in order, each table with the names of the 26 parameters.
    QStringList zones;
    int tables = 0;
    for (const ReportBlock& b : r.blocks) {
        if (!std::holds_alternative<ReportTable>(b)) continue;
        const auto& table = std::get<ReportTable>(b);
        ++tables;
        zones << table.header.mid(1);
        ASSERT_EQ(table.rows.size(), 26);
        EXPECT_EQ(table.rows[25][0], QStringLiteral("Parameter 26"));
    }
    ASSERT_EQ(zones.size(), 270);
    EXPECT_EQ(zones.front(), QStringLiteral("[Zone 1]"));
    EXPECT_EQ(zones.back(), QStringLiteral("[Zone 270]"));
    EXPECT_GT(tables, 1);
    if (!screenshotDir().isEmpty()) {
        QString error;
        ASSERT_TRUE(SystemPrinter::printToPdf(r, QDir(screenshotDir()).filePath(QStringLiteral("parameters-zone-printout.pdf")), &error))
            << error.toStdString();
    }
}

}  // namespace
}  // namespace zev::test
