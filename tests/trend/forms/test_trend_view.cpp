// The trend view in the whole main window at 1024x768: a heating ramp from the
// day files in live mode, a live tick, the history list and its guard for
// today, the magnifier, the energy bars, the export with its drive search, the
// delayed note when zones are left out. With ZEV_SCREENSHOT_DIR set it writes
// trend-live.png, trend-history.png, trend-magnifier.png, trend-energy.png:
//   xvfb-run -a -s "-screen 0 1024x768x24" env QT_QPA_PLATFORM=xcb ZEV_SCREENSHOT_DIR=docs/screenshots
//     build/bin/test_trend_forms
#include "screenshots.h"
#include "../day_files.h"
#include "test_context.h"

#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "trend/forms/trend_chart.h"
#include "trend/forms/trend_style_page.h"
#include "trend/forms/trend_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QEventLoop>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <gtest/gtest.h>

namespace zev::test {
namespace {

const QDate kDay(2026, 3, 2);
// The ramp of zone z at second s: from 20 up to 230 between 07:00 and 07:40.
int ramp(int s, int z) { return std::clamp(20 + (s - 25200) * 210 / 2400 - z, 20, 230 - z); }

class TrendScreens : public ::testing::Test {
protected:
    TrendScreens() {
        ctx().tool.LogFileDir = t.home.path() + "/LOG/";
        QDir().mkpath(ctx().tool.LogFileDir);
        ctx().plant.ZoneCount = 6;
        for (int z = 1; z <= 6; ++z) ctx().plant.zone(z).Name = QStringLiteral("Düse %1").arg(z);
        // Long group names in use: the selection must still leave the window at 1024x768.
        for (int g = 1; g <= 8; ++g) {
            ctx().tool.Groups[static_cast<std::size_t>(g)].Name = QStringLiteral("Düsenseite Heißkanal %1").arg(g);
            ctx().tool.Groups[static_cast<std::size_t>(g)].Use = true;
            ctx().tool.Groups[static_cast<std::size_t>(g)].Color = 0xC0FFC0u + static_cast<std::uint32_t>(g) * 0x1800u;
        }
        writeDayFile(log(), kDay, 25200, 28800, 6, [](int s, int z) {
            const int x = ramp(s, z);
            return TestEntry{230, x, 0, x >= 225 ? 30 : 100, 32};
        });
        // Yesterday 10:00 .. 12:00: a zone cooling down from 228 after 11:50.
        writeDayFile(log(), kDay.addDays(-1), 36000, 43200, 6, [](int s, int z) {
            return TestEntry{230, s < 42600 ? 228 : 228 - (s - 42600) / 20 - z, 0, s < 42600 ? 35 : 0, 30};
        });
        t.clock.set(QDateTime(kDay, QTime(8, 0)));
        main = std::make_unique<MainWindow>(ctx(), splash);
        main->InitForms();
        main->mainTimer()->stop();
        for (int i = 0; i < kViewCount; ++i)
            if (i != kViewTrend && main->view(i)) main->view(i)->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        main->setGeometry(QRect(0, 0, 1024, 768));
        main->show();
        main->selectTab(kViewTrend);
        view = dynamic_cast<TrendView*>(main->view(kViewTrend));
        QApplication::processEvents();
    }
    ~TrendScreens() override { main->unloadViews(); }
    AppContext& ctx() { return *t.ctx; }
    QString log() { return ctx().tool.LogFileDir; }
    void shot(const char* name) {
        QApplication::processEvents();
        if (!screenshotDir().isEmpty()) {
            EXPECT_TRUE(saveScreenshot(main->grab(), QString::fromLatin1(name)));
        }
    }
    static void wait(int ms) {
        QEventLoop loop;
        QTimer::singleShot(ms, &loop, &QEventLoop::quit);
        loop.exec();
    }

