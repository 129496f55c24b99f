// frmParameter, the parameter view: the tabs tabEingabe (0 recipes, 1 global
// parameters, 2 zone parameters, 3 input), the shared zone selection panel with
// the selection's caption, the buttons of the tabs, the status line and the
// progress bar of the commands. It answers the overview's zone and group clicks
// (ShowSingleZone, ShowSingleGroup, through the navigation requests), runs the
// commands of the logic in station/parameters, and records every change they
// make through the zone commands as an operator record.
#pragma once

#include "parameters/boost.h"
#include "parameters/command_batch.h"
#include "parameters/controller_commands.h"
#include "parameters/operator_record.h"
#include "parameters/parameter_reader.h"
#include "parameters/parameter_sender.h"
#include "parameters/recipe_book.h"
#include "parameters/zone_input_commands.h"
#include "widgets/view.h"

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;
class QVBoxLayout;

namespace zev {

struct AppContext;
class GlobalTab;
class InputTab;
class ParameterTable;
class ZoneSelectionPanel;

class ParameterView final : public View, private CommandFeedback {
    Q_OBJECT
public:
    enum Tab { kTabRecipes = 0, kTabGlobals = 1, kTabZoneParameters = 2, kTabInput = 3 };

    // showMe: brings this view to the front (the main window's tab), when a
    // zone or group click opens it.
    ParameterView(AppContext& ctx, std::function<void()> showMe, QWidget* parent = nullptr);
    ~ParameterView() override;

    bool entering(int previousTab) override;
    void leaving() override;

    void ShowSingleZone(int zone);
    void ShowSingleGroup(int group);
    // Recomputes SelectedZones and the caption.
    void selectionChanged();
    void tabEingabe_Click(int tab);
    void Timer2_Timer();
    void Enable_Timer2(bool on);
    void TimerSecond_Timer();
    // Before the link stops (tool change, offline, program end): ends boost.
    // False, with a notice, while a transfer or a diagnosis runs and boost is on.
    bool endBoostBeforeStop();

    // Recipes: "Rezept laden" (0) and "Rezept speichern" (1) with the recipe
    // window; "Übertragen" on the recipe tab; the comparison with the caption's
    // suffix and the send button.
    void cmdLoadSaveRecipe_Click(int index);
    void cmdSend_Click();
    void CompareRecipes();
    // The same without the recipe window (the unattended run names the recipe).
    bool loadRecipeNamed(const QString& name);
    bool saveRecipeNamed(const QString& entered);
    // Where the recipe window is asked for a name (save: with "Neu"); the
    // recipe window unless a test puts its own.
    std::function<QString(bool save)> chooseRecipe;
    RecipeBook& recipes() { return *recipes_; }

    // State of the view.
    const std::vector<bool>& SelectedZones() const { return selected_; }
    int SelectedCount() const { return selectedCount_; }
    int CurrentParameter = 0;
    bool ValuesLoaded = false;

    QTabWidget* tabEingabe() const { return tabs_; }
    ZoneSelectionPanel* selection() const { return selection_; }
    InputTab* inputTab() const { return input_; }
    GlobalTab* globalTab() const { return globals_; }
    ParameterTable* zoneTable() const { return zoneTable_; }
    QLabel* lblZonenName() const { return caption_; }
    QPushButton* cmdReload() const { return reload_; }
    QPushButton* cmdSend() const { return send_; }
    QPushButton* cmdPrint() const { return print_; }
    QPushButton* cmdLoadSaveRecipe(int i) const { return recipeButtons_[static_cast<std::size_t>(i)]; }
    QLabel* lblRecipe(int i) const { return recipeLabels_[static_cast<std::size_t>(i)]; }
    QCheckBox* chkShowRecipeTable(int i) const { return showRecipeTable_[static_cast<std::size_t>(i)]; }
    ParameterTable* recipeTable(int i) const { return i == 0 ? recipeGlobalTable_ : recipeZoneTable_; }
    QLabel* statusLine() const { return status_; }
    QProgressBar* progressBar() const { return progressBar_; }
    QTimer* Timer2() const { return timer2_; }
    QTimer* TimerSecond() const { return timerSecond_; }
    Boost& boost() { return *boost_; }

private:
    // CommandFeedback
    void setStatus(const QString& text) override;
    void setProgress(int percent) override;
    void setBusy(bool busy) override;

    QWidget* buildRecipeTab();
    void refreshBoost();
    void fillZoneTables();
    void readGlobals();
    void openingSequence();
    void afterLoadOrSave(const QString& name);
    void showRecipeTables(bool shown);
    QString captionOf(const QString& recipe) const;
    bool readAllIfNeeded();
    void cmdReload_Click();
    void cmdPrint_Click();
    void optBoost_Click();
    void onValueClicked(int index);
    void onParameterClicked(int parameter);
    void onGlobalClicked(int g);
    void Command3_Click();
    bool setpointLocked() const;

    AppContext& ctx_;
    std::function<void()> showMe_;
    OperatorRecord record_;
    std::unique_ptr<ZoneInputCommands> commands_;
    std::unique_ptr<ControllerCommands> controllers_;
    std::unique_ptr<ParameterReader> reader_;
    std::unique_ptr<Boost> boost_;
    std::unique_ptr<RecipeBook> recipes_;
    std::unique_ptr<ParameterSender> sender_;
    bool opened_ = false;

    std::vector<bool> selected_;
    int selectedCount_ = 0;
    int busyDepth_ = 0;

    QTabWidget* tabs_ = nullptr;
    ZoneSelectionPanel* selection_ = nullptr;
    QLabel* caption_ = nullptr;
    InputTab* input_ = nullptr;
    GlobalTab* globals_ = nullptr;
    ParameterTable* zoneTable_ = nullptr;
    ParameterTable* recipeZoneTable_ = nullptr;
    ParameterTable* recipeGlobalTable_ = nullptr;
    QPushButton* reload_ = nullptr;
    QPushButton* send_ = nullptr;
    QPushButton* print_ = nullptr;
    std::array<QPushButton*, 2> recipeButtons_{};
    std::array<QCheckBox*, 2> showRecipeTable_{};
    std::array<QLabel*, 2> recipeLabels_{};
    QVBoxLayout* recipeLayout_ = nullptr;
    int recipeStretch_ = 0;
    QLabel* status_ = nullptr;
    QProgressBar* progressBar_ = nullptr;
    QTimer* timer2_ = nullptr;
    QTimer* timerSecond_ = nullptr;
    QTimer* timerRefresh_ = nullptr;
};

}  // namespace zev
