#include "views/help_panel.h"

#include "base/app_context.h"
#include "widgets/touch_style.h"
#include "support/texts.h"
#include "views/overview_style.h"

#include <QFileInfo>
#include <QTabBar>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace zev {

namespace {
constexpr int kCaptions[] = {964, 965};
}

HelpPanel::HelpPanel(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("pnlHelp"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    tabs_ = new QTabBar(this);
    tabs_->setObjectName(QStringLiteral("SSTab2"));
    overview_style::subTabs(tabs_);
    tabs_->addTab(QString());
    tabs_->addTab(QString());
    layout->addWidget(tabs_);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("WebBrowser1"));
    browser_->setOpenExternalLinks(false);
    browser_->setFont(touch::messageFont());
    layout->addWidget(browser_, 1);
    setCaptions();
    connect(tabs_, &QTabBar::currentChanged, this, &HelpPanel::showPage);
}

void HelpPanel::setCaptions() {
    for (int i = 0; i < tabs_->count(); ++i) tabs_->setTabText(i, ctx_.texts(kCaptions[i]));
}

void HelpPanel::loadPages() {
    pages_ = readHelpPages(ctx_);
    showPage(tabs_->currentIndex());
}

void HelpPanel::showPage(int tab) {
    const int number = pageForTab(pages_, tab);
    const QUrl url = localPage(pages_[number], pages_.base(number));
    // "about:blank", a missing file or a page on the network: an empty page.
    if (url.isEmpty()) {
        browser_->clear();
        return;
    }
    browser_->setSearchPaths({QFileInfo(url.toLocalFile()).absolutePath()});
    browser_->setSource(url);
}

}  // namespace zev