    TestContext t;
    SplashWindow splash;
    std::unique_ptr<MainWindow> main;
    TrendView* view = nullptr;
};

TEST_F(TrendScreens, LiveTheRiseThenTheHistoryOfADay) {
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(main->size(), QSize(1024, 768));  // nothing pushes the window past the screen
    ASSERT_TRUE(view->liveMode());
    ASSERT_EQ(view->window().lines().size(), 6u);  // six zones, actual values
    const auto& first = view->window().lines()[0];
    const int P = view->window().lastPoint();
    EXPECT_GT(P, 500);
    EXPECT_EQ(first.data[static_cast<std::size_t>(P)], 229);  // 08:00:00, zone 1 at its top
    EXPECT_EQ(first.data[0], 20);                             // 07:00:00
    EXPECT_EQ(first.data[static_cast<std::size_t>(P / 2)], 20 + 1800 * 210 / 2400 - 1);  // 07:30:00
    // 20..229: the minimum on a five, a span of 11 x 20.
    EXPECT_EQ(view->chart()->left.minimum, 20);
    EXPECT_EQ(view->chart()->left.maximum, 240);
    shot("trend-live.png");

    // A tick 10 s later finds the points in today's file (offline: no live readings).
    writeDayFile(log(), kDay, 28801, 28810, 6, [](int, int) { return TestEntry{230, 231, 0, 30, 32}; });
    t.clock.advance(10.0);
    view->TimerTrend_Timer();
    EXPECT_EQ(first.data[static_cast<std::size_t>(P)], 231);
    EXPECT_EQ(first.data[static_cast<std::size_t>(P - 10)], 229);

    // History: both days listed, today last and undeletable.
    t.answer({"1"});
    view->optMode_Click(false);
    ASSERT_EQ(view->lstHistory()->count(), 2);
    EXPECT_EQ(view->lstHistory()->item(0)->text(), " 01.03.2026");
    EXPECT_EQ(view->lstHistory()->currentRow(), 1);
    view->cmdDellHistoryFile_Click();
    EXPECT_TRUE(t.lastNotice().contains("Aktueller Tagesprotokoll kann nicht gelöscht werden!"));
    EXPECT_TRUE(QFile::exists(log() + "20260302.CDB"));
    // Yesterday at the same time of day, then scrolled back by half a window.
    view->lstHistory()->setCurrentRow(0);
    view->lstHistory_Click();
    EXPECT_EQ(view->windowEnd(), QDateTime(kDay.addDays(-1), QTime(8, 0, 10)));
    view->cmdScrollHistory_Click(1);
    view->cmdScrollHistory_Click(1);
    view->cmdScrollHistory_Click(1);
    view->cmdScrollHistory_Click(1);
    view->cmdScrollHistory_Click(1);
    view->cmdScrollHistory_Click(1);
    view->cmdScrollHistory_Click(1);
    view->cmdScrollHistory_Click(1);  // 10:00:10 .. 12:00:10: 43000..43100 lies inside
    int valid = 0;
    for (auto v : first.data) valid += v == 228;
    EXPECT_GT(valid, 100);
    shot("trend-history.png");
    // Dragging the time axis 100 pixels to the right shows 100 points earlier.
    {
        TrendChart* chart = view->chart();
        const QDateTime before = view->windowEnd();
        const int y = chart->plotRect().bottom() + 8;
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(300, y), chart->mapToGlobal(QPointF(300, y)),
                          Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(400, y), chart->mapToGlobal(QPointF(400, y)),
                            Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(chart, &press);
        QApplication::sendEvent(chart, &release);
        EXPECT_EQ(view->windowEnd().secsTo(before), std::llround(100 * 3600.0 / P));
    }
    view->cmdDellHistoryFile_Click();
    EXPECT_FALSE(QFile::exists(log() + "20260301.CDB"));
    EXPECT_EQ(view->lstHistory()->count(), 1);
}

TEST_F(TrendScreens, AShorterHistoryWindowIsPlacedByTouchThenTakenOver) {
    t.answer({"1"});
    view->optMode_Click(false);  // today, 07:00 .. 08:00
    ASSERT_EQ(view->windowEnd(), QDateTime(kDay, QTime(8, 0)));
    TrendChart* chart = view->chart();
    const QRect r = chart->plotRect();
    const int P = view->window().lastPoint();
    auto mouse = [chart](QEvent::Type type, int x, int y) {
        QMouseEvent e(type, QPointF(x, y), chart->mapToGlobal(QPointF(x, y)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        QApplication::sendEvent(chart, &e);
    };

    view->tabTrendMenu()->setCurrentIndex(TrendView::PageSpan);
    view->optScaleTime(1)->click();  // 10 min: nothing moves before it is placed
    EXPECT_EQ(view->window().span(), 3600);
    EXPECT_EQ(view->windowEnd(), QDateTime(kDay, QTime(8, 0)));
    EXPECT_FALSE(view->cmdAssignTime()->isHidden());
    // A touch a quarter into the hour centres the ten minutes there: 07:10 .. 07:20.
    mouse(QEvent::MouseButtonPress, r.left() + 1 + P / 4, r.center().y());
    mouse(QEvent::MouseButtonRelease, r.left() + 1 + P / 4, r.center().y());
    // Then dragged past the start of the hour: it stops at 07:00 .. 07:10.
    mouse(QEvent::MouseButtonPress, r.left() + 1 + P / 4, r.bottom() + 8);
    mouse(QEvent::MouseMove, r.left() - 30, r.bottom() + 8);
    mouse(QEvent::MouseButtonRelease, r.left() - 30, r.bottom() + 8);
    shot("trend-place-window.png");
    view->cmdAssignTime()->click();
    EXPECT_EQ(view->window().span(), 600);
    EXPECT_EQ(view->windowEnd(), QDateTime(kDay, QTime(7, 10)));
    EXPECT_TRUE(view->cmdAssignTime()->isHidden());
    EXPECT_EQ(view->window().lines()[0].data[static_cast<std::size_t>(P)], ramp(25800, 1));

    // A placement not taken over is dropped by scrolling; the span shown is checked again.
    view->optScaleTime(0)->click();
    mouse(QEvent::MouseButtonPress, r.left() + 1 + P / 2, r.center().y());
    mouse(QEvent::MouseButtonRelease, r.left() + 1 + P / 2, r.center().y());
    view->cmdScrollHistory_Click(1);
    EXPECT_EQ(view->window().span(), 600);
    EXPECT_EQ(view->windowEnd(), QDateTime(kDay, QTime(7, 15)));
    EXPECT_TRUE(view->optScaleTime(1)->isChecked());
    EXPECT_TRUE(view->cmdAssignTime()->isHidden());
    // A longer span grows around the middle at once: 06:40 .. 07:40.
    view->optScaleTime(3)->click();
    EXPECT_EQ(view->window().span(), 3600);
    EXPECT_EQ(view->windowEnd(), QDateTime(kDay, QTime(7, 40)));
}

TEST_F(TrendScreens, TheMagnifierGoesSevenSecondsAfterTheLastPress) {
    TrendChart* chart = view->chart();
    const QPoint at = chart->plotRect().center();
    QMouseEvent press(QEvent::MouseButtonPress, at, chart->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton, {});
    QApplication::sendEvent(chart, &press);
    EXPECT_FALSE(chart->lupeShown());  // only on its page
    view->tabTrendMenu()->setCurrentIndex(TrendView::PageLupe);
    QApplication::sendEvent(chart, &press);
    EXPECT_TRUE(chart->lupeShown());
    auto* timer = chart->findChild<QTimer*>("TimerLupe");
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 7000);
    EXPECT_TRUE(timer->isActive());
    shot("trend-magnifier.png");
    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
    EXPECT_FALSE(chart->lupeShown());
}

TEST_F(TrendScreens, EnergyBarsAndTheExportWithItsDriveSearch) {
    ctx().settings.SetIni("Trend", "EnergyBarMinuten", "120", "*");
    view->tabTrendMenu()->setCurrentIndex(TrendView::PageEnergy);
    shot("trend-energy.png");
    view->tabTrendMenu()->setCurrentIndex(0);

    const QString stick = t.home.path() + "/STICK";
    int searches = 0;
    view->removableDrives = [&] {
        QStringList drives;
        if (++searches > 1) drives << stick << QStringLiteral("/nowhere");
        return drives;
    };
    QDir().mkpath(stick);
    t.answer({"1", "1"});  // search again; then the saved note
    view->CreateXLS();
    EXPECT_EQ(searches, 2);
    EXPECT_TRUE(t.transcript().join('\n').contains("Keinen Wechseldatenträger gefunden."));
    EXPECT_TRUE(t.lastNotice().contains("Excelfile saved as: "));
    EXPECT_TRUE(QFile::exists(stick + "/20260302-0800.xls"));
    t.answer({"1"});
    view->CreateXLS();  // the same minute: a name of its own
    EXPECT_TRUE(QFile::exists(stick + "/20260302-0800_2.xls"));
    // Cancelled search writes nothing.
    view->removableDrives = [] { return QStringList{}; };
    t.answer({"2"});
    view->CreateXLS();
    EXPECT_EQ(QDir(stick).entryList(QDir::Files).size(), 2);
    // No value kind chosen.
    view->kindBox(1)->setChecked(false);
    t.answer({"1"});
    view->CreateXLS();
    EXPECT_TRUE(t.lastNotice().contains("Bitte wählen Sie erst aus, was Sie sehen möchten."));
}

TEST_F(TrendScreens, AHundredZonesOfThreeKindsShowNinetyAndSaySoASecondLater) {
    ctx().plant.ZoneCount = 100;
    view->kindBox(0)->setChecked(true);
    t.answer({"1"});
    view->kindBox(2)->setChecked(true);
    EXPECT_EQ(view->window().lines().size(), 270u);
    EXPECT_EQ(view->window().lines().back().zone, 90);
    EXPECT_FALSE(t.lastNotice().contains("dargestellt"));
    wait(1200);
    EXPECT_TRUE(t.lastNotice().contains("Es können nicht alle ausgewählte Zonen dargestellt werden!"));
}

TEST_F(TrendScreens, MarkingARangeOnTheTemperatureScaleSetsAndFixesIt) {
    TrendChart* chart = view->chart();
    ASSERT_EQ(chart->left.minimum, 20);
    auto drag = [chart](int x, int fromY, int toY) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(x, fromY), chart->mapToGlobal(QPointF(x, fromY)),
                          Qt::LeftButton, Qt::LeftButton, {});
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(x, toY), chart->mapToGlobal(QPointF(x, toY)),
                            Qt::LeftButton, Qt::NoButton, {});
        QApplication::sendEvent(chart, &press);
        QApplication::sendEvent(chart, &release);
    };
    const int bottom = chart->plotRect().bottom();
    auto yOf = [&](double v) { return static_cast<int>(bottom - chart->left.pixelsPerUnit * (v - chart->left.minimum)); };
    t.answer({"1"});
    drag(10, yOf(163), yOf(101));  // about 101..163: 100 .. 100 + 4 x 20
    EXPECT_EQ(chart->left.minimum, 100);
    EXPECT_EQ(chart->left.maximum, 180);
    EXPECT_TRUE(t.lastNotice().contains("Soll die Skalierung der Temperaturachse fest auf den Bereich von 100 - 180"));
    EXPECT_TRUE(chart->left.fixed);
    EXPECT_TRUE(view->findChild<QCheckBox*>("chkScaleLeft")->isChecked());
    // Fixed: new values leave it alone.
    view->FullDraw();
    EXPECT_EQ(chart->left.maximum, 180);
    // Down to 20, then no further.
    t.answer({"2"});
    drag(10, yOf(112), yOf(125));
    EXPECT_EQ(chart->left.maximum - chart->left.minimum, 20);
    EXPECT_FALSE(chart->left.fixed);
    t.answer({"1"});
    drag(10, yOf(112), yOf(118));
    EXPECT_TRUE(t.lastNotice().contains("Die Skalierung der Temperaturachse kann nicht mehr weiter verkleinert werden."));
}

TEST_F(TrendScreens, TheStylePageSetsPenStyleZoomAndPeriodForTheNextShowing) {
    TrendStylePage page(ctx());
    EXPECT_EQ(page.sldLineWidth()->value(), 1);
    EXPECT_TRUE(page.optTrendDrawStyle(0)->isChecked());
    page.sldLineWidth()->setValue(3);
    page.sldLupeZoomFkt()->setValue(4);
    page.sldEnergyBarMinuten()->setValue(30);
    page.optTrendDrawStyle(1)->click();
    EXPECT_EQ(ctx().settings.GetIni("Trend", "EnergyBarMinuten", "", "*"), "30");
    EXPECT_EQ(view->chart()->penWidth, 1);
    main->selectTab(kViewAlarms);
    main->selectTab(kViewTrend);
    EXPECT_EQ(view->chart()->penWidth, 3);
    EXPECT_EQ(view->chart()->lupeZoom, 4);
    EXPECT_TRUE(view->chart()->smoothed);
    TrendStylePage again(ctx());
    EXPECT_EQ(again.sldLineWidth()->value(), 3);
    EXPECT_TRUE(again.optTrendDrawStyle(1)->isChecked());
}

}  // namespace
}  // namespace zev::test
