// The configuration commands on the group table: name, colour, use, setpoint
// lock, the default settings and the numeric settings with their ranges. Every
// change is stored in the tool's SETTINGS.INI at once and announced.
#pragma once

#include <QString>

namespace zev {

struct AppContext;

enum class GroupSetting { DiagTime, DiagPower, BoostPower, BoostTime, StartTemp };

struct SettingRange {
    int min;
    int max;
};

// The range the entry dialog accepts; the start temperature's depends on the unit.
SettingRange settingRange(GroupSetting setting, const QString& temperatureUnit);
// True for the settings that are one value for all groups.
bool isCommonSetting(GroupSetting setting);

class GroupSettings {
public:
    explicit GroupSettings(AppContext& ctx) : ctx_(ctx) {}

    // Each asks its user level first; false when refused, cancelled or not stored.
    bool changeName(int group);
    bool changeColour(int group);
    bool toggleUse(int group);
    bool toggleLock(int group);
    bool restoreDefaults();
    bool editSetting(GroupSetting setting, int group);

    // The texts of the settings table.
    QString useText(int group) const;
    QString lockText(int group) const;
    QString settingText(GroupSetting setting, int group) const;

private:
    bool store(int group, const QString& key, const QString& value);
    bool storeCommon(const QString& key, const QString& value);
    QString entryPrompt(GroupSetting setting, int group) const;

    AppContext& ctx_;
};

}  // namespace zev
