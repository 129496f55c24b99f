// The tool manager page: drives and tools as the disk holds them, the content
// and the preview of the chosen tool, a tool dragged onto a stick, a stick
// that arrives; screenshots in both languages (ZEV_SCREENSHOT_DIR, see
// test_group_editor.cpp).
#include "screenshots.h"
#include "test_context.h"

#include "base/settings.h"
#include "plant/tool_data.h"
#include "shell/config_view.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "tools/active_tool.h"
#include "tools/forms/tool_manager_page.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace zev::test {
namespace {

class ToolPage : public ::testing::Test {
protected:
    void prepare(int language) {
        tc = std::make_unique<TestContext>(language);
        {
            Settings::Batch batch(*tc->settings);
            LoadActiveTool(*tc->ctx);
        }
        const QString tools = tc->ctx->tool.ToolsDir;
        for (const char* f : {"HEISSKANAL 12/parameter/PA6 GF30.rzp", "HEISSKANAL 12/parameter/PP natur.rzp",
                              "HEISSKANAL 12/LOGFILES/20261205.CDB", "HEISSKANAL 12/LOGFILES/Inbetriebnahme.log",
                              "HEISSKANAL 12/Wartung/index.htm", "DECKEL 4/parameter/ABS.rzp"})
            tc->home.write(QStringLiteral("TOOLS/") + QString::fromUtf8(f), "x");
        // The main process picture of the mould: a few nozzles on a manifold.
        QImage picture(640, 400, QImage::Format_RGB32);
        picture.fill(QColor(230, 230, 220));
        QPainter p(&picture);
        p.setBrush(QColor(200, 90, 40));
        p.drawRect(60, 170, 520, 60);
        for (int i = 0; i < 6; ++i) p.drawRect(80 + i * 90, 230, 30, 120);
        p.end();
        QDir().mkpath(tools + QStringLiteral("HEISSKANAL 12/PICS"));
        picture.save(tools + QStringLiteral("HEISSKANAL 12/PICS/BILD000.bmp"), "BMP");
        stickRoot = stick.path() + QStringLiteral("/USB-STICK");
        stickTool = stickRoot + QStringLiteral("/ZEVcontol 2/Tools/SPRITZGUSS 7");
        QDir().mkpath(stickTool + QStringLiteral("/parameter"));
    }
    DriveSources sources() { return {QStringLiteral("/nonexistent/mounts"), QStringLiteral("/nonexistent"), stickRoot}; }
    QTreeWidgetItem* toolItem(QTreeWidget* t, int drive, int i) { return t->topLevelItem(drive)->child(i); }

