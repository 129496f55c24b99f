// The zone overview `frmOverview`: the tab strip `tabOverview` over the help
// tab, the Total view and the Detail view. It reads the zone table only; a click
// on a zone or a group asks the context's navigation to open it (the parameter
// view answers). The main cycle calls RefreshValues after each poll.
#pragma once

#include "widgets/view.h"

class QStackedWidget;
class QTabBar;

namespace zev {

struct AppContext;
class DetailPanel;
class HelpPanel;
class TotalPanel;

class OverviewView final : public View {
    Q_OBJECT
public:
    // Tabs of tabOverview; a tab captioned "-" cannot be chosen.
    enum Tab { kTabHelp = 0, kTabSpareDetail = 1, kTabTotal = 2, kTabDetail = 3, kTabSpareTotal = 4 };
    // Fewer zones than this open on the Total view, otherwise on the Detail view.
    static constexpr int kTotalViewBelow = 76;

    explicit OverviewView(AppContext& ctx, QWidget* parent = nullptr);

    // Refreshes the visible view; nothing in offline mode.
    void RefreshValues() override;
    // Coming back to the overview shows current values at once, not after the
    // next poll.
    bool entering(int previousTab) override;
    // Lays the tiles and face plates out for the current zone count.
    void SetZonesPosition();
    static int openingTab(int zoneCount);

    QTabBar* tabOverview() const { return tabs_; }
    TotalPanel* totalPanel() const { return total_; }
    DetailPanel* detailPanel() const { return detail_; }
    HelpPanel* helpPanel() const { return help_; }
    // The panel the overview shows now.
    QWidget* shownPanel() const;

private:
    void Form_Load();
    void tabOverview_Click(int previousTab);
    void SSTab1_Click();
    void scrBereich_Change();
    QWidget* panelFor(int tab) const;
    void setCaptions();
    void subscribe();
    void showZone(int zone);
    void showGroup(int group);

    AppContext& ctx_;
    QTabBar* tabs_;
    QStackedWidget* stack_;
    HelpPanel* help_;
    TotalPanel* total_;
    DetailPanel* detail_;
    int shownTab_ = kTabTotal;
    int laidOutZones_ = -1;
    bool switching_ = false;
    bool valuesShown_ = false;  // value fields may hold values written earlier
};

}  // namespace zev
