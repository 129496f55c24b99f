// The station on the panel's 1024x768 screen: the real main window after a real
// start, every view, page and tab of it, and the dialogs an operator meets, in
// German and English with the texts of the tables. With ZEV_SCREENSHOT_DIR set
// (under Xvfb: xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb
// ZEV_SCREENSHOT_DIR=docs/screenshots build/bin/test_shell --gtest_filter='ScreenFit.*')
// the main window and the keyboard are also written as the documentation's pictures.
#include "recording_bus.h"
#include "sim_bench.h"
#include "test_context.h"

#include "shell/config_view.h"
#include "shell/entry_dialogs.h"
#include "shell/hinweis_dialog.h"
#include "shell/main_cycle.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "shell/startup.h"
#include "shell/touch_keyboard.h"
#include "widgets/touch_style.h"
#include "shell/err_ptnr_dialog.h"
#include "views/overview_view.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFontDatabase>
#include <QStyleFactory>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <gtest/gtest.h>

using namespace zev;
using zev::test::RecordingBus;
using zev::test::TestContext;
using zev::test::controllers;
using zev::test::identifyAndHeat;

namespace {

const QSize kScreen(1024, 768);

bool fits(const QSize& s) { return s.width() <= kScreen.width() && s.height() <= kScreen.height(); }

std::string describe(const QSize& s) {
    return std::to_string(s.width()) + "x" + std::to_string(s.height());
}

void saveShot(QWidget& w, const QString& name) {
    const QString dir = qEnvironmentVariable("ZEV_SCREENSHOT_DIR");
    if (dir.isEmpty()) return;
    QDir().mkpath(dir);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QApplication::processEvents();
    ASSERT_TRUE(w.grab().save(QDir(dir).filePath(name)));
}

// The longest text of the language's tables, the hardest one for a notice.
QString longestText(Texts& texts) {
    QString longest;
    for (int n = 113; n <= 1537; ++n)
        if (texts(n).size() > longest.size()) longest = texts(n);
    return longest;
}

class ScreenFit : public ::testing::TestWithParam<int> {
protected:
    int language() const { return GetParam(); }
    const char* suffix() const { return language() == 1 ? "de" : "en"; }
};

// Shows the window at the panel's size and goes through every view, every tab
// of the overview and every page of the configuration; the window must keep its
// size and the clock (the status bar's last element) must stay inside.
// At level 4, where every control of the views is shown (the maintenance
// command line among them).
void checkEveryViewFits(TestContext& tc, MainWindow& main, const std::string& plant, const QString& picture) {
    tc.answer({QStringLiteral("harbour")});
    ASSERT_TRUE(tc.users->TryChangeUserLevel(4)) << tc.transcript().join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(fits(main.minimumSizeHint())) << plant << ": " << describe(main.minimumSizeHint());
    main.setGeometry(QRect(QPoint(0, 0), kScreen));
    main.show();
    main.TmrDate_Timer();  // the clock in the status bar
    auto check = [&](const std::string& where) {
        QApplication::processEvents();
        EXPECT_EQ(main.size(), kScreen) << plant << ", " << where << ": " << describe(main.size());
        const QTabBar* tabs = main.findChild<QTabBar*>(QStringLiteral("tabMain"));
        EXPECT_GE(tabs->height(), tabs->sizeHint().height()) << plant << ", " << where << ": the view tabs are squeezed";
        const QLabel* clock = main.lblStatusbar(0);
        EXPECT_LE(clock->mapTo(&main, QPoint(clock->width(), clock->height())).x(), kScreen.width()) << plant << ", " << where;
        EXPECT_LE(clock->mapTo(&main, QPoint(clock->width(), clock->height())).y(), kScreen.height()) << plant << ", " << where;
    };
    auto* overview = static_cast<OverviewView*>(main.view(kViewOverview));
    overview->tabOverview()->setCurrentIndex(OverviewView::kTabTotal);
    check("overview");
    saveShot(main, picture);
    for (int tab = 0; tab < overview->tabOverview()->count(); ++tab) {
        overview->tabOverview()->setCurrentIndex(tab);
        check("overview tab " + std::to_string(tab));
    }
    for (int v = kViewCount - 1; v >= 0; --v) {
        main.selectTab(v);
        check("view " + std::to_string(v));
    }
    auto* config = static_cast<ConfigView*>(main.view(kViewConfiguration));
    main.selectTab(kViewConfiguration);
    for (int page = 0; page < config->pages()->count(); ++page) {
        config->pages()->setCurrentIndex(page);
        check("configuration page " + std::to_string(page));
    }
}

// The program's look while a test runs: its style with the enlarged scroll bars,
// its style sheet and its clock font, as the program sets them at start-up.
class StationLook {
public:
    StationLook() : oldStyle_(QApplication::style()->name()) {
        auto* style = new touch::ScrollBarStyle();
        style->setExtent(touch::kScrollBarExtent, touch::kScrollBarExtent);
        QApplication::setStyle(style);
        qApp->setStyleSheet(touch::applicationStyleSheet());
        static const bool added =
            QFontDatabase::addApplicationFont(QStringLiteral(ZEV_SOURCE_DIR "/data/fonts/DSEG7Classic-Bold.ttf")) >= 0;
        EXPECT_TRUE(added);
    }
    ~StationLook() {
        qApp->setStyleSheet(QString());
        QApplication::setStyle(QStyleFactory::create(oldStyle_));
    }

private:
    QString oldStyle_;
};

// 270 zones (an offline start): the Total view of one value per zone.
TEST_P(ScreenFit, OfflineStartWith270ZonesInEveryViewPageAndTab) {
    StationLook look;
    RecordingBus bus;
    TestContext tc(language(), &bus);
    tc.home.write(QStringLiteral("zev.ini"), "[SERIAL]\r\nONLINE=0\r\n");
    SplashWindow splash;
    MainWindow main(*tc.ctx, splash);
    Form_Load(*tc.ctx, main, splash);
    ASSERT_NE(main.view(kViewConfiguration), nullptr);
    checkEveryViewFits(tc, main, "offline", QStringLiteral("main-window-offline-%1.png").arg(QLatin1String(suffix())));
}

// 48 zones online (the demo plant): two values per zone under the three long
// tab captions, the outputs and the most severe state in the status bar.
TEST_P(ScreenFit, OnlinePlantOf48ZonesInEveryViewPageAndTab) {
    StationLook look;
    TestContext tc(language());
    // The demo tool of ./run: group names and colours, zone names.
    const QDir demo(QStringLiteral(ZEV_SOURCE_DIR "/data/TOOLS/DEMO"));
    QDirIterator files(demo.path(), QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString file = files.next();
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        tc.home.write(QStringLiteral("TOOLS/DEMO/") + demo.relativeFilePath(file), f.readAll());
    }
    tc.home.write(QStringLiteral("zev.ini"), "[TOOL]\r\nTOOLNAME=DEMO\r\n");
    zevsim::InProcessBus bus(controllers({16, 16, 16}));
    ASSERT_TRUE(identifyAndHeat(tc, bus, 230));
    // The demo tool knows its wiring: the confirmation prepared for a new one stays unused.
    while (tc.op->remaining() > 0) tc.op->enterText(QStringLiteral("unused"), QString());
    bus.plant().inject({zevsim::FaultKind::BrokenSensor, 1, 3});
    bus.advance(30.0);
    ASSERT_TRUE(bus.waitForScan());
    SplashWindow splash;
    MainWindow main(*tc.ctx, splash);
    main.lblStatusbar(6)->setText(tc.texts->operator()(1537));  // as the start-up writes them
    tc.users->loadLevelNames();
    tc.users->loadPasswords();
    main.InitForms();
    main.setGeometry(QRect(QPoint(0, 0), kScreen));
    main.show();  // the overview refreshes only while it is shown
    MainCycle cycle(*tc.ctx, main);
    cycle.readingPass();
    tc.ctx->BlinkPhase = 3;  // the phase in which a fault shows its short code
    cycle.evaluationPass();
    EXPECT_FALSE(main.lblStatusbar(2)->text().isEmpty()) << "the broken sensor shows";
    checkEveryViewFits(tc, main, "online", QStringLiteral("main-window-%1.png").arg(QLatin1String(suffix())));
}

TEST_P(ScreenFit, TheDialogsFitWithTheLongestTexts) {
    StationLook look;
    TestContext tc(language());
    Texts& t = *tc.texts;
    const QString longest = longestText(t);
    ASSERT_GT(longest.size(), 100);

    TouchKeyboardDialog keyboard(t, longest, QString(), true);
    HinweisDialog notice(longest, t(1365), t(1366), t(1367), kNoticeAlarm);
    NumberPadDialog pad(t, longest, -999, 9999, 0, true);
    ErrorReport report;
    report.number = QStringLiteral("3146 (") + t(566) + QStringLiteral(": ") + QString(200, QLatin1Char('x')) +
                    QStringLiteral(")");
    report.module = QStringLiteral("frmAlarm");
    report.procedure = QStringLiteral("cmdAcknowledge_Click");
    report.progInfo = QStringLiteral("ZEV CONTROL 3, Version 3.2.37");
    for (int i = 0; i < 20; ++i) report.callStack << QStringLiteral("frmParameter.ClickGridParameter 12:00:%1").arg(i);
    report.protocol = longest.repeated(8);
    struct NoActions : ErrorReportActions {
        void printProtocol() override {}
        void storeProtocol() override {}
    } actions;
    ErrPtnrDialog error(t, report, actions);
    for (QDialog* d : std::initializer_list<QDialog*>{&keyboard, &notice, &pad, &error}) {
        d->show();
        QApplication::processEvents();
        EXPECT_TRUE(fits(d->minimumSizeHint())) << d->metaObject()->className() << " " << describe(d->minimumSizeHint());
        EXPECT_TRUE(fits(d->size())) << d->metaObject()->className() << " " << describe(d->size());
        d->hide();
    }
}

TEST_P(ScreenFit, KeyboardPicture) {
    StationLook look;
    TestContext tc(language());
    Texts& t = *tc.texts;
    // The login prompt of level 3, as the operator sees it after typing two characters.
    TouchKeyboardDialog keyboard(t, t(378) + t(1531) + t(337), QString(), true);
    keyboard.show();
    keyboard.shiftKey()->click();
    keyboard.characterKey(QStringLiteral("Ä"))->click();
    keyboard.characterKey(QStringLiteral("5"))->click();
    QApplication::processEvents();
    EXPECT_EQ(keyboard.text(), QStringLiteral("Ä5"));
    EXPECT_EQ(keyboard.edit()->displayText().size(), 2);
    EXPECT_NE(keyboard.edit()->displayText(), keyboard.text()) << "masked";
    saveShot(keyboard, QStringLiteral("keyboard-%1.png").arg(QLatin1String(suffix())));
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, ScreenFit, ::testing::Values(1, 2),
                         [](const ::testing::TestParamInfo<int>& i) { return i.param == 1 ? "German" : "English"; });

}  // namespace
