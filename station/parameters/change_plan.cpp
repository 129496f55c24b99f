#include "parameters/change_plan.h"

#include "base/app_context.h"
#include "plant/driver.h"
#include "plant/zone_table.h"

namespace zev {

bool wantsMode(const ZoneRecord& zone) {
    if (zone.PrevMode < 0 || zone.PrevMode > 2) return false;
    return !(zone.PrevMode == 1 && zone.ModeFlag);
}

int modeWishOf(const ZoneRecord& zone) { return zone.StatusWord == kNoValue ? kNoValue : zone.Mode; }

ChangePlan planChanges(const AppContext& ctx, const std::vector<bool>& zones) {
    ChangePlan plan;
    const int count = std::min(ctx.plant.ZoneCount, kMaxZones);
    for (int z = 1; z <= count; ++z) {
        if (!zones.empty() && (static_cast<std::size_t>(z) >= zones.size() || !zones[static_cast<std::size_t>(z)])) continue;
        for (int p = 1; p <= kZoneParameterCount; ++p) {
            const ZoneParameter& param = ctx.driver.ZoneParameters[static_cast<std::size_t>(p)];
            const int target = param.Target[static_cast<std::size_t>(z)];
            if (!param.Writable || target == kNoValue || target == param.Value[static_cast<std::size_t>(z)]) continue;
            plan.parameters.push_back({z, p, target, target >= param.Min && target <= param.Max});
        }
        const ZoneRecord& zone = ctx.plant.zone(z);
        if (wantsMode(zone) && zone.PrevMode != zone.Mode) plan.modes.push_back({z, zone.PrevMode});
    }
    for (std::size_t i = 0; i < ctx.driver.GlobalParameters.size(); ++i) {
        const GlobalParameter& g = ctx.driver.GlobalParameters[i];
        if (!g.Writable || g.Target == kNoValue || g.Target == g.Value) continue;
        plan.globals.push_back({static_cast<int>(i), g.Target, g.Target >= g.Min && g.Target <= g.Max});
    }
    return plan;
}

bool IsRecipeDiffer(const AppContext& ctx) { return !planChanges(ctx).empty(); }

}  // namespace zev
