#include "tools/forms/group_settings_page.h"

#include "base/app_context.h"
#include "base/notification_hub.h"
#include "plant/tool_data.h"
#include "support/procedure.h"
#include "support/texts.h"
#include "tools/group_settings.h"
#include "widgets/group_look.h"
#include "widgets/touch_style.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zev {

namespace {
constexpr int kTextColumns[] = {516, 517, 518, 519, 520, 521, 522};
constexpr int kTextChangeName = 512, kTextChangeColour = 513, kTextDefaults = 514;
constexpr int kTextBoostTime = 523, kTextStartTemp = 524;
const QString kForm = QStringLiteral("frmConfig");

GroupSetting settingOf(int column) {
    switch (column) {
    case GroupSettingsPage::kColDiagTime: return GroupSetting::DiagTime;
    case GroupSettingsPage::kColDiagPower: return GroupSetting::DiagPower;
    default: return GroupSetting::BoostPower;
    }
}
}  // namespace

GroupSettingsPage::GroupSettingsPage(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("configPageGroups"));
    auto* layout = new QVBoxLayout(this);
    table_ = new QTableWidget(kGroupCount, kColCount, this);
    table_->setObjectName(QStringLiteral("MSFlexGrid1"));
    table_->setAccessibleName(ctx.texts(510));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setFont(touch::messageFont());
    table_->verticalHeader()->setDefaultSectionSize(44);
    // Long captions wrap at their blanks rather than being cut.
    table_->horizontalHeader()->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(kColName, QHeaderView::Stretch);
    QStringList headers;
    for (int n : kTextColumns) headers << ctx.texts(n);
    table_->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < kGroupCount; ++r) {
        for (int c = 0; c < kColCount; ++c) table_->setItem(r, c, new QTableWidgetItem);
        // The colour is a widget of its own, so the row's selection never hides it.
        auto* swatch = new QLabel(table_);
        swatch->setObjectName(QStringLiteral("lblGroupColour%1").arg(r + 1));
        table_->setCellWidget(r, kColColour, swatch);
    }
    table_->selectRow(0);
    connect(table_, &QTableWidget::cellClicked, this, &GroupSettingsPage::MSFlexGrid1_Click);
    layout->addWidget(table_, 1);

    auto* commons = new QHBoxLayout;
    boostTime_ = new QPushButton(this);
    boostTime_->setObjectName(QStringLiteral("cmdBoostTime"));
    startTemp_ = new QPushButton(this);
    startTemp_->setObjectName(QStringLiteral("cmdStartTemp"));
    for (QPushButton* b : {boostTime_, startTemp_}) {
        touch::makeTouchButton(b);
        commons->addWidget(b);
    }
    connect(boostTime_, &QPushButton::clicked, this, [this] {
        run(QStringLiteral("MSFlexGrid1_Click"), [this] { GroupSettings(ctx_).editSetting(GroupSetting::BoostTime, 1); });
    });
    connect(startTemp_, &QPushButton::clicked, this, [this] {
        run(QStringLiteral("MSFlexGrid1_Click"), [this] { GroupSettings(ctx_).editSetting(GroupSetting::StartTemp, 1); });
    });
    commons->addStretch(1);
    layout->addLayout(commons);

    auto* commands = new QHBoxLayout;
    const std::pair<int, void (GroupSettingsPage::*)()> buttons[] = {
        {kTextChangeName, &GroupSettingsPage::cmdChangeName_Click},
        {kTextChangeColour, &GroupSettingsPage::cmdChangeColor_Click},
        {kTextDefaults, &GroupSettingsPage::cmdDefaultGrpSettings_Click}};
    const char* names[] = {"cmdChangeName", "cmdChangeColor", "cmdDefaultGrpSettings"};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(ctx.texts(buttons[i].first), this);
        b->setObjectName(QString::fromLatin1(names[i]));
        touch::makeTouchButton(b);
        connect(b, &QPushButton::clicked, this, buttons[i].second);
        commands->addWidget(b);
    }
    commands->addStretch(1);
    layout->addLayout(commands);

    for (int msg : {Msg::GroupColoursChanged, Msg::GroupNamesChanged, Msg::GroupUseChanged})
        ctx.hub.subscribe(msg, this, [this] { RefreshGrpSettingsTable(); });
    RefreshGrpSettingsTable();
}

int GroupSettingsPage::chosenGroup() const { return std::max(0, table_->currentRow()) + 1; }

void GroupSettingsPage::run(const QString& procedure, const std::function<void()>& f) {
    guarded(ctx_.errors, kForm, procedure, f);
    RefreshGrpSettingsTable();
}

void GroupSettingsPage::cmdChangeName_Click() {
    run(QStringLiteral("cmdChangeName_Click"), [this] { GroupSettings(ctx_).changeName(chosenGroup()); });
}

void GroupSettingsPage::cmdChangeColor_Click() {
    run(QStringLiteral("cmdChangeColor_Click"), [this] { GroupSettings(ctx_).changeColour(chosenGroup()); });
}

void GroupSettingsPage::cmdDefaultGrpSettings_Click() {
    run(QStringLiteral("cmdDefaultGrpSettings_Click"), [this] { GroupSettings(ctx_).restoreDefaults(); });
}

void GroupSettingsPage::MSFlexGrid1_Click(int row, int column) {
    const int group = row + 1;
    table_->selectRow(row);
    switch (column) {
    case kColUse:
        run(QStringLiteral("chkUseGroup_MouseUp"), [&] { GroupSettings(ctx_).toggleUse(group); });
        break;
    case kColLock:
        run(QStringLiteral("chkLock_W_MouseUp"), [&] { GroupSettings(ctx_).toggleLock(group); });
        break;
    case kColDiagTime:
    case kColDiagPower:
    case kColBoostPower:
        run(QStringLiteral("MSFlexGrid1_Click"), [&] { GroupSettings(ctx_).editSetting(settingOf(column), group); });
        break;
    default: break;  // name and colour have their buttons
    }
}

void GroupSettingsPage::RefreshGrpSettingsTable() {
    GroupSettings s(ctx_);
    QStringList rows;
    for (int g = 1; g <= kGroupCount; ++g) {
        const int r = g - 1;
        rows << QString::number(g);
        table_->item(r, kColName)->setText(ctx_.tool.Groups[static_cast<std::size_t>(g)].Name);
        static_cast<QLabel*>(table_->cellWidget(r, kColColour))
            ->setStyleSheet(QStringLiteral("background-color: %1; margin: 4px;").arg(groupColour(ctx_, g).name()));
        table_->item(r, kColUse)->setText(s.useText(g));
        table_->item(r, kColLock)->setText(s.lockText(g));
        table_->item(r, kColDiagTime)->setText(s.settingText(GroupSetting::DiagTime, g));
        table_->item(r, kColDiagPower)->setText(s.settingText(GroupSetting::DiagPower, g));
        table_->item(r, kColBoostPower)->setText(s.settingText(GroupSetting::BoostPower, g));
    }
    table_->setVerticalHeaderLabels(rows);
    boostTime_->setText(ctx_.texts(kTextBoostTime) + QStringLiteral(": ") + s.settingText(GroupSetting::BoostTime, 1));
    startTemp_->setText(ctx_.texts(kTextStartTemp) + QStringLiteral(": ") + s.settingText(GroupSetting::StartTemp, 1));
}

}  // namespace zev
