#include "shell/config_view.h"

#include "base/app_context.h"
#include "link/forms/ports_page.h"
#include "shell/main_window.h"
#include "shell/view_registry.h"
#include "support/texts.h"
#include "tools/forms/tool_manager_page.h"
#include "widgets/touch_style.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace zev {

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
    for (const ConfigPageEntry& entry : configPageRegistry()) {
        QWidget* page = entry.create ? entry.create(ctx, main, this) : nullptr;
        if (!page) {
            // The pages of later subsystems take this place.
            page = new QWidget(this);
            page->setObjectName(QStringLiteral("configPage%1").arg(entry.page));
        }
        pages_->addTab(page, ctx.texts(entry.caption));
        index->addItem(ctx.texts(entry.caption));
    }
    connect(index, &QListWidget::currentRowChanged, pages_, &QTabWidget::setCurrentIndex);
    connect(pages_, &QTabWidget::currentChanged, index, [index](int page) { index->setCurrentRow(page); });
    index->setCurrentRow(0);
    layout->addWidget(index);
    layout->addWidget(pages_, 1);
}

int ConfigView::pageForPreviousView(int previousTab) {
    const ViewEntry* entry = viewEntry(previousTab);
    return entry ? entry->configPage : -1;
}

void ConfigView::SearchLogicalDrives() {
    // The tool manager's drive list follows the volumes.
    if (auto* tools = findChild<ToolManagerPage*>()) tools->SearchLogicalDrives();
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
