// The application context: the program's shared tables and values under their
// documented names, and the seams through which the modules reach the operator,
// the clock, the settings, the texts, the bus library and the operating system.
// The program builds one (shell/application.h); each test builds its own.
#pragma once

#include "link/driver.h"
#include "link/zone_table.h"
#include "tools/tool_data.h"

#include <QString>
#include <functional>

namespace zev {

class AlarmLog;
class BusLink;
class Clock;
class ErrorProtocol;
class EventPump;
class Lifecycle;
class NotificationHub;
class Operator;
class Platform;
class Printer;
class ProgressLine;
class Settings;
class Texts;
class UserLevels;

struct AppContext {
    // Seams.
    Settings& settings;
    Texts& texts;
    Operator& op;
    const Clock& clock;
    EventPump& pump;
    NotificationHub& hub;
    ErrorProtocol& errors;
    UserLevels& users;
    BusLink& bus;
    Platform& platform;
    Printer& printer;
    ProgressLine& progress;
    Lifecycle& lifecycle;

    // Shared state.
    QString programDir{};     // zev.ini, cmd.ini, ZEV3.ERR, TOOLS/, DRIVER/
    PlantData plant{};        // Zones, Controllers, ZoneCount, Online, TemperatureUnit ...
    ToolData tool{};          // ToolName, ToolDir, LogFileDir ..., Groups
    DriverData driver{};      // ZoneParameters, GlobalParameters, DriverLoaded ...
    int PortInitResult = 0;
    int BlinkPhase = 1;     // 1, 2, 3, 1, ... stepped by every tick of the clock timer
    // The alarm log (ErrLog) while the alarm view is loaded; null before InitForms
    // and after the views are unloaded.
    AlarmLog* alarmLog = nullptr;

    // Busy flags that keep long link operations from being entered twice.
    struct LinkFlags {
        bool checkDriverBusy = false;
        bool reliabilityCheckBusy = false;
    } linkFlags{};

    // Open the parameter view on a zone or a group (ShowSingleZone, ShowSingleGroup); empty until that view exists.
    std::function<void(int)> showSingleZone{};
    std::function<void(int)> showSingleGroup{};
    // Asked before the link stops (tool change, going offline, program end):
    // ends boost first; false refuses the stop. Empty: nothing to end.
    std::function<bool()> mayStopPlant{};
};

}  // namespace zev
