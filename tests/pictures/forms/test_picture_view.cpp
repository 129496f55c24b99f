// frmNewProcess on the demo tool's pictures (drawn by scripts/make-demo-pictures):
// live values through the display rules, go-to buttons, the editor driven by
// synthetic mouse events, the question before unsaved changes are lost, bad
// files. The screenshots are written when ZEV_SCREENSHOT_DIR names a directory:
//   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb ZEV_SCREENSHOT_DIR=docs/screenshots
//     build/bin/test_pictures_forms --gtest_filter='PictureForms.Screen*'

#include "screenshots.h"
#include "test_context.h"

#include "pictures/forms/import_dialog.h"
#include "pictures/forms/picture_canvas.h"
#include "pictures/picture_dir.h"
#include "pictures/forms/picture_view.h"
#include "pictures/picture_layout.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "widgets/view.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QMouseEvent>
#include <QProcess>
#include <QPushButton>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>

namespace zev::test {
namespace {

void mouse(QWidget* w, QEvent::Type type, QPoint local, QPoint global) {
    QMouseEvent e(type, QPointF(local), QPointF(global), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
    QApplication::sendEvent(w, &e);
}
// Press at `from` (local to w), move and let go `by` further, as a finger does.
void drag(QWidget* w, QPoint from, QPoint by) {
    const QPoint g = w->mapToGlobal(from);
    mouse(w, QEvent::MouseButtonPress, from, g);
    mouse(w, QEvent::MouseMove, from + by / 2, g + by / 2);
    mouse(w, QEvent::MouseMove, from + by, g + by);
    mouse(w, QEvent::MouseButtonRelease, from + by, g + by);
}
void click(QWidget* w) { drag(w, QPoint(5, 5), QPoint()); }

class PictureForms : public ::testing::Test {
protected:
    void SetUp() override {
        ctx.tool.PicsDir = tc.home.file(QStringLiteral("PICS"));
        ASSERT_EQ(QProcess::execute(QStringLiteral("/usr/bin/python3"),
                                    {QStringLiteral(ZEV_SOURCE_DIR "/scripts/make-demo-pictures"), ctx.tool.PicsDir}),
                  0);
        ctx.plant.ZoneCount = 48;
        ctx.link->SetOnlineBetrieb(true);
        for (int z = 1; z <= 48; ++z) {
            ZoneRecord& r = ctx.plant.zone(z);
            r.Name = z <= 32   ? QStringLiteral("Düse %1%2").arg(z <= 16 ? 'A' : 'B').arg((z - 1) % 16 + 1, 2, 10, QLatin1Char('0'))
                     : z <= 40 ? QStringLiteral("Verteiler %1").arg(z - 32)
                               : QStringLiteral("Anguss %1").arg(z - 40);
            r.Mode = 2;
            r.Setpoint = 230;
            r.ActualValue = static_cast<std::int16_t>(200 + z);
            r.OutputRate = 40;
            r.StatusWord = 0;
        }
    }
    QLabel* field(PictureView& v, int k) { return v.canvas()->valueFields().at(static_cast<size_t>(k)); }
    QLabel* button(PictureView& v, int k) { return v.canvas()->gotoButtons().at(static_cast<size_t>(k)); }
    QString ini(int n) { return ctx.tool.PicsDir + QStringLiteral("/BILD%1.INI").arg(n, 3, 10, QLatin1Char('0')); }
    void level4() {
        tc.users->loadLevelNames();
        tc.users->loadPasswords();
        tc.answer({QStringLiteral("harbour")});
        ASSERT_TRUE(tc.users->TryChangeUserLevel(4));
    }
    TestContext tc;
    AppContext& ctx = *tc.ctx;
};

TEST_F(PictureForms, TheMouldShowsLiveValuesAndItsButtonsLeadToThePictures) {
    PictureView view(ctx);
    view.resize(1000, 640);
    view.show();
    ASSERT_EQ(view.pictureNumber(), 0);
    ASSERT_EQ(view.canvas()->valueFields().size(), 16u);
    // VALUE_001 is manifold zone 33, VALUE_003 sprue 41 (scripts/make-demo-pictures).
    EXPECT_EQ(field(view, 0)->text(), QStringLiteral("233 °C"));
    EXPECT_EQ(field(view, 0)->geometry(), QRect(152, 170, 76, 24));
    ctx.plant.zone(33).Mode = 0;
    ctx.plant.zone(41).StatusShort = QStringLiteral("SSR");
    ctx.BlinkPhase = 3;
    view.RefreshValues();
    EXPECT_EQ(field(view, 0)->text(), QString());
    EXPECT_EQ(field(view, 2)->text(), QStringLiteral("SSR"));
    ctx.link->SetOnlineBetrieb(false);
    ctx.plant.ZoneCount = 48;
    view.RefreshValues();
    EXPECT_EQ(field(view, 2)->text(), QString());  // offline: no value is shown as live
    ctx.link->SetOnlineBetrieb(true);
    ctx.plant.ZoneCount = 48;

    click(button(view, 1));
    EXPECT_EQ(view.pictureNumber(), 2);
    EXPECT_EQ(field(view, 15)->text(), QStringLiteral("232 °C"));  // zone 32, the last nozzle of row B
    click(button(view, 0));
    EXPECT_EQ(view.pictureNumber(), 0);

    // The list of pictures with their previews; a choice loads it.
    view.showPreviews(true);
    QListWidget* list = view.previews();
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("Düsen A"));
    EXPECT_FALSE(list->item(1)->icon().isNull());
    emit list->itemClicked(list->item(1));
    EXPECT_EQ(view.pictureNumber(), 1);
    EXPECT_EQ(field(view, 0)->text(), QStringLiteral("201 °C"));
    view.LoadBild(0);

    // A target no picture has leaves the picture shown; zones the plant lacks get no field.
    PictureLayout l = readLayout(ini(0)).layout;
    l.touches[0].target = QStringLiteral("Gibt es nicht");
    l.values[1].zone = 49;
    l.values[2].zone = 999;
    ASSERT_TRUE(writeLayout(ini(0), l).ok);
    view.LoadBild(0);
    EXPECT_EQ(field(view, 1), nullptr);
    EXPECT_EQ(field(view, 2), nullptr);
    click(button(view, 0));
    EXPECT_EQ(view.pictureNumber(), 0);
    EXPECT_EQ(view.canvas()->layout(), l);  // kept for saving
}

TEST_F(PictureForms, TheEditorDropsMovesResizesDeletesAndAsksBeforeLosingChanges) {
    level4();
    PictureView view(ctx);
    view.resize(1000, 640);
    view.show();
    view.SetConfig(true);
    ASSERT_TRUE(view.canvas()->editing());
    PictureCanvas* canvas = view.canvas();

    // A new value field dragged from the command image onto the picture.
    auto* zones = view.findChild<QListWidget*>(QStringLiteral("lstZonename"));
    auto* what = view.findChild<QComboBox*>(QStringLiteral("cboWhat"));
    QLabel* img = view.imgCmd(0);
    const QPoint dropAt = canvas->mapToGlobal(QPoint(300, 200));
    mouse(img, QEvent::MouseButtonPress, QPoint(5, 5), img->mapToGlobal(QPoint(5, 5)));
    mouse(img, QEvent::MouseButtonRelease, img->mapFromGlobal(dropAt), dropAt);
    ASSERT_EQ(canvas->valueFields().size(), 17u);
    EXPECT_EQ(canvas->selectedValue(), 16);
    zones->setCurrentRow(4);
    what->setCurrentIndex(1);
    QLabel* added = field(view, 16);
    drag(added, QPoint(10, 10), QPoint(40, 25));                      // moved
    drag(added, QPoint(added->width() - 3, added->height() - 3), QPoint(30, 10));  // resized
    EXPECT_EQ(canvas->layout().values[16], (PictureValue{5, 1, QRect(340, 225, 102, 36)}));
    EXPECT_EQ(added->geometry(), QRect(340, 225, 102, 36));

    click(button(view, 0));  // in the editor a go-to button is selected, not followed
    EXPECT_EQ(view.pictureNumber(), 0);
    view.findChild<QPushButton*>(QStringLiteral("cmdDeleteElement"))->click();
    ASSERT_EQ(canvas->gotoButtons().size(), 1u);
    EXPECT_EQ(canvas->layout().touches[0].target, QStringLiteral("Düsen B"));

    // Leaving the editor: "Ja" saves.
    tc.answer({QStringLiteral("1")});
    view.SetConfig(false);
    EXPECT_TRUE(tc.lastNotice().contains(QStringLiteral("Die Ansicht wurde geändert")));
    const LayoutRead saved = readLayout(ini(0));
    ASSERT_EQ(saved.layout.values.size(), 17u);
    EXPECT_EQ(saved.layout.values[16], (PictureValue{5, 1, QRect(340, 225, 102, 36)}));
    ASSERT_EQ(saved.layout.touches.size(), 1u);
    EXPECT_EQ(saved.layout.values[0], (PictureValue{33, 0, QRect(152, 170, 76, 24)}));

    // "Nein" keeps the file and shows it again.
    view.SetConfig(true);
    drag(field(view, 0), QPoint(10, 10), QPoint(-50, 0));
    tc.answer({QStringLiteral("2")});
    view.SetConfig(false);
    EXPECT_EQ(readLayout(ini(0)).layout, saved.layout);
    EXPECT_EQ(field(view, 0)->geometry(), QRect(152, 170, 76, 24));
}

TEST_F(PictureForms, BadFilesAreToldAndTheRestIsStillShown) {
    // An image of another format named ".BMP", and a damaged layout.
    QFile bmp(ctx.tool.PicsDir + QStringLiteral("/BILD001.BMP"));
    ASSERT_TRUE(bmp.open(QIODevice::WriteOnly));
    bmp.write(QByteArray("\x89PNG\r\n\x1a\n", 8) + QByteArray(64, '\0'));
    bmp.close();
    QFile layout(ini(2));
    ASSERT_TRUE(layout.open(QIODevice::Append));
    layout.write(QByteArray(40, '\0'));
    layout.close();
    PictureView view(ctx);
    view.show();
    tc.answer({QStringLiteral("1")});
    view.LoadBild(1);
    EXPECT_EQ(view.canvas()->valueFields().size(), 16u);
    EXPECT_EQ(field(view, 0)->text(), QStringLiteral("201 °C"));
    tc.answer({QStringLiteral("1")});
    view.LoadBild(2);
    EXPECT_TRUE(tc.lastNotice().contains(QStringLiteral("beschädigt"))) << tc.lastNotice().toStdString();
    EXPECT_EQ(view.canvas()->valueFields().size(), 16u);
    const int told = tc.transcript().size();
    view.LoadBild(2);  // once per file
    EXPECT_EQ(tc.transcript().size(), told);
}

TEST_F(PictureForms, TheImportDialogListsFoldersAndBitmapsAndImportsTheChosenOnes) {
    const QString stick = tc.home.file(QStringLiteral("stick"));
    QDir().mkpath(stick + QStringLiteral("/Fotos"));
    QFile::copy(ctx.tool.PicsDir + QStringLiteral("/BILD001.BMP"), stick + QStringLiteral("/Deckel.BMP"));
    QFile::copy(ctx.tool.PicsDir + QStringLiteral("/BILD002.BMP"), stick + QStringLiteral("/anguss.bmp"));
    QFile(stick + QStringLiteral("/notes.txt")).open(QIODevice::WriteOnly);
    PictureDir dir(ctx.tool.PicsDir);
    ImportDialog dialog(ctx, dir);
    dialog.Refresh_RootList(stick);
    QListWidget* list = dialog.rootList();
    QStringList shown;
    for (int i = 0; i < list->count(); ++i) shown << list->item(i)->text();
    EXPECT_EQ(shown, (QStringList{QStringLiteral("[..]"), QStringLiteral("[Fotos]"), QStringLiteral("anguss.bmp"),
                                  QStringLiteral("Deckel.BMP")}));
    list->item(2)->setSelected(true);
    list->item(3)->setSelected(true);
    dialog.cmdImport_Click();
    EXPECT_EQ(dialog.imported(), 4);
    EXPECT_EQ(dir.findByName(QStringLiteral("anguss")), 3);
    EXPECT_EQ(dir.findByName(QStringLiteral("Deckel")), 4);
}

TEST_F(PictureForms, ASaveThatCannotBeWrittenIsToldAndKeepsTheOldLayout) {
    level4();
    PictureView view(ctx);
    view.show();
    view.SetConfig(true);
    drag(field(view, 0), QPoint(10, 10), QPoint(20, 0));
    const QByteArray before = tc.home.read(QStringLiteral("PICS/BILD000.INI"));
    // A file size limit makes the write fail the way a full disk does (root too).
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 100;
    setrlimit(RLIMIT_FSIZE, &small);
    tc.answer({QStringLiteral("1")});
    const bool saved = view.SaveBild();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, handler);
    EXPECT_FALSE(saved);
    EXPECT_TRUE(tc.lastNotice().contains(QStringLiteral("Die Ansicht konnte nicht gespeichert werden"))) << tc.lastNotice().toStdString();
    EXPECT_TRUE(tc.lastNotice().contains(QStringLiteral("nicht genügend Speicherplatz")));
    EXPECT_EQ(tc.home.read(QStringLiteral("PICS/BILD000.INI")), before);
    EXPECT_EQ(QDir(ctx.tool.PicsDir).entryList(QDir::Files | QDir::Hidden).size(), 6);  // no temporary file left
    EXPECT_TRUE(view.canvas()->editing());  // the change is still on screen
    tc.answer({QStringLiteral("2")});
    view.SetConfig(false);
}

using PictureScreens = PictureForms;

TEST_F(PictureScreens, ScreenMouldLiveAndEditor) {
    level4();
    ctx.plant.zone(45).StatusShort = QStringLiteral("SSR");
    ctx.plant.zone(36).Mode = 1;
    ctx.BlinkPhase = 3;
    SplashWindow splash;
    MainWindow main(ctx, splash);
    main.InitForms();
    main.setGeometry(0, 0, 1024, 768);
    main.show();
    main.selectTab(kViewPictures);
    auto* view = dynamic_cast<PictureView*>(main.view(kViewPictures));
    ASSERT_NE(view, nullptr);
    view->RefreshValues();
    // Every value field and button lies inside the picture area.
    for (QLabel* f : view->canvas()->valueFields()) EXPECT_TRUE(view->canvas()->rect().contains(f->geometry()));
    EXPECT_EQ(field(*view, 3)->text(), QStringLiteral("SSR"));
    saveMainWindowShot(main, QStringLiteral("pictures-mould-live.png"));
    view->SetConfig(true);
    view->canvas()->createValue(QPoint(560, 200), 12, 1);
    saveMainWindowShot(main, QStringLiteral("pictures-editor.png"));
    tc.answer({QStringLiteral("2")});
    view->SetConfig(false);
}

}  // namespace
}  // namespace zev::test
