// Grid_Recipe: a zone parameter table (one row per parameter 1..28, one column
// per selected zone headed by the zone's name in its group's colours) or the
// global recipe table (one row per global parameter). On the recipe tab the
// cells show what the recipe wants, on the zone parameter tab what the
// controllers hold (table_rules.h).
#pragma once

#include <QTableWidget>
#include <vector>

namespace zev {

struct AppContext;

class ParameterTable final : public QTableWidget {
    Q_OBJECT
public:
    enum class Kind { ZoneRecipe, ZoneValues, GlobalRecipe };
    ParameterTable(AppContext& ctx, Kind kind, const QString& objectName, QWidget* parent = nullptr);

    // FormatTable and FillValuesParameterTable for the selected zones.
    void fill(const std::vector<bool>& SelectedZones);
    // The zones of the columns, in column order (column 1 is the first zone).
    const std::vector<int>& zones() const { return zones_; }

signals:
    // A click on the row of zone parameter p (1..28).
    void parameterClicked(int parameter);

private:
    AppContext& ctx_;
    Kind kind_;
    std::vector<int> zones_;
};

}  // namespace zev
