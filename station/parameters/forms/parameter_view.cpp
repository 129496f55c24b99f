#include "parameters/forms/parameter_view.h"

#include "widgets/zone_selection_panel.h"
#include "parameters/forms/global_tab.h"
#include "parameters/forms/input_tab.h"
#include "parameters/forms/parameter_file_dialog.h"
#include "parameters/forms/parameter_table.h"
#include "parameters/change_plan.h"
#include "parameters/input_display.h"
#include "parameters/parameter_printout.h"
#include "parameters/parameter_texts.h"
#include "parameters/selection_caption.h"
#include "base/app_context.h"
#include "base/navigation.h"
#include "link/link_session.h"
#include "link/zone_commands.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "base/notification_hub.h"
#include "widgets/touch_style.h"
#include "support/notices.h"
#include "support/printing.h"
#include "support/procedure.h"
#include "support/texts.h"
#include "support/user_levels.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace zev {

namespace {
const QString kModule = QStringLiteral("frmParameter");

QPushButton* button(const QString& text, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAccessibleName(name);
    touch::makeTouchButton(b);
    return b;
}
}  // namespace

ParameterView::ParameterView(AppContext& ctx, std::function<void()> showMe, QWidget* parent)
    : View(parent), ctx_(ctx), showMe_(std::move(showMe)), record_(ctx) {
    setObjectName(kModule);
    CommandFeedback& feedback = *this;
    commands_ = std::make_unique<ZoneInputCommands>(ctx, feedback, record_);
    controllers_ = std::make_unique<ControllerCommands>(ctx, record_);
    reader_ = std::make_unique<ParameterReader>(ctx, feedback);
    boost_ = std::make_unique<Boost>(ctx, feedback, record_);
    recipes_ = std::make_unique<RecipeBook>(ctx, feedback);
    sender_ = std::make_unique<ParameterSender>(ctx, feedback, record_);
    chooseRecipe = [this](bool save) {
        return save ? SaveRezept(ctx_, recipes_->names(), this) : LoadRezept(ctx_, recipes_->names(), this);
    };
    // Every zone write of this view is recorded once, where the zone commands
    // announce an accepted write.
    connect(&ctx.link->commands(), &ZoneCommands::accepted, this,
            [this](const ZoneCommandRecord& r) { record_.zoneChanged(r.zone, r.code, r.previous, r.value); });
    Texts& t = ctx.texts;

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("tabEingabe"));
    tabs_->setUsesScrollButtons(false);  // every tab in sight, no arrows to touch
    tabs_->setFont(touch::captionFont());
    touch::makeTouchTabs(tabs_);
    globals_ = new GlobalTab(ctx, this);
    zoneTable_ = new ParameterTable(ctx, ParameterTable::Kind::ZoneValues, QStringLiteral("Grid_Recipe1"), this);
    input_ = new InputTab(ctx, this);
    tabs_->addTab(buildRecipeTab(), t(ParamText::TabRecipes));
    tabs_->addTab(globals_, t(ParamText::TabGlobals));
    tabs_->addTab(zoneTable_, t(ParamText::TabZoneParameters));
    tabs_->addTab(input_, t(ParamText::TabInput));
    layout->addWidget(tabs_, 0, 0, 2, 1);
    layout->setColumnStretch(0, 1);

    auto* side = new QVBoxLayout;
    caption_ = new QLabel(this);
    caption_->setObjectName(QStringLiteral("lblZonenName"));
    caption_->setFont(touch::captionFont());
    caption_->setWordWrap(true);
    caption_->setMinimumHeight(48);
    caption_->setFrameShape(QFrame::Panel);
    side->addWidget(caption_);
    selection_ = new ZoneSelectionPanel(ctx, this, 2);
    side->addWidget(selection_);
    side->addStretch(1);
    reload_ = button(t(ParamText::Reload), QStringLiteral("cmdReload"), this);
    send_ = button(t(ParamText::Send), QStringLiteral("cmdSend"), this);
    print_ = button(t(ParamText::Print), QStringLiteral("cmdPrint"), this);
    auto* buttons = new QGridLayout;
    buttons->addWidget(reload_, 0, 0);
    buttons->addWidget(send_, 0, 1);
    buttons->addWidget(print_, 1, 0, 1, 2);
    side->addLayout(buttons);
    layout->addLayout(side, 0, 1, 2, 1);

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblStatus"));
    status_->setFont(touch::captionFont());
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar"));
    progressBar_->setRange(0, 100);
    progressBar_->setValue(0);
    progressBar_->setMaximumHeight(20);
    auto* foot = new QHBoxLayout;
    foot->addWidget(status_, 2);
    foot->addWidget(progressBar_, 1);
    layout->addLayout(foot, 2, 0, 1, 2);

    timer2_ = new QTimer(this);
    timer2_->setInterval(1000);
    connect(timer2_, &QTimer::timeout, this, [this] { Timer2_Timer(); });
    timerSecond_ = new QTimer(this);
    timerSecond_->setInterval(1000);
    connect(timerSecond_, &QTimer::timeout, this, [this] { TimerSecond_Timer(); });
    timerRefresh_ = new QTimer(this);
    timerRefresh_->setSingleShot(true);
    timerRefresh_->setInterval(1);
    connect(timerRefresh_, &QTimer::timeout, this, [this] { tabEingabe_Click(tabs_->currentIndex()); });

    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) { tabEingabe_Click(tab); });
    connect(selection_, &ZoneSelectionPanel::selectionChanged, this, [this] { selectionChanged(); });
    connect(reload_, &QPushButton::clicked, this, [this] { cmdReload_Click(); });
    connect(print_, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(send_, &QPushButton::clicked, this, [this] { cmdSend_Click(); });
    connect(input_, &InputTab::modeClicked, this, [this](int i) {
        guarded(ctx_.errors, kModule, QStringLiteral("optMode_MouseDown"), [&] { commands_->setMode(selected_, i); });
        Timer2_Timer();
    });
    connect(input_, &InputTab::valueClicked, this, [this](int i) { onValueClicked(i); });
    connect(input_, &InputTab::boostClicked, this, [this] { optBoost_Click(); });
    connect(input_, &InputTab::tuningClicked, this, [this](bool on) {
        guarded(ctx_.errors, kModule, QStringLiteral("Check1_MouseUp"), [&] { commands_->setTuning(selected_, on); });
        Timer2_Timer();
    });
    connect(input_, &InputTab::tuneAckClicked, this, [this] {
        guarded(ctx_.errors, kModule, QStringLiteral("cmdTune_Click"), [&] { commands_->acknowledgeTuning(selected_); });
    });
    connect(input_, &InputTab::outputsClicked, this, [this] {
        guarded(ctx_.errors, kModule, QStringLiteral("cmdON_Click"), [&] { controllers_->toggleOutputs(); });
        input_->showOutputs(ctx_.plant.OutputsOn);
    });
    connect(input_, &InputTab::resetClicked, this, [this] {
        guarded(ctx_.errors, kModule, QStringLiteral("cmdReset_Click"), [&] { controllers_->restart(); });
    });
    connect(zoneTable_, &ParameterTable::parameterClicked, this, [this](int p) { onParameterClicked(p); });
    connect(globals_, &GlobalTab::rowClicked, this, [this](int g) { onGlobalClicked(g); });
    connect(globals_, &GlobalTab::factoryClicked, this, [this] { Command3_Click(); });
    ctx.hub.subscribe(Msg::ZoneNamesChanged, this, [this] { selectionChanged(); });

    input_->setBoostOffered(!ctx.driver.NoBoost);
    globals_->build();
    connect(&ctx.navigation, &Navigation::zoneRequested, this, [this](int zone) { ShowSingleZone(zone); });
    connect(&ctx.navigation, &Navigation::groupRequested, this, [this](int group) { ShowSingleGroup(group); });
    ctx.link->setStopGuard([this] { return endBoostBeforeStop(); });
    selectionChanged();
    tabs_->setCurrentIndex(kTabInput);
    tabEingabe_Click(kTabInput);
}

