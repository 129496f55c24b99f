#include "parameters/forms/parameter_table.h"

#include "parameters/parameter_texts.h"
#include "parameters/table_rules.h"
#include "base/app_context.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "widgets/touch_style.h"
#include "support/texts.h"
#include "widgets/display_rules.h"

#include <QHeaderView>

namespace zev {

namespace {
QTableWidgetItem* cell(const CellLook& look) {
    auto* item = new QTableWidgetItem(look.text);
    item->setBackground(look::fromPlatform(look.back));
    item->setForeground(Qt::black);
    item->setTextAlignment(Qt::AlignCenter);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}

QTableWidgetItem* title(const QString& text, const QColor& back = QColor(0xE0, 0xE0, 0xE0), const QColor& fore = Qt::black) {
    auto* item = new QTableWidgetItem(text);
    item->setBackground(back);
    item->setForeground(fore);
    item->setFlags(Qt::ItemIsEnabled);
    return item;
}
}  // namespace

ParameterTable::ParameterTable(AppContext& ctx, Kind kind, const QString& objectName, QWidget* parent)
    : QTableWidget(parent), ctx_(ctx), kind_(kind) {
    setObjectName(objectName);
    setAccessibleName(objectName);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setCornerButtonEnabled(false);
    setFont(touch::captionFont());
    verticalHeader()->setDefaultSectionSize(30);
    connect(this, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (kind_ != Kind::GlobalRecipe && row >= 1 && row <= kZoneParameterCount) emit parameterClicked(row);
    });
}

void ParameterTable::fill(const std::vector<bool>& sel) {
    setUpdatesEnabled(false);
    clearContents();
    zones_.clear();
    if (kind_ == Kind::GlobalRecipe) {
        const auto& globals = ctx_.driver.GlobalParameters;
        setColumnCount(2);
        setRowCount(static_cast<int>(globals.size()) + 1);
        setItem(0, 0, title(ctx_.texts(ParamText::RecordParameter)));
        setItem(0, 1, title(QString()));
        for (int g = 0; g < static_cast<int>(globals.size()); ++g) {
            const GlobalParameter& p = globals[static_cast<std::size_t>(g)];
            setItem(g + 1, 0, title(p.Name));
            setItem(g + 1, 1, cell(recipeCell(p.Value, p.Target, p.Writable)));
        }
    } else {
        for (std::size_t z = 1; z < sel.size() && static_cast<int>(z) <= ctx_.plant.ZoneCount; ++z)
            if (sel[z]) zones_.push_back(static_cast<int>(z));
        setColumnCount(static_cast<int>(zones_.size()) + 1);
        setRowCount(kZoneParameterCount + 1);
        setItem(0, 0, title(ctx_.texts(ParamText::RecordParameter)));
        for (int c = 0; c < static_cast<int>(zones_.size()); ++c) {
            const ZoneRecord& zone = ctx_.plant.zone(zones_[static_cast<std::size_t>(c)]);
            const GroupRecord& group = ctx_.tool.Groups[std::min<std::size_t>(zone.Group, kGroupCount)];
            setItem(0, c + 1, title(zone.Name, look::fromPlatform(zone.Group == 0 ? 0xE0E0E0u : group.Color),
                                    look::fromPlatform(zone.Group == 0 ? 0u : group.TextColor)));
        }
        for (int p = 1; p <= kZoneParameterCount; ++p) {
            const ZoneParameter& param = ctx_.driver.ZoneParameters[static_cast<std::size_t>(p)];
            setItem(p, 0, title(param.Name));
            // A parameter the controller type does not have is not shown.
            setRowHidden(p, param.Min == -2 && param.Max == -2);
            for (int c = 0; c < static_cast<int>(zones_.size()); ++c) {
                const auto z = static_cast<std::size_t>(zones_[static_cast<std::size_t>(c)]);
                setItem(p, c + 1, cell(kind_ == Kind::ZoneRecipe ? recipeCell(param.Value[z], param.Target[z], param.Writable)
                                                                 : valueCell(param.Value[z], param.Writable)));
            }
        }
    }
    resizeColumnsToContents();
    for (int c = 1; c < columnCount(); ++c) setColumnWidth(c, std::max(70, columnWidth(c) + 8));
    setUpdatesEnabled(true);
}

}  // namespace zev
