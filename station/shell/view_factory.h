// Builds the view of one tab. Each subsystem's view is created here, so the main
// window knows views only through the View interface.
#pragma once

#include <QString>

class QWidget;

namespace zev {

struct AppContext;
class MainWindow;
class View;

View* createView(int index, AppContext& ctx, MainWindow& main);
// Caption of a tab of tabMain in the current language.
QString viewCaption(AppContext& ctx, int index);

}  // namespace zev
