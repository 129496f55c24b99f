// The group table of the active tool: group 0 ("without group") is fixed,
// groups 1..8 come from the tool's SETTINGS.INI with their defaults.
#pragma once

#include "plant/group_colours.h"

#include <QString>
#include <cstdint>
#include <optional>

namespace zev {

struct AppContext;

// "Gruppe " or "Group ", by the stored language choice.
QString defaultGroupPrefix(AppContext& ctx);
// A whole decimal number and nothing else (blanks around it allowed); nullopt
// for anything a hand edit or damage could leave.
std::optional<int> strictNumber(const QString& text);
// Fills group 0 and the defaults, then reads groups 1..8 from ToolIni.
// A stored value that is no number or lies outside the range its entry dialog
// accepts loads as its default (the file is left as it is).
void LoadGroups(AppContext& ctx);
// Zones whose group is not in use belong to group 0 (in memory only).
void releaseUnusedGroups(AppContext& ctx);

}  // namespace zev
