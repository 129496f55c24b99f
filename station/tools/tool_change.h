// What the tool change does beside the link: the check of the process
// pictures against the zones on the line.
#pragma once

namespace zev {

struct AppContext;

// Warns once (text 1418) when a picture layout of the active tool refers to a
// zone above `highestZone`; true when it warned.
bool CheckBiggerIniZone(AppContext& ctx, int highestZone);

}  // namespace zev
