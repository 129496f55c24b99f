#include "tools/groups.h"

#include "base/app_context.h"
#include "base/ini_values.h"
#include "base/settings.h"
#include "support/texts.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "tools/group_settings.h"

#include <algorithm>

namespace zev {

namespace {
constexpr int kMinDiagTime = 10;
}  // namespace

QString defaultGroupPrefix(AppContext& ctx) {
    return ctx.texts.storedLanguage() == 1 ? QStringLiteral("Gruppe ") : QStringLiteral("Group ");
}

std::optional<int> strictNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9) return std::nullopt;
    bool ok = false;
    const int v = t.toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return v;
}

namespace {
// A stored number inside [lo, hi], else the default.
std::int16_t rangedValue(const QString& text, int lo, int hi, int def) {
    const auto v = strictNumber(text);
    return static_cast<std::int16_t>(v && *v >= lo && *v <= hi ? *v : def);
}

std::int16_t settingValue(AppContext& ctx, const QString& section, const char* key, int def, GroupSetting which) {
    const SettingRange r = settingRange(which, ctx.plant.TemperatureUnit);
    const QString text = ctx.settings.GetIni(section, QString::fromLatin1(key), QString::number(def), ctx.tool.ToolIni);
    return rangedValue(text, r.min, r.max, def);
}
}  // namespace

void LoadGroups(AppContext& ctx) {
    auto& groups = ctx.tool.Groups;
    GroupRecord& none = groups[0];
    none = GroupRecord{};
    none.Name = QStringLiteral("GRP_0");
    none.Color = 0xE0E0E0;
    none.TextColor = GetContrast(none.Color);
    none.Use = false;
    none.DiagTime = 10;

    const QString prefix = defaultGroupPrefix(ctx);
    const QString& ini = ctx.tool.ToolIni;
    Settings& s = ctx.settings;
    const QString all = QStringLiteral("ALLGROUPS");
    const std::int16_t startTemp = settingValue(ctx, all, "STARTTEMP", 100, GroupSetting::StartTemp);
    const std::int16_t boostTime = settingValue(ctx, all, "BOOSTTIME", 120, GroupSetting::BoostTime);
    for (int g = 1; g <= kGroupCount; ++g) {
        GroupRecord& r = groups[static_cast<std::size_t>(g)];
        const QString section = QStringLiteral("GROUP_") + threeDigits(g);
        r.Name = s.GetIni(section, QStringLiteral("NAME"), prefix + QString::number(g), ini);
        const auto colour = strictNumber(
            s.GetIni(section, QStringLiteral("COLOR"), QString::number(defaultGroupColour(g)), ini));
        r.Color = colour && *colour >= 0 && *colour <= 0xFFFFFF ? static_cast<std::uint32_t>(*colour)
                                                                 : defaultGroupColour(g);
        r.TextColor = GetContrast(r.Color);
        r.Use = boolValue(s.GetIni(section, QStringLiteral("USE"), QStringLiteral("True"), ini), true);
        r.Lock_W = boolValue(s.GetIni(section, QStringLiteral("LOCK_W"), QStringLiteral("False"), ini), false);
        r.StartTemp = startTemp;
        // The key's default "0" and anything below 10 s load as 10 s, the shortest diagnosis.
        const auto diag = strictNumber(s.GetIni(section, QStringLiteral("DIAGTIME"), QStringLiteral("0"), ini));
        r.DiagTime = static_cast<std::int16_t>(diag && *diag >= 0 && *diag <= 300 ? std::max(kMinDiagTime, *diag)
                                                                                  : kMinDiagTime);
        r.DiagPower = settingValue(ctx, section, "DIAGPOWER", 60, GroupSetting::DiagPower);
        r.BoostTime = boostTime;
        r.BoostPower = settingValue(ctx, section, "BOOSTPOWER", 15, GroupSetting::BoostPower);
    }
}

void releaseUnusedGroups(AppContext& ctx) {
    for (int z = 1; z <= kMaxZones; ++z) {
        ZoneRecord& zone = ctx.plant.zone(z);
        if (zone.Group > kGroupCount || !ctx.tool.Groups[zone.Group].Use) zone.Group = 0;
    }
}

}  // namespace zev
