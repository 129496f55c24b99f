#include "widgets/zone_selection_panel.h"

#include "base/app_context.h"
#include "base/notification_hub.h"
#include "widgets/touch_style.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

#include <QCheckBox>
#include <QColor>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace zev {

namespace {
constexpr int kMaxCaptionWidth = 140;  // pixels of a group box's caption
const QString kBoxStyle = QStringLiteral(
    "QCheckBox { padding: 4px; border-radius: 4px; background-color: %1; color: %2; }"
    "QCheckBox::indicator { width: 30px; height: 30px; }");

QString colourName(std::uint32_t bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF))
        .name();
}
}  // namespace

ZoneSelectionPanel::ZoneSelectionPanel(AppContext& ctx, QWidget* parent, int columns) : QWidget(parent), ctx_(ctx) {
    columns = std::max(1, columns);
    setObjectName(QStringLiteral("zoneSelection"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    for (int i = 0; i < kSelectionBoxCount; ++i) {
        auto* box = new QCheckBox(this);
        box->setObjectName(QStringLiteral("chkGroup%1").arg(i));
        box->setAccessibleName(box->objectName());
        box->setFont(touch::captionFont());
        box->setMinimumHeight(40);
        box->setChecked(i != kSelectionBox);  // every zone at first: the list hides nothing
        connect(box, &QCheckBox::toggled, this, &ZoneSelectionPanel::selectionChanged);
        groups_[static_cast<std::size_t>(i)] = box;
    }
    // Groups 1..8 in order, then "without group" and "selection".
    const int order[kSelectionBoxCount] = {1, 2, 3, 4, 5, 6, 7, 8, 0, kSelectionBox};
    for (int k = 0; k < kSelectionBoxCount; ++k)
        grid->addWidget(groups_[static_cast<std::size_t>(order[k])], k / columns, k % columns);
    const int rows = (kSelectionBoxCount + columns - 1) / columns;

    auto* singleRow = new QHBoxLayout;
    single_ = new QCheckBox(this);
    single_->setObjectName(QStringLiteral("chkSingleZone"));
    single_->setAccessibleName(single_->objectName());
    single_->setFont(touch::captionFont());
    single_->setMinimumHeight(40);
    single_->setStyleSheet(QStringLiteral("QCheckBox::indicator { width: 30px; height: 30px; }"));
    single_->setToolTip(ctx.texts(TextNo::SingleZone));
    connect(single_, &QCheckBox::toggled, this, &ZoneSelectionPanel::selectionChanged);
    down_ = new QPushButton(QStringLiteral("-"), this);
    up_ = new QPushButton(QStringLiteral("+"), this);
    down_->setObjectName(QStringLiteral("cmdScrZone0"));
    up_->setObjectName(QStringLiteral("cmdScrZone1"));
    down_->setAccessibleName(down_->objectName());
    up_->setAccessibleName(up_->objectName());
    for (QPushButton* b : {down_, up_}) {
        b->setFont(touch::captionFont());
        b->setFixedSize(48, 44);
        b->setAutoRepeat(true);
    }
    connect(down_, &QPushButton::clicked, this, [this] { stepSingleZone(-1); });
    connect(up_, &QPushButton::clicked, this, [this] { stepSingleZone(1); });
    auto* caption = new QGroupBox(ctx.texts(TextNo::SingleZone), this);
    caption->setFont(touch::captionFont());
    caption->setLayout(singleRow);
    singleRow->addWidget(single_, 1);
    singleRow->addWidget(down_);
    singleRow->addWidget(up_);
    side_ = new QVBoxLayout;
    side_->setSpacing(4);
    side_->addWidget(caption);
    side_->addStretch(1);
    if (columns >= 4) grid->addLayout(side_, 0, columns, rows, 1);
    else grid->addLayout(side_, rows, 0, 1, columns);

    setSingleZone(1);
    showGroupNames();
    showGroupColours();
    showGroupUse();
    ctx.hub.subscribe(Msg::GroupAssignmentChanged, this, [this] { emit selectionChanged(); });
    ctx.hub.subscribe(Msg::GroupColoursChanged, this, [this] { showGroupColours(); });
    ctx.hub.subscribe(Msg::GroupNamesChanged, this, [this] { showGroupNames(); });
    ctx.hub.subscribe(Msg::GroupUseChanged, this, [this] {
        showGroupUse();
        emit selectionChanged();
    });
}

ZoneSelectionControls ZoneSelectionPanel::controls() const {
    ZoneSelectionControls c;
    for (int i = 0; i < kSelectionBoxCount; ++i)
        c.groupChecks[static_cast<std::size_t>(i)] = groups_[static_cast<std::size_t>(i)]->isChecked();
    c.singleZoneCheck = single_->isChecked();
    c.singleZone = singleZone_;
    return c;
}

int ZoneSelectionPanel::CheckSelZone(std::vector<bool>& SelectedZones) const {
    return zev::CheckSelZone(ctx_.plant, controls(), SelectedZones);
}

void ZoneSelectionPanel::setSingleZone(int zone) {
    const int last = std::max(1, ctx_.plant.ZoneCount);
    const int z = std::clamp(zone, 1, last);
    const bool changed = z != singleZone_;
    singleZone_ = z;
    single_->setText(QString::number(z));
    if (changed && single_->isChecked()) emit selectionChanged();
}

void ZoneSelectionPanel::addCommand(QWidget* command) { side_->addWidget(command); }

void ZoneSelectionPanel::stepSingleZone(int step) { setSingleZone(singleZone_ + step); }

void ZoneSelectionPanel::showGroupNames() {
    // A long group name ends in "..." on its box (the whole name is its tool
    // tip), so that any names keep the view within the panel's width.
    auto show = [](QCheckBox* box, const QString& name) {
        box->setText(box->fontMetrics().elidedText(name, Qt::ElideRight, kMaxCaptionWidth));
        box->setToolTip(name);
    };
    show(groups_[0], ctx_.texts(TextNo::WithoutGroup));
    show(groups_[kSelectionBox], ctx_.texts(TextNo::Selection));
    for (int g = 1; g <= kGroupCount; ++g)
        show(groups_[static_cast<std::size_t>(g)], ctx_.tool.Groups[static_cast<std::size_t>(g)].Name);
}

void ZoneSelectionPanel::showGroupColours() {
    for (int g = 0; g <= kGroupCount; ++g) {
        const GroupRecord& group = ctx_.tool.Groups[static_cast<std::size_t>(g)];
        groups_[static_cast<std::size_t>(g)]->setStyleSheet(
            kBoxStyle.arg(colourName(g == 0 ? 0xE0E0E0u : group.Color), colourName(g == 0 ? 0u : group.TextColor)));
    }
    groups_[kSelectionBox]->setStyleSheet(kBoxStyle.arg(QStringLiteral("palette(button)"), QStringLiteral("palette(button-text)")));
}

void ZoneSelectionPanel::showGroupUse() {
    // Boxes 0 and 9 are always there; a group box only while its group is in use.
    for (int g = 1; g <= kGroupCount; ++g)
        groups_[static_cast<std::size_t>(g)]->setVisible(ctx_.tool.Groups[static_cast<std::size_t>(g)].Use);
}

}  // namespace zev
