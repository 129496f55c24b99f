// The application context: the program's shared tables and values under their
// documented names, and the seams through which the modules reach the operator,
// the clock, the settings, the texts, the bus library and the operating system.
// The program builds one (shell/application.h); each test builds its own.
//
// The context sits on the lowest floor: it names the seams and the shared
// tables but includes none of them, so that it depends on nothing above it.
// Whoever builds it owns the tables and the link session it refers to.
#pragma once

#include <QString>

namespace zev {

class AlarmLog;
class BusLink;
class LinkSession;
class Navigation;
class PlantPublisher;
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
struct DriverData;
struct PlantData;
struct ToolData;

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
    Navigation& navigation;   // zone and group clicks asking to open the zone or group

    // Shared tables (plant/).
    PlantData& plant;         // Zones, Controllers, ZoneCount, TemperatureUnit ...
    ToolData& tool;           // ToolName, ToolDir, LogFileDir ..., Groups
    DriverData& driver;       // ZoneParameters, GlobalParameters, DriverLoaded ...

    // Shared state.
    QString programDir{};     // zev.ini, cmd.ini, ZEV3.ERR, TOOLS/, DRIVER/
    int BlinkPhase = 1;     // 1, 2, 3, 1, ... stepped by every tick of the clock timer
    // The owner of the controller link (Online, PortInitResult, the start and
    // stop sequences, the zone commands); set by whoever builds the context
    // before anything runs, never null after.
    LinkSession* link = nullptr;
    // The alarm log (ErrLog) of the current tool, owned by the link session:
    // set from the first start of the link on, whatever view is loaded.
    AlarmLog* alarmLog = nullptr;
    // The publisher to the plant's message broker (null where none is built).
    PlantPublisher* plantLink = nullptr;

    // Busy flags that keep long link operations from being entered twice.
    struct LinkFlags {
        bool checkDriverBusy = false;
        bool reliabilityCheckBusy = false;
    } linkFlags{};
};

}  // namespace zev
