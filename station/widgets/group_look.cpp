#include "widgets/group_look.h"

#include "base/app_context.h"
#include "support/texts.h"
#include "plant/group_colours.h"
#include "widgets/display_rules.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

namespace zev {

namespace {
constexpr int kTextWithoutGroup = 214;

const GroupRecord& record(const AppContext& ctx, int group) {
    return ctx.tool.Groups[static_cast<std::size_t>(group >= 0 && group <= kGroupCount ? group : 0)];
}
}  // namespace

int shownGroup(const AppContext& ctx, int zone) {
    if (zone < 1 || zone > kMaxZones) return 0;
    const int g = ctx.plant.zone(zone).Group;
    return g >= 1 && g <= kGroupCount && ctx.tool.Groups[static_cast<std::size_t>(g)].Use ? g : 0;
}

QColor groupColour(const AppContext& ctx, int group) { return look::fromPlatform(record(ctx, group).Color); }

QColor groupTextColour(const AppContext& ctx, int group) {
    const GroupRecord& g = record(ctx, group);
    // A table filled without its text colour must not hide the zone numbers.
    return look::fromPlatform(g.TextColor != g.Color ? g.TextColor : GetContrast(g.Color));
}

QString groupCaption(AppContext& ctx, int group) {
    if (group < 1 || group > kGroupCount) return ctx.texts(kTextWithoutGroup);
    return record(ctx, group).Name;
}

}  // namespace zev
