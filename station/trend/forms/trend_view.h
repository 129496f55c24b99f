// frmTrend: the trend view. Live mode follows the present with its 250 ms
// tick; history mode reads the day files alone and scrolls through them. The
// menu (tabTrendMenu) chooses the span and the value kinds, lists the recorded
// days, switches the magnifier on, and shows the energy bars.
#pragma once

#include "trend/live_tick.h"
#include "trend/trend_lines.h"
#include "widgets/view.h"

#include <QDateTime>
#include <QStringList>
#include <array>
#include <functional>

class QCheckBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTimer;

namespace zev {

struct AppContext;
class TrendChart;
class ZoneSelectionPanel;

class TrendView final : public View {
    Q_OBJECT
public:
    enum MenuPage { PageSpan = 0, PageHistory = 1, PageLupe = 2, PageEnergy = 3 };
    static constexpr int kTickMs = 250;
    static constexpr int kCutMessageMs = 1000;

    explicit TrendView(AppContext& ctx, QWidget* parent = nullptr);

    bool entering(int previousTab) override;
    void leaving() override;

    void Enable_TimerTrend(bool enable);
    void TimerTrend_Timer();
    void FullDraw();
    void CreateXLS();
    // Where removable volumes are mounted, in the system's order (replaceable
    // for tests and unattended runs).
    std::function<QStringList()> removableDrives;

    // Controls, by their form names.
    TrendChart* chart() const { return chart_; }
    QRadioButton* optMode(int i) const { return mode_[static_cast<std::size_t>(i)]; }
    QRadioButton* optScaleTime(int i) const { return spans_[static_cast<std::size_t>(i)]; }
    QCheckBox* kindBox(int i) const { return kinds_[static_cast<std::size_t>(i)]; }
    QListWidget* lstHistory() const { return history_; }
    QTabWidget* tabTrendMenu() const { return menu_; }
    ZoneSelectionPanel* selection() const { return selection_; }
    bool liveMode() const { return live_; }
    QDateTime windowEnd() const { return end_; }
    const TrendWindow& window() const { return window_; }

    void optMode_Click(bool live);
    void lstHistory_Click();
    void cmdDellHistoryFile_Click();
    void cmdScrollHistory_Click(int direction);
    // Takes the shorter window placed on the shown one (history).
    void cmdAssignTime_Click();
    QPushButton* cmdAssignTime() const { return assign_; }
    // picScaleLeft_MouseUp / picScaleRight_MouseUp: a range marked on a scale.
    void scaleMarked(bool leftScale, int from, int to);

private:
    void CalcLines();
    void setSpan(int index);
    void placeShorter(double fraction);
    void dropPlacement();
    void readStyle();
    void showEnergy();
    void liveRead(int k);
    QString zoneName(int zone) const;

    AppContext& ctx_;
    TrendWindow window_;
    TrendChart* chart_;
    QTimer* timer_;
    LiveTick tick_;
    bool live_ = true;
    bool shown_ = false;
    int spanIndex_ = 3;
    int pendingSpan_ = -1;  // a shorter span waiting to be placed, or -1
    QDateTime placedEnd_;
    QDateTime end_;
    std::array<QRadioButton*, 2> mode_{};
    std::array<QRadioButton*, 8> spans_{};
    std::array<QCheckBox*, 5> kinds_{};
    QCheckBox* fixLeft_ = nullptr;
    QCheckBox* fixRight_ = nullptr;
    QPushButton* assign_ = nullptr;
    QListWidget* history_ = nullptr;
    QTabWidget* menu_ = nullptr;
    ZoneSelectionPanel* selection_ = nullptr;
};

}  // namespace zev
