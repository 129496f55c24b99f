#include "views/overview_view.h"

#include "base/app_context.h"
#include "base/navigation.h"
#include "base/notification_hub.h"
#include "base/progress_line.h"
#include "support/procedure.h"
#include "support/texts.h"
#include "views/detail_panel.h"
#include "views/help_panel.h"
#include "views/overview_style.h"
#include "views/total_panel.h"
#include "plant/zone_table.h"
#include "link/link_session.h"

#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

namespace zev {

namespace {
const QString kModule = QStringLiteral("frmOverview");
// A tab with this caption is a spacer: choosing it returns to the tab before.
const QString kSpareCaption = QStringLiteral("-");
constexpr int kTextLoadingTotal = 945;
constexpr int kTextLoadingDetail = 946;
constexpr int kTabCaptions[] = {954, 0, 955, 956, 0};  // 0: spacer

// Spacer tabs stay narrow: they separate, they are not meant to be touched.
class SpacerTabBar final : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    QSize tabSizeHint(int index) const override {
        QSize s = QTabBar::tabSizeHint(index);
        if (tabText(index) == kSpareCaption) s.setWidth(std::min(s.width(), 40));
        return s;
    }
};
}  // namespace

OverviewView::OverviewView(AppContext& ctx, QWidget* parent) : View(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("frmOverview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabs_ = new SpacerTabBar(this);
    tabs_->setObjectName(QStringLiteral("tabOverview"));
    overview_style::mainTabs(tabs_);
    for (int i = 0; i < 5; ++i) tabs_->addTab(QString());
    layout->addWidget(tabs_);
    stack_ = new QStackedWidget(this);
    layout->addWidget(stack_, 1);
    help_ = new HelpPanel(ctx_, stack_);
    total_ = new TotalPanel(ctx_, stack_);
    detail_ = new DetailPanel(ctx_, stack_);
    stack_->addWidget(help_);
    stack_->addWidget(total_);
    stack_->addWidget(detail_);

    connect(total_, &TotalPanel::zoneClicked, this, &OverviewView::showZone);
    connect(detail_, &DetailPanel::zoneClicked, this, &OverviewView::showZone);
    connect(detail_, &DetailPanel::groupClicked, this, &OverviewView::showGroup);
    connect(total_, &TotalPanel::valuesChanged, this, &OverviewView::SSTab1_Click);
    connect(detail_, &DetailPanel::pageChanged, this, &OverviewView::scrBereich_Change);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int) {
        if (!switching_) tabOverview_Click(shownTab_);
    });
    subscribe();
    Form_Load();
}

void OverviewView::Form_Load() {
    guarded(ctx_.errors, kModule, QStringLiteral("Form_Load"), [&] {
        setCaptions();
        ctx_.progress.setAction(ctx_.texts(kTextLoadingTotal));
        total_->SetZonesPosition();
        ctx_.progress.setAction(ctx_.texts(kTextLoadingDetail));
        detail_->SetZonesPosition();
        laidOutZones_ = ctx_.plant.ZoneCount;
        help_->loadPages();
        shownTab_ = openingTab(ctx_.plant.ZoneCount);
        switching_ = true;
        tabs_->setCurrentIndex(shownTab_);
        switching_ = false;
        stack_->setCurrentWidget(panelFor(shownTab_));
    });
}

int OverviewView::openingTab(int zoneCount) { return zoneCount < kTotalViewBelow ? kTabTotal : kTabDetail; }

QWidget* OverviewView::panelFor(int tab) const {
    switch (tab) {
    case kTabHelp: return help_;
    case kTabSpareDetail:
    case kTabDetail: return detail_;
    default: return total_;
    }
}

QWidget* OverviewView::shownPanel() const { return stack_->currentWidget(); }

void OverviewView::setCaptions() {
    for (int i = 0; i < tabs_->count(); ++i) {
        tabs_->setTabText(i, kTabCaptions[i] ? ctx_.texts(kTabCaptions[i]) : kSpareCaption);
        if (!kTabCaptions[i]) tabs_->setTabTextColor(i, QColor(0x90, 0x90, 0x90));
    }
    total_->setCaptions();
    detail_->setUnit();
    help_->setCaptions();
}

void OverviewView::tabOverview_Click(int previousTab) {
    guarded(ctx_.errors, kModule, QStringLiteral("tabOverview_Click"), [&] {
        const int next = tabs_->currentIndex();
        if (tabs_->tabText(next) == kSpareCaption) {
            switching_ = true;
            tabs_->setCurrentIndex(previousTab);
            switching_ = false;
            return;
        }
        shownTab_ = next;
        stack_->setCurrentWidget(panelFor(next));
        SetZonesPosition();
        RefreshValues();
    });
}

void OverviewView::SetZonesPosition() {
    total_->SetZonesPosition();
    detail_->SetZonesPosition();
    laidOutZones_ = ctx_.plant.ZoneCount;
}

void OverviewView::RefreshValues() {
    if (!ctx_.link->Online()) {
        // Nothing is read offline; values taken in before must not pass for
        // current ones, nor stay on a tile whose meaning changed.
        if (valuesShown_) {
            total_->clearValues();
            detail_->clearValues();
            valuesShown_ = false;
        }
        return;
    }
    guarded(ctx_.errors, kModule, QStringLiteral("RefreshValues"), [&] {
        if (laidOutZones_ != ctx_.plant.ZoneCount) SetZonesPosition();
        QWidget* shown = stack_->currentWidget();
        if (shown == total_) total_->RefreshValues();
        else if (shown == detail_) detail_->RefreshValues();
        valuesShown_ = true;
    });
}

bool OverviewView::entering(int previousTab) {
    Q_UNUSED(previousTab);
    RefreshValues();
    return true;
}

void OverviewView::SSTab1_Click() {
    valuesShown_ = true;  // the tiles' values change meaning: offline they are cleared
    RefreshValues();
}

void OverviewView::scrBereich_Change() {
    guarded(ctx_.errors, kModule, QStringLiteral("scrBereich_Change"), [&] { detail_->updScroll(); });
    valuesShown_ = true;
    RefreshValues();
}

void OverviewView::subscribe() {
    auto relayout = [this](const char* procedure) {
        return [this, procedure] {
            guarded(ctx_.errors, kModule, QString::fromLatin1(procedure), [&] {
                SetZonesPosition();
                RefreshValues();
            });
        };
    };
    ctx_.hub.subscribe(Msg::GroupAssignmentChanged, this, relayout("GroupAssignmentChanged"));
    ctx_.hub.subscribe(Msg::GroupColoursChanged, this, relayout("GroupColoursChanged"));
    ctx_.hub.subscribe(Msg::GroupUseChanged, this, relayout("GroupUseChanged"));
    ctx_.hub.subscribe(Msg::ZoneNamesChanged, this, [this] {
        guarded(ctx_.errors, kModule, QStringLiteral("ZoneNamesChanged"), [&] {
            total_->setNames();
            detail_->setNames();
        });
    });
    ctx_.hub.subscribe(Msg::UnitChecked, this, [this] {
        guarded(ctx_.errors, kModule, QStringLiteral("UnitChecked"), [&] { setCaptions(); });
    });
}

void OverviewView::showZone(int zone) {
    guarded(ctx_.errors, kModule, QStringLiteral("pnlFacePlate_Click"), [&] {
        ctx_.navigation.requestZone(zone);
    });
}

void OverviewView::showGroup(int group) {
    guarded(ctx_.errors, kModule, QStringLiteral("lblGrpColor_Click"), [&] {
        ctx_.navigation.requestGroup(group);
    });
}

}  // namespace zev
