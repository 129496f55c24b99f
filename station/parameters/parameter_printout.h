// The printouts of the parameter view: the global parameters (one column per
// master controller) and the zone parameters of the selected zones (one column
// per zone), with the tool, the date, the temperature unit and page numbers.
#pragma once

#include "support/report.h"

#include <QStringList>
#include <vector>

namespace zev {

struct AppContext;

Report globalParameterPrintout(AppContext& ctx);
Report zoneParameterPrintout(AppContext& ctx, const std::vector<bool>& SelectedZones);

}  // namespace zev