ParameterView::~ParameterView() {
    if (ctx_.link) ctx_.link->setStopGuard({});
}

QWidget* ParameterView::buildRecipeTab() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("tabRecipes"));
    auto* layout = new QVBoxLayout(page);
    auto* recipe = new QLabel(ctx_.texts(ParamText::NoRecipe), page);
    recipe->setObjectName(QStringLiteral("lblRecipe0"));
    recipe->setFont(touch::captionFont());
    auto* hint = new QLabel(ctx_.texts(ParamText::RecipeHint), page);
    hint->setObjectName(QStringLiteral("lblRecipe1"));
    hint->setWordWrap(true);
    recipeLabels_ = {recipe, hint};
    layout->addWidget(recipe);
    layout->addWidget(hint);
    auto* row = new QVBoxLayout;
    for (int i = 0; i < 2; ++i) {
        auto* box = new QCheckBox(ctx_.texts(i == 0 ? ParamText::ShowGlobalTable : ParamText::ShowZoneTable), page);
        box->setObjectName(QStringLiteral("chkShowRecipeTable%1").arg(i));
        box->setAccessibleName(box->objectName());
        box->setFont(touch::captionFont());
        box->setStyleSheet(QStringLiteral("QCheckBox::indicator { width: 30px; height: 30px; }"));
        box->setChecked(true);
        showRecipeTable_[static_cast<std::size_t>(i)] = box;
        row->addWidget(box);
    }
    layout->addLayout(row);
    recipeGlobalTable_ = new ParameterTable(ctx_, ParameterTable::Kind::GlobalRecipe, QStringLiteral("Grid_Recipe0"), page);
    recipeZoneTable_ = new ParameterTable(ctx_, ParameterTable::Kind::ZoneRecipe, QStringLiteral("Grid_Recipe1Recipe"), page);
    layout->addWidget(recipeGlobalTable_, 1);
    layout->addWidget(recipeZoneTable_, 2);
    // Takes the room of the hidden tables, so that the labels stay at the top.
    recipeStretch_ = layout->count();
    layout->addStretch(1);
    recipeLayout_ = layout;
    connect(showRecipeTable_[0], &QCheckBox::toggled, recipeGlobalTable_, &QWidget::setVisible);
    connect(showRecipeTable_[1], &QCheckBox::toggled, recipeZoneTable_, &QWidget::setVisible);
    showRecipeTables(false);  // until a recipe is loaded or saved
    auto* buttons = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        recipeButtons_[static_cast<std::size_t>(i)] =
            button(ctx_.texts(i == 0 ? ParamText::LoadRecipe : ParamText::StoreRecipe),
                   QStringLiteral("cmdLoadSaveRecipe%1").arg(i), page);
        connect(recipeButtons_[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdLoadSaveRecipe_Click(i); });
        buttons->addWidget(recipeButtons_[static_cast<std::size_t>(i)]);
    }
    buttons->addStretch(1);
    layout->addLayout(buttons);
    return page;
}

