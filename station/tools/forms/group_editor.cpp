#include "tools/forms/group_editor.h"

#include "base/app_context.h"
#include "base/notification_hub.h"
#include "link/link_session.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/procedure.h"
#include "support/texts.h"
#include "tools/forms/zone_tile_board.h"
#include "tools/groups.h"
#include "tools/zone_names.h"
#include "widgets/group_look.h"
#include "widgets/touch_style.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zev {

namespace {
constexpr int kTextSelection = 215;
constexpr int kTextNames = 753, kTextNumbers = 756, kTextRename = 759;
const QString kForm = QStringLiteral("frmGroup");
}  // namespace

GroupEditor::GroupEditor(AppContext& ctx, QWidget* parent) : View(parent), ctx_(ctx) {
    setObjectName(kForm);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    board_ = new ZoneTileBoard(ctx, this);
    board_->setAccessibleName(ctx.texts(1390));
    board_->onTile = [this](int zone, bool first) { tile(zone, first); };
    layout->addWidget(board_, 1);

    auto* side = new QVBoxLayout;
    auto* choice = new QButtonGroup(this);
    for (int i = 0; i <= kSelectionOption; ++i) {
        auto* b = new QRadioButton(this);
        b->setObjectName(QStringLiteral("optSelGrp%1").arg(i));
        b->setMinimumHeight(40);
        choice->addButton(b, i);
        side->addWidget(b);
        options_[static_cast<std::size_t>(i)] = b;
    }
    options_[kSelectionOption]->setChecked(true);  // nothing is reassigned by a stray touch
    connect(choice, &QButtonGroup::idClicked, this, &GroupEditor::optSelGrp_Click);
    side->addSpacing(12);

    auto* view = new QButtonGroup(this);
    names_ = new QRadioButton(ctx.texts(kTextNames), this);
    names_->setObjectName(QStringLiteral("optZoneNameView0"));
    numbers_ = new QRadioButton(ctx.texts(kTextNumbers), this);
    numbers_->setObjectName(QStringLiteral("optZoneNameView1"));
    names_->setChecked(true);
    for (QRadioButton* b : {names_, numbers_}) {
        b->setMinimumHeight(40);
        view->addButton(b);
        side->addWidget(b);
    }
    connect(names_, &QRadioButton::clicked, this, [this] { optZoneNameView_Click(true); });
    connect(numbers_, &QRadioButton::clicked, this, [this] { optZoneNameView_Click(false); });

    rename_ = new QPushButton(ctx.texts(kTextRename), this);
    rename_->setObjectName(QStringLiteral("cmdRenameZones"));
    touch::makeTouchButton(rename_);
    connect(rename_, &QPushButton::clicked, this, &GroupEditor::cmdRenameZones_Click);
    side->addWidget(rename_);
    side->addStretch(1);
    layout->addLayout(side);

    for (int msg : {Msg::GroupColoursChanged, Msg::GroupNamesChanged, Msg::GroupUseChanged})
        ctx.hub.subscribe(msg, this, [this] { refreshOptions(); });
    ctx.hub.subscribe(Msg::ZoneNamesChanged, this, [this] { board_->update(); });
    if (ctx.link) connect(ctx.link, &LinkSession::zonesRebuilt, board_, qOverload<>(&QWidget::update));
    refreshOptions();
}

void GroupEditor::refreshOptions() {
    for (int i = 0; i <= kSelectionOption; ++i) {
        QRadioButton* b = options_[static_cast<std::size_t>(i)];
        if (i == kSelectionOption) {
            b->setText(ctx_.texts(kTextSelection));
            continue;
        }
        b->setText(groupCaption(ctx_, i));
        // Zones cannot join a group that is not in use: it shows without its colour.
        const bool usable = i == 0 || ctx_.tool.Groups[static_cast<std::size_t>(i)].Use;
        b->setEnabled(usable);
        b->setStyleSheet(usable ? QStringLiteral("QRadioButton { background-color: %1; color: %2; padding: 4px; }")
                                      .arg(groupColour(ctx_, i).name(), groupTextColour(ctx_, i).name())
                                : QStringLiteral("QRadioButton { padding: 4px; }"));
    }
    if (!options_[static_cast<std::size_t>(option_)]->isEnabled()) {
        option_ = kSelectionOption;
        options_[kSelectionOption]->setChecked(true);
    }
    board_->update();
}

void GroupEditor::optSelGrp_Click(int option) {
    if (option < 0 || option > kSelectionOption) return;
    option_ = option;
    options_[static_cast<std::size_t>(option)]->setChecked(true);
}

void GroupEditor::tile(int zone, bool first) {
    guarded(ctx_.errors, kForm, QStringLiteral("Picture1_MouseDown"), [&] {
        if (option_ == kSelectionOption) {
            ZoneRecord& z = ctx_.plant.zone(zone);
            if (first) markState_ = !z.Selected;
            z.Selected = markState_;
        } else if (ZoneEditing(ctx_).assignGroup(zone, option_)) {
            changed_ = true;
        }
    });
    board_->update(board_->tileRect(zone));
}

void GroupEditor::cmdRenameZones_Click() {
    guarded(ctx_.errors, kForm, QStringLiteral("cmdRenameZones_Click"),
            [&] { ZoneEditing(ctx_).renameMarkedZones(); });
}

void GroupEditor::optZoneNameView_Click(bool names) {
    guarded(ctx_.errors, kForm, QStringLiteral("optZoneNameView_Click"), [&] {
        (names ? names_ : numbers_)->setChecked(true);
        ZoneEditing(ctx_).showNames(names);
        rename_->setEnabled(names);
    });
}

bool GroupEditor::entering(int) {
    refreshOptions();
    return true;
}

void GroupEditor::leaving() {
    releaseUnusedGroups(ctx_);
    if (!changed_) return;
    changed_ = false;
    ctx_.hub.send(Msg::GroupAssignmentChanged);
}

}  // namespace zev
