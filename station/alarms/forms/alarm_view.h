// The alarm view `frmAlarm` (tab 3 of the main window): the fault-time ranking
// ("Fehlerstatistik") and the filterable list of LOG ("Systemmeldungen").
// It shows the alarm log of the current tool, which the link session owns,
// so that every part of the program writes through ErrLog whether the view is
// loaded or not.
#pragma once

#include "alarms/alarm_filter.h"
#include "widgets/view.h"

#include <QString>
#include <array>
#include <memory>
#include <vector>

class QCheckBox;
class QPushButton;
class QTabWidget;
class QTableView;

namespace zev {

struct AppContext;
class AlarmListModel;
class AlarmLog;
class TopTenPanel;
class ZoneSelectionPanel;

class AlarmView final : public View {
    Q_OBJECT
public:
    // Tabs of SSTab1.
    enum Tab { kTabStatistics = 0, kTabList = 1 };

    explicit AlarmView(AppContext& ctx, QWidget* parent = nullptr);
    ~AlarmView() override;

    bool entering(int previousTab) override;

    // NewFilter true: a new query from the filter, read when the list is shown.
    // false (after new records): the list is read again unless chkLock holds it.
    // Either way the list stands on the newest record.
    void RefreshData(bool NewFilter);
    void RefreshTopTen();
    void cmdAcknowledge_Click();
    void cmdReset_Click();

    AlarmLog* log() const { return log_; }
    AlarmListModel* model() const { return model_; }
    QTableView* list() const { return list_; }
    QTabWidget* tabs() const { return tabs_; }
    QCheckBox* chkWhat(int i) const { return what_[static_cast<std::size_t>(i)]; }
    QCheckBox* chkAcknowledged() const { return acknowledged_; }
    QCheckBox* chkNewOnly() const { return newOnly_; }
    QCheckBox* chkLock() const { return lock_; }
    ZoneSelectionPanel* selection() const { return selection_; }
    TopTenPanel* topTen() const { return topTen_; }
    // The current filter clause ("WHERE ...") and list query.
    const QString& filterClause() const { return clause_; }
    const QString& listQuery() const { return query_; }

private:
    QWidget* buildStatistics();
    QWidget* buildList();
    AlarmFilter filter() const;
    void rebuildQuery();
    void readList();
    bool listShown() const;
    void layoutColumns();

    AppContext& ctx_;
    AlarmLog* log_ = nullptr;
    std::unique_ptr<AlarmLog> ownLog_;  // only without a link session's log
    QTabWidget* tabs_ = nullptr;
    TopTenPanel* topTen_ = nullptr;
    QTableView* list_ = nullptr;
    AlarmListModel* model_ = nullptr;
    std::array<QCheckBox*, 3> what_{};
    QCheckBox* acknowledged_ = nullptr;
    QCheckBox* newOnly_ = nullptr;
    QCheckBox* lock_ = nullptr;
    ZoneSelectionPanel* selection_ = nullptr;
    QPushButton* acknowledge_ = nullptr;
    QPushButton* reset_ = nullptr;
    std::vector<bool> selected_;
    QString clause_;
    QString query_;
};

}  // namespace zev