bool ParameterView::entering(int) {
    if (!ctx_.link->Online()) {
        tellOperator(ctx_.op, ctx_.texts, ctx_.texts(ParamText::OfflineRefused));
        return false;
    }
    input_->showOutputs(ctx_.plant.OutputsOn);
    if (!opened_) openingSequence();
    timerRefresh_->start();
    Enable_Timer2(true);
    return true;
}

void ParameterView::leaving() { Enable_Timer2(false); }

void ParameterView::ShowSingleZone(int zone) {
    if (zone > ctx_.plant.ZoneCount) return;
    zone = std::max(zone, 1);
    {
        const QSignalBlocker block(selection_);
        for (int i = 0; i < kSelectionBoxCount; ++i) selection_->groupBox(i)->setChecked(false);
        selection_->setSingleZone(zone);
        selection_->singleZoneBox()->setChecked(true);
    }
    selectionChanged();
    tabs_->setCurrentIndex(kTabInput);
    if (showMe_) showMe_();
}

void ParameterView::ShowSingleGroup(int group) {
    if (group < 0 || group > kGroupCount) return;
    {
        const QSignalBlocker block(selection_);
        for (int i = 0; i < kSelectionBoxCount; ++i) selection_->groupBox(i)->setChecked(i == group);
        selection_->singleZoneBox()->setChecked(false);
    }
    selectionChanged();
    tabs_->setCurrentIndex(kTabInput);
    if (showMe_) showMe_();
}

void ParameterView::selectionChanged() {
    selectedCount_ = selection_->CheckSelZone(selected_);
    caption_->setText(GetSelZoneText(ctx_, selection_->controls(), selected_));
    if (tabs_->currentIndex() == kTabZoneParameters) fillZoneTables();
    else if (tabs_->currentIndex() == kTabRecipes) fillZoneTables();
    else if (tabs_->currentIndex() == kTabInput) Timer2_Timer();
}

