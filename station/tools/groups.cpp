#include "tools/groups.h"

#include "base/app_context.h"
#include "base/ini_values.h"
#include "base/settings.h"
#include "support/texts.h"
#include "plant/tool_data.h"

namespace zev {

namespace {
constexpr std::uint32_t kDefaultColours[] = {0xFF8080, 0xFFFF80, 0x80FF80, 0x80FFFF,
                                             0x80C0FF, 0xC0E0FF, 0xC0FFC0, 0xFFC0C0};
constexpr int kMinDiagTime = 10;
}  // namespace

std::uint32_t defaultGroupColour(int group) {
    return group >= 1 && group <= 8 ? kDefaultColours[group - 1] : 0xE0E0E0;
}

std::uint32_t GetContrast(std::uint32_t colour) {
    const double r = colour & 0xFF, g = (colour >> 8) & 0xFF, b = (colour >> 16) & 0xFF;
    // Perceived brightness (ITU-R BT.601 weights).
    const double luma = 0.299 * r + 0.587 * g + 0.114 * b;
    return luma >= 140.0 ? 0x000000 : 0xFFFFFF;
}

void LoadGroups(AppContext& ctx) {
    auto& groups = ctx.tool.Groups;
    GroupRecord& none = groups[0];
    none = GroupRecord{};
    none.Name = QStringLiteral("GRP_0");
    none.Color = 0xE0E0E0;
    none.TextColor = GetContrast(none.Color);
    none.Use = false;
    none.DiagTime = 10;

    const QString prefix = ctx.texts.storedLanguage() == 1 ? QStringLiteral("Gruppe ")
                                                            : QStringLiteral("Group ");
    const QString& ini = ctx.tool.ToolIni;
    Settings& s = ctx.settings;
    for (int g = 1; g <= kGroupCount; ++g) {
        GroupRecord& r = groups[static_cast<std::size_t>(g)];
        const QString section = QStringLiteral("GROUP_") + threeDigits(g);
        r.Name = s.GetIni(section, QStringLiteral("NAME"), prefix + QString::number(g), ini);
        r.Color = static_cast<std::uint32_t>(boundedInt(
            s.GetIni(section, QStringLiteral("COLOR"), QString::number(defaultGroupColour(g)), ini),
            0, 0xFFFFFF));
        r.TextColor = GetContrast(r.Color);
        r.Use = boolValue(s.GetIni(section, QStringLiteral("USE"), QStringLiteral("True"), ini), true);
        r.Lock_W = boolValue(s.GetIni(section, QStringLiteral("LOCK_W"), QStringLiteral("False"), ini), false);
        r.StartTemp = static_cast<std::int16_t>(boundedInt(
            s.GetIni(QStringLiteral("ALLGROUPS"), QStringLiteral("STARTTEMP"), QStringLiteral("100"), ini),
            -32768, 32767));
        r.DiagTime = static_cast<std::int16_t>(std::max(
            kMinDiagTime,
            boundedInt(s.GetIni(section, QStringLiteral("DIAGTIME"), QStringLiteral("0"), ini), -32768, 32767)));
        r.DiagPower = static_cast<std::int16_t>(
            boundedInt(s.GetIni(section, QStringLiteral("DIAGPOWER"), QStringLiteral("60"), ini), -32768, 32767));
        r.BoostTime = static_cast<std::int16_t>(boundedInt(
            s.GetIni(QStringLiteral("ALLGROUPS"), QStringLiteral("BOOSTTIME"), QStringLiteral("120"), ini),
            -32768, 32767));
        r.BoostPower = static_cast<std::int16_t>(
            boundedInt(s.GetIni(section, QStringLiteral("BOOSTPOWER"), QStringLiteral("15"), ini), -32768, 32767));
    }
}

}  // namespace zev
