// The operator's actions of an unattended run (--script): lines beginning with
// "!" touch the program as an operator would, one after another once start-up
// is done; the lines after an action answer what it asks.
//   !view N        choose tab N of the main window (4: parameters)
//   !zone N        a zone tile of the overview: the parameter view on that zone
//   !group N       a group label of the overview: the parameter view on that group
//   !controller D  the zones of controller D as the selection (marked zones)
//   !mode I        the mode option I (0 off, 1 manual, 2 control) of the input tab
//   !setpoint      a touch on the setpoint of the input tab (the number follows)
//   !output        a touch on the output rate of the input tab (the number follows)
//   !wait S        let the program run S seconds before the next action
//   !drive         the tool manager (configuration page 3) with the fixed drive chosen
//   !tool NAME     the tool manager with the tool NAME of the fixed drive chosen
//   !click NAME    a click on the button of that object name (e.g. cmdNewTool, cmdChange)
//   !recipe load NAME, !recipe save NAME
//                  the recipe commands of the parameter view with that name
//                  (the recipe window's choice); their questions follow
//   !send          "Übertragen" on the recipe tab
#pragma once

#include <QObject>
#include <QString>

namespace zev {

struct AppContext;
class MainWindow;
class ScriptedOperator;

class ScriptActions final : public QObject {
    Q_OBJECT
public:
    ScriptActions(AppContext& ctx, MainWindow& main, ScriptedOperator& op);
    // Runs the actions from the event loop.
    void start();

private:
    void runNext();
    bool run(const QString& action, int* waitMs);
    bool runNamed(const QString& verb, const QString& name);

    AppContext& ctx_;
    MainWindow& main_;
    ScriptedOperator& op_;
};

}  // namespace zev
