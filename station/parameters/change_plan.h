// What a loaded recipe wants that the controllers do not hold: the zone
// parameters, the zones' operating modes and the global parameters whose
// target differs from the value last read or written. The comparison
// (IsRecipeDiffer) and the sending (ParameterSender) both take it from here.
#pragma once

#include <vector>

namespace zev {

struct AppContext;
struct ZoneRecord;

struct ZoneParameterChange {
    int zone = 0;
    int parameter = 0;      // 1..28
    int target = 0;
    bool sendable = true;   // inside the parameter's Min..Max
};
struct ModeChange {
    int zone = 0;
    int mode = 0;           // 0, 1 or 2
};
struct GlobalChange {
    int index = 0;          // into GlobalParameters
    int target = 0;
    bool sendable = true;   // inside Min..Max
};

struct ChangePlan {
    std::vector<ZoneParameterChange> parameters;  // zone order, parameters 1..28 within a zone
    std::vector<ModeChange> modes;                 // zone order
    std::vector<GlobalChange> globals;
    int count() const { return static_cast<int>(parameters.size() + modes.size() + globals.size()); }
    bool empty() const { return count() == 0; }
};

// The mode a zone's recipe entry wants: 0, 1 or 2, and manual never for a
// monitor zone; false for anything else (no wish).
bool wantsMode(const ZoneRecord& zone);
// The mode a recipe takes over from a zone: its mode when its status is known,
// otherwise no wish (an unknown status reads as mode 0, which would switch the
// zone off when the recipe is sent).
int modeWishOf(const ZoneRecord& zone);

// The changes for the zones marked in `zones` (index = zone; every zone when
// empty) and every global parameter. Only writable parameters count; a target
// of no value never does.
ChangePlan planChanges(const AppContext& ctx, const std::vector<bool>& zones = {});
bool IsRecipeDiffer(const AppContext& ctx);

}  // namespace zev