void ParameterView::tabEingabe_Click(int tab) {
    guarded(ctx_.errors, kModule, QStringLiteral("tabEingabe_Click"), [&] {
        const bool tables = tab != kTabInput;
        reload_->setEnabled(tables);
        send_->setEnabled(tables);
        print_->setEnabled(tables);
        for (QPushButton* b : recipeButtons_) b->setEnabled(tab == kTabRecipes);
        selection_->setVisible(tab != kTabGlobals);
        caption_->setVisible(tab != kTabGlobals);
        if (tab == kTabRecipes) {
            setStatus(ctx_.texts(ParamText::FillTable));
            recipeGlobalTable_->fill(selected_);
            recipeZoneTable_->fill(selected_);
            setStatus(QString());
            CompareRecipes();
        } else if (tab == kTabGlobals) {
            readGlobals();
        } else if (tab == kTabZoneParameters) {
            if (!ValuesLoaded && ctx_.driver.DriverLoaded && ctx_.link->Online()) ValuesLoaded = reader_->ReceiveParameter() >= 0;
            setStatus(ctx_.texts(ParamText::FillTable2));
            zoneTable_->fill(selected_);
            setStatus(QString());
        } else {
            Timer2_Timer();
        }
    });
}

void ParameterView::fillZoneTables() {
    if (tabs_->currentIndex() == kTabRecipes) recipeZoneTable_->fill(selected_);
    else zoneTable_->fill(selected_);
}

void ParameterView::readGlobals() {
    globals_->build();
    if (ctx_.link->Online()) globals_->showValues(reader_->readGlobalGrid());
}

bool ParameterView::setpointLocked() const {
    for (std::size_t z = 1; z < selected_.size(); ++z)
        if (selected_[z] && ctx_.tool.Groups[std::min<std::size_t>(ctx_.plant.zone(static_cast<int>(z)).Group, kGroupCount)].Lock_W)
            return true;
    return false;
}

void ParameterView::Timer2_Timer() {
    if (tabs_->currentIndex() != kTabInput) return;
    guarded(ctx_.errors, kModule, QStringLiteral("Timer2_Timer"), [&] {
        input_->showDisplay(computeInputDisplay(ctx_, selected_, CurrentParameter), CurrentParameter, setpointLocked());
        input_->showOutputs(ctx_.plant.OutputsOn);
    });
}

void ParameterView::Enable_Timer2(bool on) {
    if (!timer2_->isActive() && on) Timer2_Timer();
    if (on) timer2_->start();
    else timer2_->stop();
}

void ParameterView::refreshBoost() {
    input_->showBoost(boost_->active(), boost_->countdownText());
    if (boost_->active()) timerSecond_->start();
    else timerSecond_->stop();
}

void ParameterView::TimerSecond_Timer() {
    guarded(ctx_.errors, kModule, QStringLiteral("TimerSecond_Timer"), [&] {
        // At the end of the time boost is switched off directly: no level question.
        boost_->tick();
        refreshBoost();
    });
}

void ParameterView::optBoost_Click() {
    guarded(ctx_.errors, kModule, QStringLiteral("optBoost_Click"), [&] {
        if (!ctx_.users.CheckLevel(1)) return;
        if (boost_->active()) boost_->switchOff();
        else boost_->switchOn(selected_);
        refreshBoost();
    });
}

bool ParameterView::endBoostBeforeStop() {
    if (!boost_->active()) return true;
    if (ctx_.link->DiagnosisRunning() || reader_->busy()) {
        tellOperator(ctx_.op, ctx_.texts, ctx_.texts(ParamText::BusyRefused));
        return false;
    }
    boost_->switchOff();
    refreshBoost();
    return true;
}

void ParameterView::onValueClicked(int index) {
    guarded(ctx_.errors, kModule, QStringLiteral("lblZoneVal_MouseDown"), [&] {
        commands_->enterValue(selected_, index == 1 ? 0 : 3000, caption_->text());
    });
    Timer2_Timer();
}

void ParameterView::onParameterClicked(int parameter) {
    CurrentParameter = parameter;
    guarded(ctx_.errors, kModule, QStringLiteral("ClickGridParameter"), [&] {
        if (!ctx_.driver.DriverLoaded) {
            tellOperator(ctx_.op, ctx_.texts, ctx_.texts(ParamText::NoDriver));
            return;
        }
        commands_->setParameter(selected_, parameter);
    });
    zoneTable_->fill(selected_);
    CompareRecipes();
}