    QTemporaryDir stick;
    QString stickRoot, stickTool;
    std::unique_ptr<TestContext> tc;
};

TEST_F(ToolPage, ListsDrivesToolsAndContentAndExportsByDrop) {
    prepare(1);
    ToolManagerPage page(*tc->ctx, {QStringLiteral("/nonexistent/mounts"), QStringLiteral("/nonexistent"), {}});
    QTreeWidget* drives = page.drives();
    ASSERT_EQ(drives->topLevelItemCount(), 1);  // no stick yet
    EXPECT_EQ(drives->topLevelItem(0)->text(0), QStringLiteral("Festplatte\n3 Werkzeuge, 10,0 GB frei"));
    EXPECT_EQ(toolItem(drives, 0, 0)->text(0), QStringLiteral("DECKEL 4   1 Rezept."));
    EXPECT_EQ(toolItem(drives, 0, 1)->text(0), QStringLiteral("HEISSKANAL 12   2 Rezepte."));
    EXPECT_EQ(toolItem(drives, 0, 2)->text(0), QStringLiteral("STANDARD (aktiv)   0 Rezepte."));

    drives->setCurrentItem(toolItem(drives, 0, 1));
    QStringList kinds;
    for (int i = 0; i < page.content()->topLevelItemCount(); ++i) kinds << page.content()->topLevelItem(i)->text(0);
    EXPECT_EQ(kinds, (QStringList{QStringLiteral("Rezepte (2)"), QStringLiteral("Logdateien (1)"),
                                  QStringLiteral("Diagnosedateien (1)"), QStringLiteral("Bilder (1)"),
                                  QStringLiteral("Wartungsdateien (1)")}));
    EXPECT_FALSE(page.findChild<QLabel*>(QStringLiteral("imgPreview"))->pixmap().isNull());

    // The stick arrives: the page follows, the tool is dropped onto it.
    page.SearchLogicalDrives();
    ASSERT_EQ(drives->topLevelItemCount(), 1);
    ToolManagerPage withStick(*tc->ctx, sources());
    drives = withStick.drives();
    ASSERT_EQ(drives->topLevelItemCount(), 2);
    EXPECT_EQ(drives->topLevelItem(1)->text(0), QStringLiteral("Wechseldatenträger USB-STICK\n1 Werkzeug, 10,0 GB frei"));
    tc->answer({QStringLiteral("HK12"), QStringLiteral("2")});
    withStick.dropOnDrives(toolItem(drives, 0, 1), drives->topLevelItem(1));
    EXPECT_EQ(tc->lastNotice().section(QStringLiteral(" | "), 0, 0), QStringLiteral("NOTICE Werkzeug erfolgreich kopiert."));
    ASSERT_EQ(drives->topLevelItem(1)->childCount(), 2);
    EXPECT_EQ(drives->topLevelItem(1)->child(0)->text(0), QStringLiteral("HK12   2 Rezepte."));
    EXPECT_FALSE(QFileInfo::exists(stickRoot + QStringLiteral("/ZEVcontol 2/Tools/HK12/LOGFILES")));
    // The stick's tool cannot be activated.
    drives->setCurrentItem(drives->topLevelItem(1)->child(1));
    tc->answer({QStringLiteral("2")});
    withStick.cmdChange_Click();
    EXPECT_EQ(tc->lastNotice().section(QStringLiteral(" | "), 0, 0),
              QStringLiteral("NOTICE Es dürfen keine Werkzeuge auf Wechseldatenträgern aktiviert werden!"));
}

TEST_F(ToolPage, ScreenshotsInBothLanguages) {
  for (int language : {1, 2}) {
    SCOPED_TRACE(language);
    prepare(language);
    qputenv("ZEV_EXPORT_DRIVE", stickRoot.toUtf8());
    SplashWindow splash;
    MainWindow main(*tc->ctx, splash);
    main.InitForms();
    main.setGeometry(0, 0, 1024, 768);
    main.show();
    main.selectTab(kViewConfiguration);
    auto* config = dynamic_cast<ConfigView*>(main.view(kViewConfiguration));
    ASSERT_NE(config, nullptr);
    config->pages()->setCurrentIndex(kPageTools);
    auto* page = qobject_cast<ToolManagerPage*>(config->pages()->currentWidget());
    ASSERT_NE(page, nullptr);
    ASSERT_TRUE(page->selectTool(tc->ctx->tool.ToolsDir + QStringLiteral("HEISSKANAL 12")));
    page->content()->expandAll();
    QApplication::processEvents();
    qunsetenv("ZEV_EXPORT_DRIVE");
    // Every command is on the page.
    for (QPushButton* b : page->findChildren<QPushButton*>())
        EXPECT_TRUE(page->rect().contains(b->geometry())) << b->objectName().toStdString();
    const QPixmap shot = main.grab();
    ASSERT_EQ(shot.size(), QSize(1024, 768));
    ASSERT_TRUE(saveScreenshot(shot, language == 1 ? QStringLiteral("tool-manager-de.png") : QStringLiteral("tool-manager-en.png")));
    main.unloadViews();
  }
}

}  // namespace
}  // namespace zev::test
