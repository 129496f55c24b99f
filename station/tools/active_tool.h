// Loading of the active tool: paths, directories, the group table and the zone
// names, groups and wiring from the tool's SETTINGS.INI.
#pragma once

#include <QString>

namespace zev {

struct AppContext;

// A tool name is a plain directory name: no separators, not "." or "..".
bool isValidToolName(const QString& name);

void LoadActiveTool(AppContext& ctx);

}  // namespace zev
