// The main window `main_form`: the tab strip `tabMain` over the views (loaded
// from the view registry), the status bar `lblStatusbar(0..6)` (shell/status_bar.h),
// the timers `mainTimer` and `TmrDate`, and the exit path.
#pragma once

#include "widgets/view.h"

#include <QDateTime>
#include <QMainWindow>
#include <array>
#include <functional>

class QLabel;
class QStackedWidget;
class QTabBar;
class QTimer;

namespace zev {

struct AppContext;
class SplashWindow;
class StatusBar;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(AppContext& ctx, SplashWindow& splash);
    ~MainWindow() override;

    // Loads the eight views into the client area and selects the first one.
    void InitForms();
    // Unloads every view (Stop_Tool; the views are built anew by InitForms).
    void unloadViews();
    void tabMain_Click(int previousTab);
    void ShowOnly(int index);
    View* view(int index) const { return views_[static_cast<std::size_t>(index)]; }
    int currentTab() const;
    // The view shown now (kNoPreviousView before the first one).
    int shownView() const { return shownTab_; }
    void selectTab(int index);  // as if the operator chose the tab

    QLabel* lblStatusbar(int index) const;
    StatusBar* statusBarWidget() const { return status_; }
    // The evaluation pass: the shown view refreshes when it shows live values.
    void refreshLiveView();
    QTimer* mainTimer() const { return mainTimer_; }
    QTimer* TmrDate() const { return tmrDate_; }
    void TmrDate_Timer();
    void mainTimer_Timer();

    // Stop_Tool: the link session's stop sequence (polling and logging off, the
    // controllers offline) and the views unloaded.
    void Stop_Tool();
    // Leaves through the exit path (Form_QueryUnload, Form_Unload).
    void exitProgram();
    bool exited() const { return exited_; }
    SplashWindow& splash() { return splash_; }

    // Saved as a PNG picture when the program leaves (empty: none).
    QString screenshotOnExit;

    int PreviousView = kNoPreviousView;
    // The main cycle and the controller check plug in here.
    std::function<void()> onMainTimer;
    std::function<void()> onReliabilityCheck;
    std::function<void()> onDailyHousekeeping;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void Form_QueryUnload();
    void Form_Unload();

    AppContext& ctx_;
    SplashWindow& splash_;
    QTabBar* tabMain_ = nullptr;
    QStackedWidget* stack_ = nullptr;
    std::array<View*, kViewCount> views_{};
    StatusBar* status_ = nullptr;
    QTimer* mainTimer_ = nullptr;
    QTimer* tmrDate_ = nullptr;
    QDateTime lastTick_;
    qint64 lastDay_ = -1;
    bool switching_ = false;
    int shownTab_ = kNoPreviousView;  // the view shown now (the tab strip may be ahead of it)
    bool exited_ = false;
};

}  // namespace zev
