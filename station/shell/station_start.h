// The station's start with its device watcher: ports and removable volumes
// that come and go reach the port lists, the slave port and the drive lists.
#pragma once

namespace zev {

struct AppContext;
class DeviceWatcher;
class MainWindow;
class SplashWindow;

// Connects the watcher, lets it take its first look and then runs Form_Load.
// The first look comes before the start-up steps that use ports and drives, so
// that a port or a stick that arrives or goes while they run is reported by
// the watcher's next scan instead of being taken for the state before the start.
void startWithDevices(AppContext& ctx, MainWindow& main, SplashWindow& splash, DeviceWatcher& devices);

}  // namespace zev
