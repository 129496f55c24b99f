#include "shell/main_window.h"

#include "link/bus_link.h"
#include "shell/app_context.h"
#include "shell/lifecycle.h"
#include "shell/notification_hub.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "shell/splash_window.h"
#include "shell/touch_style.h"
#include "shell/updater.h"
#include "shell/view_factory.h"
#include "support/clock.h"
#include "support/event_pump.h"
#include "support/procedure.h"
#include "support/texts.h"
#include "support/user_levels.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace zev {

namespace {
const QString kModule = QStringLiteral("main_form");
// Load order of the views (InitForms) by tab index.
constexpr int kLoadOrder[kViewCount] = {kViewConfiguration, kViewAlarms,  kViewOverview,  kViewGroups,
                                        kViewTrend,         kViewPictures, kViewDiagnosis, kViewParameters};
}  // namespace

MainWindow::MainWindow(AppContext& ctx, SplashWindow& splash) : ctx_(ctx), splash_(splash) {
    setObjectName(QStringLiteral("main_form"));
    setWindowTitle(QStringLiteral("ZEV-Control"));
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabMain_ = new QTabBar(central);
    tabMain_->setObjectName(QStringLiteral("tabMain"));
    tabMain_->setExpanding(true);
    tabMain_->setUsesScrollButtons(false);
    tabMain_->setElideMode(Qt::ElideRight);
    tabMain_->setDrawBase(false);
    tabMain_->setFont(touch::captionFont());
    tabMain_->setStyleSheet(QStringLiteral("QTabBar::tab { min-height: 48px; padding: 4px 8px; }"
                                           "QTabBar::tab:selected { background: #1f3b5a; color: white; }"));
    layout->addWidget(tabMain_);
    stack_ = new QStackedWidget(central);
    layout->addWidget(stack_, 1);
    setCentralWidget(central);
    buildStatusBar();

    mainTimer_ = new QTimer(this);
    mainTimer_->setInterval(250);
    connect(mainTimer_, &QTimer::timeout, this, &MainWindow::mainTimer_Timer);
    tmrDate_ = new QTimer(this);
    tmrDate_->setInterval(500);
    connect(tmrDate_, &QTimer::timeout, this, &MainWindow::TmrDate_Timer);

    connect(tabMain_, &QTabBar::currentChanged, this, [this](int) {
        if (switching_) return;
        tabMain_Click(shownTab_);
    });
    connect(&ctx_.users, &UserLevels::levelChanged, this, &MainWindow::showLevelName);
}

MainWindow::~MainWindow() = default;

void MainWindow::buildStatusBar() {
    auto* bar = statusBar();
    bar->setSizeGripEnabled(false);
    for (std::size_t i = 0; i < status_.size(); ++i) {
        status_[i] = new QLabel(this);
        status_[i]->setObjectName(QStringLiteral("lblStatusbar%1").arg(i));
        status_[i]->setFont(touch::captionFont());
        status_[i]->setMinimumHeight(36);
        status_[i]->setAutoFillBackground(true);
        status_[i]->setMargin(4);
    }
    QFont clock(QString::fromLatin1(kBundledFont.face), 18);
    status_[0]->setFont(clock);
    status_[0]->setCursor(Qt::PointingHandCursor);
    // Elements 1 and 5 have no content of their own.
    status_[1]->hide();
    status_[5]->hide();
    bar->addWidget(status_[6]);
    bar->addWidget(status_[4]);
    bar->addWidget(status_[2], 1);
    bar->addPermanentWidget(status_[3]);
    bar->addPermanentWidget(status_[0]);
}

void MainWindow::showLevelName(int level) { status_[4]->setText(ctx_.users.LevelName(level)); }

int MainWindow::currentTab() const { return tabMain_->currentIndex(); }

