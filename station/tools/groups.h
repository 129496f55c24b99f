// The group table of the active tool: group 0 ("without group") is fixed,
// groups 1..8 come from the tool's SETTINGS.INI with their defaults.
#pragma once

#include <cstdint>

namespace zev {

struct AppContext;

// Default colours of groups 1..8 (0xBBGGRR).
std::uint32_t defaultGroupColour(int group);
// Black or white text, whichever contrasts with the background colour.
std::uint32_t GetContrast(std::uint32_t colour);
// Fills group 0 and the defaults, then reads groups 1..8 from ToolIni.
void LoadGroups(AppContext& ctx);

}  // namespace zev
