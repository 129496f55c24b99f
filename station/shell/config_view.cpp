#include "shell/config_view.h"

#include "alarms/alarm_db_page.h"
#include "link/bus_statistics_panel.h"
#include "link/ports_page.h"
#include "shell/app_context.h"
#include "shell/main_window.h"
#include "shell/system_page.h"
#include "shell/touch_style.h"
#include "support/error_log_page.h"
#include "support/language_page.h"
#include "support/login_page.h"
#include "support/text_numbers.h"
#include "support/texts.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zev {

namespace {
// Captions of the pages in page order.
constexpr int kPageCaptions[kConfigPageCount] = {
    TextNo::PageLogin,   TextNo::LanguageCaption, TextNo::PageGroups,  TextNo::PageTools,
    TextNo::PageErrorLog, TextNo::PagePorts,      TextNo::PageAlarmDb, TextNo::PageSystem,
    TextNo::PageTrendStyle};
}  // namespace

ConfigView::ConfigView(AppContext& ctx, MainWindow& main, QWidget* parent)
    : View(parent), ctx_(ctx), main_(main) {
    setObjectName(QStringLiteral("frmConfig"));
    auto* layout = new QHBoxLayout(this);
    // A column of large page buttons instead of the tab strip: readable captions
    // a finger can hit.
    auto* index = new QListWidget(this);
    index->setObjectName(QStringLiteral("lstConfigPages"));
    index->setFont(touch::captionFont());
    index->setStyleSheet(QStringLiteral("QListWidget::item { min-height: 52px; padding-left: 8px; }"
                                        "QListWidget::item:selected { background: #1f3b5a; color: white; }"));
    index->setFixedWidth(260);
    index->setWordWrap(true);
    index->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("tabConfig"));
    pages_->tabBar()->hide();
    for (int i = 0; i < kConfigPageCount; ++i) {
        pages_->addTab(createPage(i), ctx.texts(kPageCaptions[i]));
        index->addItem(ctx.texts(kPageCaptions[i]));
    }
    connect(index, &QListWidget::currentRowChanged, pages_, &QTabWidget::setCurrentIndex);
    connect(pages_, &QTabWidget::currentChanged, index, [index](int page) { index->setCurrentRow(page); });
    index->setCurrentRow(0);
    layout->addWidget(index);
    layout->addWidget(pages_, 1);
}

QWidget* ConfigView::createPage(int index) {
    switch (index) {
    case kPageLogin: return new LoginPage(ctx_, this);
    case kPageLanguage: return new LanguagePage(ctx_, &main_, this);
    case kPageErrorLog: return new ErrorLogPage(ctx_, this);
    case kPageSystem: return new SystemPage(ctx_, this);
    case kPageAlarmDb: return new AlarmDbPage(ctx_, this);
    case kPagePorts: {
        auto* page = new QWidget(this);
        page->setObjectName(QStringLiteral("pagePorts"));
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(0, 0, 0, 0);  // the two parts have their own frames
        layout->addWidget(new PortsPage(ctx_, main_, page));
        layout->addWidget(new BusStatisticsPanel(ctx_, page), 1);
        return page;
    }
    default: {
        // The pages of later subsystems take this place.
        auto* empty = new QWidget(this);
        empty->setObjectName(QStringLiteral("configPage%1").arg(index));
        return empty;
    }
    }
}

int ConfigView::pageForPreviousView(int previousTab) {
    switch (previousTab) {
    case kViewOverview: return kPagePorts;
    case kViewPictures: return kPageTools;
    case kViewTrend: return kPageTrendStyle;
    case kViewAlarms: return kPageAlarmDb;
    case kViewParameters: return kPagePorts;
    case kViewGroups: return kPageGroups;
    case kViewDiagnosis: return kPageGroups;
    default: return -1;
    }
}

void ConfigView::SearchLogicalDrives() {
    // The tool manager's drive lists follow the volumes; until it exists the
    // configuration view shows no drives.
    emit drivesChanged();
}

void ConfigView::SearchPorts() {
    if (auto* ports = findChild<PortsPage*>()) ports->SearchPorts();
}

bool ConfigView::entering(int previousTab) {
    const int page = pageForPreviousView(previousTab);
    if (page >= 0) pages_->setCurrentIndex(page);
    return true;
}

}  // namespace zev
