// The views of tabMain and the pages of the configuration view in one table:
// adding a view, its tab and its configuration page is one entry here. The
// main window loads the views from it, the configuration view builds its pages
// from it, and the evaluation pass refreshes the shown view when its entry
// says it shows live values.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <vector>

class QWidget;

namespace zev {

struct AppContext;
class MainWindow;
class View;

using ViewFactory = std::function<View*(AppContext&, MainWindow&)>;
using PageFactory = std::function<QWidget*(AppContext&, MainWindow&, QWidget* parent)>;

struct ConfigPageEntry {
    int page = 0;        // ConfigPage
    int caption = 0;     // text number
    PageFactory create;  // null: an empty page for a later subsystem
};

struct ViewEntry {
    int tab = 0;                 // ViewIndex
    int caption = 0;             // text number of the tab
    const char* formName = "";   // object name of an empty page
    ViewFactory create;          // null: an empty page until the subsystem exists
    bool liveValues = false;     // the evaluation pass refreshes it while shown
    int configPage = -1;         // the configuration page opened when this view is left
    std::optional<ConfigPageEntry> ownPage;  // the view's own page in the configuration view
};

// Every view in load order (configuration first: the others' notifications
// find it).
const std::vector<ViewEntry>& viewRegistry();
// The entry of a tab (null when none).
const ViewEntry* viewEntry(int tab);
// Every page of the configuration view in page order: the general pages and
// the views' own pages.
std::vector<ConfigPageEntry> configPageRegistry();

// The view of a tab as its entry builds it (an empty page without factory).
View* createView(int tab, AppContext& ctx, MainWindow& main);
// Caption of a tab of tabMain in the current language.
QString viewCaption(AppContext& ctx, int tab);

}  // namespace zev
