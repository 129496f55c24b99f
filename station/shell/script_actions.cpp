#include "shell/script_actions.h"

#include "widgets/zone_selection_panel.h"
#include "parameters/forms/input_tab.h"
#include "parameters/forms/parameter_view.h"
#include "base/app_context.h"
#include "base/navigation.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "shell/config_view.h"
#include "shell/main_window.h"
#include "tools/forms/tool_manager_page.h"
#include "support/scripted_operator.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QTabWidget>
#include <QCoreApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

namespace zev {

ScriptActions::ScriptActions(AppContext& ctx, MainWindow& main, ScriptedOperator& op)
    : QObject(&main), ctx_(ctx), main_(main), op_(op) {}

void ScriptActions::start() { QTimer::singleShot(0, this, [this] { runNext(); }); }

void ScriptActions::runNext() {
    const auto action = op_.takeAction();
    if (!action) {
        // Answers still wait for what an action started after its own event (a
        // tool change): the next action comes once they have been taken.
        if (op_.remaining() > 0) QTimer::singleShot(100, this, [this] { runNext(); });
        return;
    }
    int waitMs = 0;
    if (!run(*action, &waitMs)) {
        op_.refuse(*action);
        return;
    }
    QTimer::singleShot(waitMs, this, [this] { runNext(); });
}

bool ScriptActions::run(const QString& action, int* waitMs) {
    const QStringList words = action.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty()) return false;
    const QString& verb = words.front();
    if (verb == QLatin1String("tool") || verb == QLatin1String("drive") || verb == QLatin1String("click"))
        return runNamed(verb, action.section(QLatin1Char(' '), 1).trimmed());
    auto* params = dynamic_cast<ParameterView*>(main_.view(kViewParameters));
    if (verb == QLatin1String("recipe") && params && words.size() == 3) {
        const QString name = words[2];
        if (words[1] == QLatin1String("load")) params->loadRecipeNamed(name);
        else if (words[1] == QLatin1String("save")) params->saveRecipeNamed(name);
        else return false;
        return true;
    }
    if (verb == QLatin1String("send") && params && words.size() == 1) {
        params->tabEingabe()->setCurrentIndex(ParameterView::kTabRecipes);
        params->cmdSend_Click();
        return true;
    }
    bool ok = words.size() < 2;
    const double number = words.size() >= 2 ? words[1].toDouble(&ok) : 0.0;
    if (!ok) return false;
    if (verb == QLatin1String("wait")) {
        *waitMs = static_cast<int>(number * 1000.0);
        return true;
    }
    if (verb == QLatin1String("view") && number >= 0 && number < static_cast<double>(kViewCount)) {
        main_.selectTab(static_cast<int>(number));
        return true;
    }
    if (verb == QLatin1String("zone")) {
        ctx_.navigation.requestZone(static_cast<int>(number));
        return true;
    }
    if (verb == QLatin1String("group")) {
        ctx_.navigation.requestGroup(static_cast<int>(number));
        return true;
    }
    if (!params) return false;
    if (verb == QLatin1String("controller")) {
        // The zones of the controller become the marked zones, and only "Auswahl" is ticked.
        for (int z = 1; z <= ctx_.plant.ZoneCount; ++z)
            ctx_.plant.zone(z).Selected = ctx_.plant.zone(z).BusAddress == static_cast<int>(number);
        for (int i = 0; i < kSelectionBoxCount; ++i) params->selection()->groupBox(i)->setChecked(i == kSelectionBox);
        params->selection()->singleZoneBox()->setChecked(false);
        params->selectionChanged();
        return true;
    }
    if (verb == QLatin1String("mode") && number >= 0 && number <= 2) {
        params->inputTab()->optMode(static_cast<int>(number))->click();
        return true;
    }
    if (verb == QLatin1String("setpoint") || verb == QLatin1String("output")) {
        QLabel* label = params->inputTab()->lblZoneVal(verb == QLatin1String("setpoint") ? 1 : 2);
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), label->mapToGlobal(QPointF(1, 1)), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(label, &press);
        return true;
    }
    return false;
}

bool ScriptActions::runNamed(const QString& verb, const QString& name) {
    if (verb == QLatin1String("click")) {
        auto* button = main_.findChild<QAbstractButton*>(name);
        if (!button || !button->isEnabled()) return false;
        button->click();
        return true;
    }
    // The tool manager on the fixed drive: a tool by its name, or the drive itself.
    main_.selectTab(kViewConfiguration);
    auto* config = dynamic_cast<ConfigView*>(main_.view(kViewConfiguration));
    if (!config) return false;
    config->pages()->setCurrentIndex(kPageTools);
    auto* page = config->findChild<ToolManagerPage*>();
    if (!page) return false;
    page->SearchLogicalDrives();
    return verb == QLatin1String("drive") ? page->selectDrive(ctx_.tool.ToolsDir)
                                          : page->selectTool(ctx_.tool.ToolsDir + name);
}

}  // namespace zev