void ParameterView::onGlobalClicked(int g) {
    guarded(ctx_.errors, kModule, QStringLiteral("gridParaGlob_Click"), [&] {
        const auto cells = controllers_->editGlobal(g);
        if (!cells.empty())
            globals_->showWrite(g, ctx_.driver.GlobalParameters[static_cast<std::size_t>(g)].Value, cells);
        CompareRecipes();
    });
}

void ParameterView::Command3_Click() {
    guarded(ctx_.errors, kModule, QStringLiteral("Command3_Click"), [&] {
        if (controllers_->factorySettings()) ValuesLoaded = false;
    });
}

void ParameterView::cmdReload_Click() {
    if (reader_->busy() || sender_->busy()) return;  // a transfer runs: the second click does nothing
    guarded(ctx_.errors, kModule, QStringLiteral("cmdReload_Click"), [&] {
        const int tab = tabs_->currentIndex();
        if (tab == kTabGlobals) {
            readGlobals();
            return;
        }
        if (!ctx_.driver.DriverLoaded) {
            tellOperator(ctx_.op, ctx_.texts, ctx_.texts(ParamText::NoDriver));
            return;
        }
        if (reader_->ReceiveParameter() >= 0) ValuesLoaded = true;
        tabEingabe_Click(tab);
        CompareRecipes();
    });
}

void ParameterView::cmdPrint_Click() {
    guarded(ctx_.errors, kModule, QStringLiteral("cmdPrint_Click"), [&] {
        const int tab = tabs_->currentIndex();
        if (tab == kTabRecipes) {
            tellOperator(ctx_.op, ctx_.texts, ctx_.texts(ParamText::PrintNotAvailable));
            return;
        }
        const bool globals = tab == kTabGlobals;
        if (globals && ctx_.driver.GlobalParameters.empty()) {
            tellOperator(ctx_.op, ctx_.texts, ctx_.texts(ParamText::PrintNoGlobals));
            return;
        }
        if (!globals && selectedCount_ == 0) {
            tellOperator(ctx_.op, ctx_.texts, ctx_.texts(ParamText::PrintNoZones));
            return;
        }
        setStatus(ctx_.texts(globals ? ParamText::PrintingGlobals : ParamText::PrintingZones));
        Report report = globals ? globalParameterPrintout(ctx_, recipes_->current(), reader_->readGlobalGrid())
                                : zoneParameterPrintout(ctx_, selected_, recipes_->current());
        report.title = tabs_->tabText(tab);
        QString error, pdf;
        const bool ok = ctx_.printer.print(report, &error, &pdf);
        setStatus(QString());
        if (!ok)
            tellOperator(ctx_.op, ctx_.texts,
                         ctx_.texts(globals ? ParamText::PrintGlobalsFailed : ParamText::PrintZonesFailed) + error);
    });
}

bool ParameterView::readAllIfNeeded() {
    if (!ValuesLoaded && ctx_.driver.DriverLoaded && ctx_.link->Online()) ValuesLoaded = reader_->ReceiveParameter() >= 0;
    return ValuesLoaded;
}

void ParameterView::openingSequence() {
    opened_ = true;
    guarded(ctx_.errors, kModule, QStringLiteral("Form_Load"), [&] {
        const QString standard = recipes_->standardRecipe();
        const bool loaded = !standard.isEmpty() && recipes_->doLoadRecipe(standard);
        ValuesLoaded = false;
        readAllIfNeeded();
        if (!loaded) return;
        afterLoadOrSave(standard);
        recipeLabels_[0]->setText(ctx_.texts(ParamText::StandardRecipe) + standard);
        if (IsRecipeDiffer(ctx_)) tellOperator(ctx_.op, ctx_.texts, ctx_.texts(ParamText::RecipeDiffers));
    });
}

void ParameterView::showRecipeTables(bool shown) {
    recipeLayout_->setStretch(recipeStretch_, shown ? 0 : 1);
    for (std::size_t i = 0; i < 2; ++i) {
        showRecipeTable_[i]->setVisible(shown);
        recipeTable(static_cast<int>(i))->setVisible(shown && showRecipeTable_[i]->isChecked());
    }
}

QString ParameterView::captionOf(const QString& recipe) const {
    return ctx_.texts(ParamText::CaptionTool) + ctx_.tool.ToolName + ctx_.texts(ParamText::CaptionRecipe) + recipe;
}

