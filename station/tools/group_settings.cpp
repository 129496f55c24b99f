#include "tools/group_settings.h"

#include "base/app_context.h"
#include "base/ini_values.h"
#include "base/notification_hub.h"
#include "base/settings.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/operator.h"
#include "support/texts.h"
#include "support/user_levels.h"
#include "tools/groups.h"

namespace zev {

namespace {
constexpr int kLevelLook = 2;      // name, colour, use, lock, defaults
constexpr int kLevelSettings = 3;  // the numeric settings
constexpr int kTextNamePrompt = 289;
constexpr int kTextYes = 349, kTextNo = 350, kTextLocked = 351;
constexpr int kTextBoostTimePrompt = 299, kTextDiagPowerPrompt = 300, kTextDiagTimePrompt = 301;
constexpr int kTextStartTempPrompt = 303, kTextBoostPowerPrompt = 314, kTextBoostPowerFor = 315;
constexpr int kTextSecondsBoost = 324, kTextSecondsDiag = 325;

const QString kAllGroups = QStringLiteral("ALLGROUPS");

QString section(int group) { return QStringLiteral("GROUP_") + threeDigits(group); }

bool validGroup(int group) { return group >= 1 && group <= kGroupCount; }
}  // namespace

SettingRange settingRange(GroupSetting setting, const QString& temperatureUnit) {
    switch (setting) {
    case GroupSetting::DiagTime: return {10, 300};
    case GroupSetting::DiagPower: return {1, 100};
    case GroupSetting::BoostPower: return {0, 300};
    case GroupSetting::BoostTime: return {1, 999};
    case GroupSetting::StartTemp:
        return temperatureUnit == QStringLiteral("°F") ? SettingRange{70, 250} : SettingRange{20, 120};
    }
    return {0, 0};
}

bool isCommonSetting(GroupSetting setting) {
    return setting == GroupSetting::BoostTime || setting == GroupSetting::StartTemp;
}

bool GroupSettings::store(int group, const QString& key, const QString& value) {
    return ctx_.settings.SetIni(section(group), key, value, ctx_.tool.ToolIni);
}

bool GroupSettings::storeCommon(const QString& key, const QString& value) {
    return ctx_.settings.SetIni(kAllGroups, key, value, ctx_.tool.ToolIni);
}

bool GroupSettings::changeName(int group) {
    if (!validGroup(group) || !ctx_.users.CheckLevel(kLevelLook)) return false;
    GroupRecord& g = ctx_.tool.Groups[static_cast<std::size_t>(group)];
    const auto name = ctx_.op.enterText(ctx_.texts(kTextNamePrompt), g.Name);
    if (!name || name->trimmed().isEmpty()) return false;  // a group keeps a name it can be found by
    QString stored = *name;
    if (!ctx_.settings.SetIni(section(group), QStringLiteral("NAME"), stored, ctx_.tool.ToolIni)) return false;
    g.Name = stored.trimmed();
    ctx_.hub.post(Msg::GroupNamesChanged);
    return true;
}

bool GroupSettings::changeColour(int group) {
    if (!validGroup(group) || !ctx_.users.CheckLevel(kLevelLook)) return false;
    GroupRecord& g = ctx_.tool.Groups[static_cast<std::size_t>(group)];
    const auto colour = ctx_.op.chooseColour(ctx_.texts(513), g.Color);
    if (!colour) return false;
    const std::uint32_t c = *colour & 0xFFFFFF;
    if (!store(group, QStringLiteral("COLOR"), QString::number(c))) return false;
    g.Color = c;
    g.TextColor = GetContrast(c);
    ctx_.hub.post(Msg::GroupColoursChanged);
    return true;
}

bool GroupSettings::toggleUse(int group) {
    if (!validGroup(group) || !ctx_.users.CheckLevel(kLevelLook)) return false;
    GroupRecord& g = ctx_.tool.Groups[static_cast<std::size_t>(group)];
    if (!store(group, QStringLiteral("USE"), boolText(!g.Use))) return false;
    g.Use = !g.Use;
    ctx_.hub.post(Msg::GroupUseChanged);
    return true;
}

bool GroupSettings::toggleLock(int group) {
    if (!validGroup(group) || !ctx_.users.CheckLevel(kLevelLook)) return false;
    GroupRecord& g = ctx_.tool.Groups[static_cast<std::size_t>(group)];
    if (!store(group, QStringLiteral("LOCK_W"), boolText(!g.Lock_W))) return false;
    g.Lock_W = !g.Lock_W;
    return true;
}

bool GroupSettings::restoreDefaults() {
    if (!ctx_.users.CheckLevel(kLevelLook)) return false;
    const QString prefix = defaultGroupPrefix(ctx_);
    bool stored = true;
    {
        Settings::Batch batch(ctx_.settings);  // one write of the file for all 8 groups
        for (int n = 1; n <= kGroupCount; ++n) {
            GroupRecord& g = ctx_.tool.Groups[static_cast<std::size_t>(n)];
            g.Name = prefix + QString::number(n);
            g.Color = defaultGroupColour(n);
            g.TextColor = GetContrast(g.Color);
            g.Use = true;
            g.Lock_W = false;
            g.StartTemp = 100;
            g.DiagTime = 180;
            g.DiagPower = 60;
            g.BoostTime = 120;
            g.BoostPower = 15;
            store(n, QStringLiteral("NAME"), g.Name);
            store(n, QStringLiteral("COLOR"), QString::number(g.Color));
            store(n, QStringLiteral("USE"), boolText(true));
            store(n, QStringLiteral("LOCK_W"), boolText(false));
            store(n, QStringLiteral("DIAGTIME"), QStringLiteral("180"));
            store(n, QStringLiteral("DIAGPOWER"), QStringLiteral("60"));
            store(n, QStringLiteral("BOOSTPOWER"), QStringLiteral("15"));
        }
        storeCommon(QStringLiteral("STARTTEMP"), QStringLiteral("100"));
        storeCommon(QStringLiteral("BOOSTTIME"), QStringLiteral("120"));
        stored = batch.finish();
    }
    ctx_.hub.post(Msg::GroupNamesChanged);
    ctx_.hub.post(Msg::GroupColoursChanged);
    ctx_.hub.post(Msg::GroupUseChanged);
    return stored;
}

QString GroupSettings::entryPrompt(GroupSetting setting, int group) const {
    Texts& t = ctx_.texts;
    const QString& name = ctx_.tool.Groups[static_cast<std::size_t>(group)].Name;
    switch (setting) {
    case GroupSetting::DiagTime: return t(kTextDiagTimePrompt) + name + QStringLiteral(" [s]");
    case GroupSetting::DiagPower: return t(kTextDiagPowerPrompt) + name + QStringLiteral(" [%]");
    case GroupSetting::BoostPower: return t(kTextBoostPowerPrompt) + QStringLiteral("K") + t(kTextBoostPowerFor) + name;
    case GroupSetting::BoostTime: return t(kTextBoostTimePrompt);
    case GroupSetting::StartTemp: return t(kTextStartTempPrompt);
    }
    return {};
}

bool GroupSettings::editSetting(GroupSetting setting, int group) {
    if (!validGroup(group) || !ctx_.users.CheckLevel(kLevelSettings)) return false;
    const SettingRange r = settingRange(setting, ctx_.plant.TemperatureUnit);
    GroupRecord& g = ctx_.tool.Groups[static_cast<std::size_t>(group)];
    std::int16_t* field = nullptr;
    QString key;
    switch (setting) {
    case GroupSetting::DiagTime: field = &g.DiagTime; key = QStringLiteral("DIAGTIME"); break;
    case GroupSetting::DiagPower: field = &g.DiagPower; key = QStringLiteral("DIAGPOWER"); break;
    case GroupSetting::BoostPower: field = &g.BoostPower; key = QStringLiteral("BOOSTPOWER"); break;
    case GroupSetting::BoostTime: field = &g.BoostTime; key = QStringLiteral("BOOSTTIME"); break;
    case GroupSetting::StartTemp: field = &g.StartTemp; key = QStringLiteral("STARTTEMP"); break;
    }
    const NumberEntry entry = ctx_.op.enterNumber(entryPrompt(setting, group), r.min, r.max, *field, false);
    // The pad refuses values out of range; a value that still arrives out of it is not stored.
    if (entry.result != 1 || entry.value < r.min || entry.value > r.max) return false;
    const QString text = QString::number(entry.value);
    if (isCommonSetting(setting)) {
        if (!storeCommon(key, text)) return false;
        for (int n = 1; n <= kGroupCount; ++n) {
            GroupRecord& each = ctx_.tool.Groups[static_cast<std::size_t>(n)];
            (setting == GroupSetting::BoostTime ? each.BoostTime : each.StartTemp) =
                static_cast<std::int16_t>(entry.value);
        }
        return true;
    }
    if (!store(group, key, text)) return false;
    *field = static_cast<std::int16_t>(entry.value);
    return true;
}

QString GroupSettings::useText(int group) const {
    return ctx_.texts(ctx_.tool.Groups[static_cast<std::size_t>(group)].Use ? kTextYes : kTextNo);
}

QString GroupSettings::lockText(int group) const {
    return ctx_.tool.Groups[static_cast<std::size_t>(group)].Lock_W ? ctx_.texts(kTextLocked) : QStringLiteral("-");
}

QString GroupSettings::settingText(GroupSetting setting, int group) const {
    const GroupRecord& g = ctx_.tool.Groups[static_cast<std::size_t>(group)];
    switch (setting) {
    case GroupSetting::DiagTime: return QString::number(g.DiagTime) + ctx_.texts(kTextSecondsDiag);
    case GroupSetting::DiagPower: return QString::number(g.DiagPower) + QStringLiteral(" %");
    case GroupSetting::BoostPower: return QStringLiteral("+ ") + QString::number(g.BoostPower) + QStringLiteral(" K");
    case GroupSetting::BoostTime: return QString::number(g.BoostTime) + ctx_.texts(kTextSecondsBoost);
    case GroupSetting::StartTemp:
        return QStringLiteral("< ") + QString::number(g.StartTemp) + QLatin1Char(' ') + ctx_.plant.TemperatureUnit;
    }
    return {};
}

}  // namespace zev