void MainWindow::InitForms() {
    if (const QScreen* screen = QApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    switching_ = true;
    while (tabMain_->count() > 0) tabMain_->removeTab(0);
    for (int i = 0; i < kViewCount; ++i) tabMain_->addTab(viewCaption(ctx_, i));
    switching_ = false;
    for (int index : kLoadOrder) {
        View* v = createView(index, ctx_, *this);
        views_[static_cast<std::size_t>(index)] = v;
        stack_->addWidget(v);
    }
    ctx_.hub.post(Msg::GroupUseChanged);
    ctx_.hub.post(Msg::GroupNamesChanged);
    ctx_.hub.post(Msg::GroupColoursChanged);
    splash_.setAction(ctx_.texts(1513));
    if (ctx_.plant.Online) mainTimer_->start(); else mainTimer_->stop();
    switching_ = true;
    tabMain_->setCurrentIndex(kViewOverview);
    switching_ = false;
    shownTab_ = kNoPreviousView;
    tabMain_Click(kNoPreviousView);
}

void MainWindow::unloadViews() {
    for (View*& v : views_) {
        if (!v) continue;
        stack_->removeWidget(v);
        delete v;
        v = nullptr;
    }
    shownTab_ = kNoPreviousView;
}

void MainWindow::ShowOnly(int index) {
    if (View* v = view(index)) stack_->setCurrentWidget(v);
    shownTab_ = index;
}

void MainWindow::selectTab(int index) { tabMain_->setCurrentIndex(index); }

void MainWindow::tabMain_Click(int previousTab) {
    guarded(ctx_.errors, kModule, QStringLiteral("tabMain_Click"), [&] {
        PreviousView = previousTab;
        const int next = tabMain_->currentIndex();
        if (previousTab != kViewOverview && previousTab != kNoPreviousView) {
            if (previousTab == kViewGroups || previousTab == kViewConfiguration) {
                // Zones of a group that is not in use lose their group (in memory only).
                for (int z = 1; z <= kMaxZones; ++z) {
                    ZoneRecord& zone = ctx_.plant.zone(z);
                    if (!ctx_.tool.Groups[zone.Group].Use) zone.Group = 0;
                }
            }
            if (View* v = view(previousTab)) v->leaving();
        }
        View* v = view(next);
        if (!v) return;
        if (!v->entering(previousTab)) {
            switching_ = true;
            tabMain_->setCurrentIndex(previousTab == kNoPreviousView ? kViewOverview : previousTab);
            switching_ = false;
            return;
        }
        ShowOnly(next);
    });
}

void MainWindow::mainTimer_Timer() {
    if (onMainTimer) onMainTimer();
}

void MainWindow::TmrDate_Timer() {
    guarded(ctx_.errors, kModule, QStringLiteral("TmrDate_Timer"), [&] {
        ctx_.users.poll();
        ctx_.BlinkPhase = ctx_.BlinkPhase % 3 + 1;
        // The clock has a resolution of one second: every second tick ends here.
        const QDateTime now = ctx_.clock.now();
        const QDateTime second = now.addMSecs(-now.time().msec());
        if (second == lastTick_) return;
        lastTick_ = second;
        const bool blank = status_[0]->text().contains(QLatin1Char(' '));
        status_[0]->setText(now.time().toString(blank ? QStringLiteral("HH:mm") : QStringLiteral("HH mm")));
        if (!ctx_.plant.Online) {
            status_[3]->setText(QStringLiteral("OFFLINE"));
            status_[3]->setStyleSheet(QStringLiteral("background-color: #00FF00;"));
            status_[2]->setText(QString());
        }
        const qint64 day = now.date().toJulianDay();
        if (day == lastDay_) return;
        lastDay_ = day;
        if (onDailyHousekeeping) onDailyHousekeeping();
    });
}

void MainWindow::Stop_Tool() {
    mainTimer_->stop();
    splash_.show();
    splash_.setAction(ctx_.texts(1372));
    ctx_.pump.yield();
    ctx_.bus.FileLogging(false);
    ctx_.bus.EnableCyclicScan(false);
    for (int a = 1; a <= kMaxAddress; ++a) ctx_.bus.SetOnline(a, false);
    unloadViews();
    ctx_.pump.yield();
    splash_.hide();
}

void MainWindow::Form_QueryUnload() {
    ctx_.hub.unsubscribe(Msg::ReliabilityCheck, this);
    // ResetScrollBarSettings: the desktop gets its own scroll bars back.
    const int width = ctx_.settings
                          .GetIni(QStringLiteral("WindowsSettings"), QStringLiteral("ScrollWidth"),
                                  QString::number(ctx_.platform.scrollBarWidth()), QStringLiteral("*"))
                          .toInt();
    const int height = ctx_.settings
                           .GetIni(QStringLiteral("WindowsSettings"), QStringLiteral("ScrollHeight"),
                                   QString::number(ctx_.platform.scrollBarHeight()), QStringLiteral("*"))
                           .toInt();
    ctx_.platform.setScrollBars(width, height);
}

void MainWindow::Form_Unload() { Stop_Tool(); }

void MainWindow::exitProgram() {
    if (exited_) return;
    exited_ = true;
    if (!screenshotOnExit.isEmpty() && isVisible()) grab().save(screenshotOnExit, "PNG");
    Form_QueryUnload();
    Form_Unload();
    QApplication::exit(ctx_.lifecycle.exitCode());
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!ctx_.lifecycle.exitRequested() && ctx_.mayStopPlant && !ctx_.mayStopPlant()) {
        event->ignore();
        return;
    }
    if (!ctx_.lifecycle.exitRequested()) ctx_.lifecycle.requestExit(0);
    exitProgram();
    event->accept();
}

}  // namespace zev