void ParameterView::afterLoadOrSave(const QString& name) {
    window()->setWindowTitle(captionOf(name));
    recipeLabels_[0]->setText(ctx_.texts(ParamText::RecipeIs) + name);
    recipeLabels_[1]->hide();
    showRecipeTables(true);
    recipeGlobalTable_->fill(selected_);
    recipeZoneTable_->fill(selected_);
    CompareRecipes();
}

void ParameterView::CompareRecipes() {
    const QString suffix = ctx_.texts(ParamText::NotCurrent);
    QString caption = window()->windowTitle();
    const bool differ = IsRecipeDiffer(ctx_);
    if (tabs_->currentIndex() == kTabRecipes) send_->setEnabled(differ && !recipes_->current().isEmpty());
    if (recipes_->current().isEmpty()) return;  // the caption names no recipe yet
    if (differ && !caption.contains(suffix)) caption += suffix;
    else if (!differ && caption.endsWith(suffix)) caption.chop(suffix.size());
    window()->setWindowTitle(caption);
}

bool ParameterView::loadRecipeNamed(const QString& name) {
    bool loaded = false;
    guarded(ctx_.errors, kModule, QStringLiteral("doLoadRecipe"), [&] {
        const QString checked = recipes_->checkedName(name);
        if (checked.isEmpty()) return;
        readAllIfNeeded();
        loaded = recipes_->doLoadRecipe(checked);
        if (loaded) afterLoadOrSave(checked);
    });
    return loaded;
}

bool ParameterView::saveRecipeNamed(const QString& entered) {
    bool saved = false;
    guarded(ctx_.errors, kModule, QStringLiteral("doSaveRecipe"), [&] {
        const QString name = recipes_->checkedName(entered);
        if (name.isEmpty() || recipes_->askOverwrite(name) != RecipeBook::Overwrite::Store) return;
        readAllIfNeeded();
        saved = recipes_->doSaveRecipe(name);
        if (saved) afterLoadOrSave(name);
    });
    return saved;
}

void ParameterView::cmdLoadSaveRecipe_Click(int index) {
    if (busyDepth_ > 0 || reader_->busy() || sender_->busy()) return;  // a transfer runs
    guarded(ctx_.errors, kModule, QStringLiteral("cmdLoadSaveRecipe_Click"), [&] {
        readAllIfNeeded();
        if (index == 0) {
            const QString name = chooseRecipe(false);
            if (!name.isEmpty() && recipes_->doLoadRecipe(name)) afterLoadOrSave(name);
            return;
        }
        QString name;
        while (true) {
            name = chooseRecipe(true);
            if (name.isEmpty()) return;
            const RecipeBook::Overwrite answer = recipes_->askOverwrite(name);
            if (answer == RecipeBook::Overwrite::Stop) return;
            if (answer == RecipeBook::Overwrite::Store) break;
        }
        if (recipes_->doSaveRecipe(name)) afterLoadOrSave(name);
    });
}

void ParameterView::cmdSend_Click() {
    if (tabs_->currentIndex() != kTabRecipes || busyDepth_ > 0 || reader_->busy() || sender_->busy()) return;
    guarded(ctx_.errors, kModule, QStringLiteral("cmdSend_Click"), [&] {
        const SendOutcome out = sender_->sendChangedParam(selected_);
        recipeGlobalTable_->fill(selected_);
        recipeZoneTable_->fill(selected_);
        CompareRecipes();
        if (out.heldBack > 0)
            tellOperator(ctx_.op, ctx_.texts, ctx_.texts(ParamText::HeldBack) + QString::number(out.heldBack));
    });
}

void ParameterView::setStatus(const QString& text) { status_->setText(text); }

void ParameterView::setProgress(int percent) { progressBar_->setValue(percent); }

void ParameterView::setBusy(bool busy) {
    // Commands may nest (boost's writes inside its switch): the outermost one counts.
    if (!busy && busyDepth_ == 0) return;
    busyDepth_ += busy ? 1 : -1;
    if (busy && busyDepth_ == 1) {
        timer2_->stop();
        input_->setEnabled(false);
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (!busy && busyDepth_ == 0) {
        input_->setEnabled(true);
        QApplication::restoreOverrideCursor();
        if (isVisible() && tabs_->currentIndex() == kTabInput) Enable_Timer2(true);
    }
}

}  // namespace zev
