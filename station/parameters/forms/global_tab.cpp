#include "parameters/forms/global_tab.h"

#include "parameters/forms/lock_picture.h"
#include "parameters/parameter_texts.h"
#include "parameters/table_rules.h"
#include "base/app_context.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "widgets/touch_style.h"
#include "support/texts.h"
#include "support/user_levels.h"
#include "widgets/display_rules.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace zev {

namespace {
constexpr int kWhiteAfterMs = 600;

void setCell(QTableWidget* grid, int row, int col, const CellLook& look) {
    auto* item = new QTableWidgetItem(look.text);
    item->setBackground(look::fromPlatform(look.back));
    item->setForeground(Qt::black);
    item->setTextAlignment(Qt::AlignCenter);
    item->setFlags(Qt::ItemIsEnabled);
    grid->setItem(row, col, item);
}
}  // namespace

GlobalTab::GlobalTab(AppContext& ctx, QWidget* parent) : QWidget(parent), ctx_(ctx) {
    setObjectName(QStringLiteral("tabGlobals"));
    auto* layout = new QVBoxLayout(this);
    grid_ = new QTableWidget(this);
    grid_->setObjectName(QStringLiteral("gridParaGlob"));
    grid_->setAccessibleName(QStringLiteral("gridParaGlob"));
    grid_->setFont(touch::captionFont());
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setDefaultSectionSize(36);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setSelectionMode(QAbstractItemView::NoSelection);
    grid_->setCornerButtonEnabled(false);
    grid_->setIconSize(QSize(24, 24));
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (row < static_cast<int>(ctx_.driver.GlobalParameters.size())) emit rowClicked(row);
    });
    layout->addWidget(grid_, 1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    factory_ = new QPushButton(ctx.texts(ParamText::FactorySettings), this);
    factory_->setObjectName(QStringLiteral("Command3"));
    factory_->setAccessibleName(QStringLiteral("Command3"));
    touch::makeTouchButton(factory_);
    connect(factory_, &QPushButton::clicked, this, &GlobalTab::factoryClicked);
    row->addWidget(factory_);
    layout->addLayout(row);
    white_ = new QTimer(this);
    white_->setSingleShot(true);
    white_->setInterval(kWhiteAfterMs);
    connect(white_, &QTimer::timeout, this, &GlobalTab::backToWhite);
    connect(&ctx.users, &UserLevels::levelChanged, this, [this] { LevelCheck_gridParaGlob(); });
}

void GlobalTab::build() {
    masters_ = masterControllers(ctx_);
    const auto& globals = ctx_.driver.GlobalParameters;
    const auto& infos = ctx_.driver.DriverInfos;
    grid_->clear();
    grid_->setColumnCount(static_cast<int>(masters_.size()) + 1);
    grid_->setRowCount(static_cast<int>(globals.size() + (infos.empty() ? 0 : infos.size() + 1)));
    QStringList headers{ctx_.texts(ParamText::RecordParameter)};
    for (int d : masters_) headers << ctx_.texts(ParamText::CabinetHeader) + QString::number(d);
    grid_->setHorizontalHeaderLabels(headers);
    for (int g = 0; g < static_cast<int>(globals.size()); ++g) {
        const GlobalParameter& p = globals[static_cast<std::size_t>(g)];
        auto* name = new QTableWidgetItem(p.Name);
        name->setFlags(Qt::ItemIsEnabled);
        grid_->setItem(g, 0, name);
        for (int c = 1; c <= static_cast<int>(masters_.size()); ++c) setCell(grid_, g, c, valueCell(p.Value, p.Writable));
    }
    // The driver's information rows below the parameters.
    int row = static_cast<int>(globals.size());
    if (!infos.empty()) {
        auto* heading = new QTableWidgetItem(ctx_.texts(ParamText::Information));
        heading->setFlags(Qt::ItemIsEnabled);
        heading->setBackground(look::fromPlatform(CellColour::Grey));
        grid_->setItem(row++, 0, heading);
        for (const DriverInfo& info : infos) {
            auto* caption = new QTableWidgetItem(info.Caption);
            caption->setFlags(Qt::ItemIsEnabled);
            grid_->setItem(row, 0, caption);
            auto* text = new QTableWidgetItem(info.Text);
            text->setFlags(Qt::ItemIsEnabled);
            grid_->setItem(row++, 1, text);
        }
    }
    grid_->resizeColumnsToContents();
    grid_->setColumnWidth(0, std::min(grid_->columnWidth(0) + 30, 420));
    LevelCheck_gridParaGlob();
}

void GlobalTab::showValues(const std::vector<std::vector<int>>& columns) {
    const auto& globals = ctx_.driver.GlobalParameters;
    for (int c = 0; c < static_cast<int>(columns.size()) && c < static_cast<int>(masters_.size()); ++c)
        for (int g = 0; g < static_cast<int>(globals.size()) && g < static_cast<int>(columns[static_cast<std::size_t>(c)].size()); ++g)
            setCell(grid_, g, c + 1, valueCell(columns[static_cast<std::size_t>(c)][static_cast<std::size_t>(g)],
                                               globals[static_cast<std::size_t>(g)].Writable));
}

void GlobalTab::showWrite(int g, int value, const std::vector<GlobalCellResult>& cells) {
    for (const GlobalCellResult& cell : cells) {
        const auto it = std::find(masters_.begin(), masters_.end(), cell.address);
        if (it == masters_.end()) continue;
        const int col = static_cast<int>(it - masters_.begin()) + 1;
        setCell(grid_, g, col, cell.acknowledged ? CellLook{QString::number(value), CellColour::Green}
                                                 : CellLook{QString(), CellColour::Red});
    }
    white_->start();
}

void GlobalTab::backToWhite() {
    for (int r = 0; r < grid_->rowCount(); ++r)
        for (int c = 1; c < grid_->columnCount(); ++c)
            if (QTableWidgetItem* item = grid_->item(r, c)) {
                const QColor back = item->background().color();
                if (back == look::fromPlatform(CellColour::Green) || back == look::fromPlatform(CellColour::Red))
                    item->setBackground(look::fromPlatform(CellColour::White));
            }
}

void GlobalTab::LevelCheck_gridParaGlob() {
    const auto& globals = ctx_.driver.GlobalParameters;
    const int level = ctx_.users.UserLevel();
    const QIcon lock(lockPicture(24));
    for (int g = 0; g < static_cast<int>(globals.size()) && g < grid_->rowCount(); ++g) {
        const GlobalParameter& p = globals[static_cast<std::size_t>(g)];
        const bool locked = p.Level > level && !ctx_.users.LevelPassword(p.Level).isEmpty();
        if (QTableWidgetItem* item = grid_->item(g, 0)) item->setIcon(locked ? lock : QIcon());
    }
}

}  // namespace zev
