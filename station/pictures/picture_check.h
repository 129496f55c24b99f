// CheckBiggerIniZone: after the identification and after a tool change, the
// operator hears once when a picture of the tool shows a zone the connected
// controllers do not have (those values stay empty until they do).
#pragma once

namespace zev {

struct AppContext;

// Reads the value zones of every layout in the tool's picture directory, each
// up to its first missing or 0 zone; true when one lies above highestZone
// (text 1418 has then been shown).
bool CheckBiggerIniZone(AppContext& ctx, int highestZone);

}  // namespace zev
