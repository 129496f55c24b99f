#include "shell/main_window.h"

#include "link/link_session.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "base/app_context.h"
#include "base/lifecycle.h"
#include "base/notification_hub.h"
#include "base/platform.h"
#include "base/settings.h"
#include "shell/splash_window.h"
#include "widgets/touch_style.h"
#include "shell/updater.h"
#include "diagnosis/forms/diagnosis_view.h"
#include "support/operator.h"
#include "support/text_numbers.h"
#include "shell/status_bar.h"
#include "shell/view_registry.h"
#include "base/clock.h"
#include "base/event_pump.h"
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
    status_ = new StatusBar(ctx_, this);
    setStatusBar(status_);

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
    connect(&ctx_.users, &UserLevels::levelChanged, status_, &StatusBar::showLevelName);
}

MainWindow::~MainWindow() = default;

QLabel* MainWindow::lblStatusbar(int index) const { return status_->lblStatusbar(index); }

int MainWindow::currentTab() const { return tabMain_->currentIndex(); }

void MainWindow::InitForms() {
    // One step per view: "Repeat" after a failure loads the failing view again
    // and keeps the views that are loaded already.
    Procedure p(ctx_.errors, kModule, QStringLiteral("InitForms"));
    p.step([&] {
        if (const QScreen* screen = QApplication::primaryScreen())
            setGeometry(screen->availableGeometry());
        switching_ = true;
        while (tabMain_->count() > 0) tabMain_->removeTab(0);
        for (int i = 0; i < kViewCount; ++i) tabMain_->addTab(viewCaption(ctx_, i));
        switching_ = false;
    });
    for (const ViewEntry& entry : viewRegistry()) {
        const int index = entry.tab;
        p.step([&] {
            View*& slot = views_[static_cast<std::size_t>(index)];
            if (slot) return;
            slot = makeView ? makeView(index) : createView(index, ctx_, *this);
            stack_->addWidget(slot);
        });
    }
    p.step([&] {
        ctx_.hub.post(Msg::GroupUseChanged);
        ctx_.hub.post(Msg::GroupNamesChanged);
        ctx_.hub.post(Msg::GroupColoursChanged);
    });
    p.step([&] {
        splash_.setAction(ctx_.texts(1513));
        if (ctx_.link->Online()) mainTimer_->start(); else mainTimer_->stop();
        switching_ = true;
        tabMain_->setCurrentIndex(kViewOverview);
        switching_ = false;
        shownTab_ = kNoPreviousView;
        tabMain_Click(kNoPreviousView);
    });
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

void MainWindow::refreshLiveView() {
    const ViewEntry* entry = viewEntry(shownTab_);
    if (!entry || !entry->liveValues) return;
    if (View* v = view(shownTab_)) v->RefreshValues();
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
        status_->showTime(now, ctx_.link->Online());
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
    ctx_.link->stop();
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
    if (ctx_.link->DiagnosisRunning()) {
        // The wiring test stops and puts the zones back first; the exit follows it.
        if (auto* d = dynamic_cast<DiagnosisView*>(view(kViewDiagnosis))) d->cmdStopDiag_Click();
        QTimer::singleShot(100, this, [this] { exitProgram(); });
        return;
    }
    exited_ = true;
    if (!screenshotOnExit.isEmpty() && isVisible()) grab().save(screenshotOnExit, "PNG");
    Form_QueryUnload();
    Form_Unload();
    QApplication::exit(ctx_.lifecycle.exitCode());
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A tab strip that was filled while hidden tells its layout neither of its
    // tabs nor of the height its style sheet gives them; without this the window
    // may keep the height of the empty strip for it and cut the tabs.
    tabMain_->updateGeometry();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (ctx_.link && ctx_.link->DiagnosisRunning() && !ctx_.lifecycle.exitRequested()) {
        ctx_.op.notice(ctx_.texts(TextNo::DiagnosisRunning), ctx_.texts(TextNo::Ok), {}, {}, kNoticePlain);
        event->ignore();
        return;
    }
    // Boost ends before the program does; the operator's own leaving is refused
    // while the guard says so, a requested exit (error dialog, "off") goes on.
    const bool mayStop = !ctx_.link || ctx_.link->mayStop();
    if (!mayStop && !ctx_.lifecycle.exitRequested()) {
        event->ignore();
        return;
    }
    if (!ctx_.lifecycle.exitRequested()) ctx_.lifecycle.requestExit(0);
    exitProgram();
    event->accept();
}

}  // namespace zev
