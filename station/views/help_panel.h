// The help tab of the overview: the tab strip `SSTab2` ("Wartungsanweisung",
// "ZEV Service CD") over a browser of local HTML pages; where a tab has no page
// that can be shown, the program's own page (help_builtin.h).
#pragma once

#include "views/help_pages.h"

#include <QWidget>

class QTabBar;
class QTextBrowser;

namespace zev {

struct AppContext;

class HelpPanel : public QWidget {
    Q_OBJECT
public:
    explicit HelpPanel(AppContext& ctx, QWidget* parent = nullptr);

    QTabBar* SSTab2() const { return tabs_; }
    QTextBrowser* browser() const { return browser_; }
    const HelpPages& pages() const { return pages_; }

    // Reads the start pages (at load time) and shows the chosen tab's page.
    void loadPages();
    void setCaptions();

private:
    void showPage(int tab);

    AppContext& ctx_;
    QTabBar* tabs_;
    QTextBrowser* browser_;
    HelpPages pages_;
};

}  // namespace zev
