// The printouts of the parameter view: the global parameters (one column per
// master controller) and the zone parameters of the selected zones (one column
// per zone), with the tool, the recipe, the date, the temperature unit and page
// numbers. Wide tables are cut into tables of a page's width, each with the
// parameter names, and a table longer than a page repeats its header row.
#pragma once

#include "support/report.h"

#include <QStringList>
#include <vector>

namespace zev {

struct AppContext;

// recipe: the recipe loaded or saved last (empty: none). columns: the values
// of each master controller in GlobalParameters order (as read for the grid);
// a master without a column prints the store's value.
Report globalParameterPrintout(AppContext& ctx, const QString& recipe,
                               const std::vector<std::vector<int>>& columns = {});
Report zoneParameterPrintout(AppContext& ctx, const std::vector<bool>& SelectedZones, const QString& recipe);

}  // namespace zev
