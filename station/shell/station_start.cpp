#include "shell/station_start.h"

#include "link/bus_link.h"
#include "base/app_context.h"
#include "shell/config_view.h"
#include "shell/device_watcher.h"
#include "shell/main_window.h"
#include "shell/startup.h"

namespace zev {

void startWithDevices(AppContext& ctx, MainWindow& main, SplashWindow& splash, DeviceWatcher& devices) {
    // The views are built by Form_Load and built anew by a restart of the link:
    // look the configuration view up when a change comes.
    auto config = [&main] { return static_cast<ConfigView*>(main.view(kViewConfiguration)); };
    QObject::connect(&devices, &DeviceWatcher::portArrived, &main, [config] {
        if (ConfigView* c = config()) c->SearchPorts();
    });
    BusLink& bus = ctx.bus;
    QObject::connect(&devices, &DeviceWatcher::portRemoved, &main, [&bus] { bus.SetSlavePort(0, 0, 0, 0, 0, 0); });
    QObject::connect(&devices, &DeviceWatcher::volumesChanged, &main, [config] {
        if (ConfigView* c = config()) c->SearchLogicalDrives();
    });
    devices.start();
    Form_Load(ctx, main, splash);
}

}  // namespace zev
