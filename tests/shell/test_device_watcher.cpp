// Ports and volumes that come and go are noticed by the periodic scan, also
// while the station starts.
#include "recording_bus.h"
#include "temp_home.h"
#include "test_context.h"

#include "link/forms/ports_page.h"
#include "shell/config_view.h"
#include "shell/device_watcher.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "shell/station_start.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <utility>

using namespace zev;

TEST(DeviceWatcher, PortLinksAndMountsThatComeAndGo) {
    zev::test::TempHome home;
    home.write(QStringLiteral("dev/ttyUSB0"), "");
    home.write(QStringLiteral("mounts"), "/dev/sda1 / ext4 rw 0 0\n");
    DeviceWatcher w(home.file(QStringLiteral("ports")), home.file(QStringLiteral("mounts")), {QStringLiteral("/media")});
    int arrived = 0, removed = 0, volumes = 0;
    QObject::connect(&w, &DeviceWatcher::portArrived, [&] { ++arrived; });
    QObject::connect(&w, &DeviceWatcher::portRemoved, [&] { ++removed; });
    QObject::connect(&w, &DeviceWatcher::volumesChanged, [&] { ++volumes; });
    w.scan();  // the first scan only learns what is there
    EXPECT_EQ(arrived, 0);

    QDir().mkpath(home.file(QStringLiteral("ports")));
    ASSERT_TRUE(QFile::link(home.file(QStringLiteral("dev/ttyUSB0")), home.file(QStringLiteral("ports/COM4"))));
    w.scan();
    EXPECT_EQ(arrived, 1);
    EXPECT_TRUE(w.ports().contains(4));

    QFile::remove(home.file(QStringLiteral("dev/ttyUSB0")));  // the converter was pulled: a dangling link
    w.scan();
    EXPECT_EQ(removed, 1);
    EXPECT_FALSE(w.ports().contains(4));

    home.write(QStringLiteral("mounts"), "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /media/USB\\040STICK vfat rw 0 0\n");
    w.scan();
    EXPECT_EQ(volumes, 1);
    EXPECT_EQ(w.volumes(), QStringList({QStringLiteral("/media/USB STICK")}));
    w.scan();
    EXPECT_EQ(volumes, 1);
}

// What comes or goes while the start-up runs reaches the station at the
// watcher's next scan: its first look is taken before the start-up.
TEST(DeviceWatcher, ChangesDuringTheStartUpAreNotMissed) {
    zev::test::RecordingBus bus;
    bus.portOpens = false;  // the start-up waits a second for the port: changes come meanwhile
    zev::test::TestContext tc(1, &bus);
    tc.home.write(QStringLiteral("dev/ttyUSB0"), "");
    QDir().mkpath(tc.home.file(QStringLiteral("ports")));
    ASSERT_TRUE(QFile::link(tc.home.file(QStringLiteral("dev/ttyUSB0")), tc.home.file(QStringLiteral("ports/COM3"))));
    tc.home.write(QStringLiteral("mounts"), "/dev/sda1 / ext4 rw 0 0\n");
    DeviceWatcher devices(tc.home.file(QStringLiteral("ports")), tc.home.file(QStringLiteral("mounts")),
                          {QStringLiteral("/media")});
    bool changed = false;
    tc.pump.hook = [&] {
        if (std::exchange(changed, true)) return;
        QFile::remove(tc.home.file(QStringLiteral("dev/ttyUSB0")));  // COM3 pulled
        tc.home.write(QStringLiteral("ports/COM5"), "");             // COM5 plugged in
        tc.home.write(QStringLiteral("mounts"), "/dev/sda1 / ext4 rw 0 0\n/dev/sdb1 /media/STICK vfat rw 0 0\n");
    };
    tc.answer({QStringLiteral("2")});  // the port failure notice
    SplashWindow splash;
    MainWindow main(*tc.ctx, splash);
    startWithDevices(*tc.ctx, main, splash, devices);
    ASSERT_TRUE(changed);
    auto* config = static_cast<ConfigView*>(main.view(kViewConfiguration));
    ASSERT_NE(config, nullptr);
    int drives = 0;
    QObject::connect(config, &ConfigView::drivesChanged, [&] { ++drives; });
    bus.availablePorts = {5};
    bus.calls.clear();

    devices.scan();  // the next scan after the start-up
    EXPECT_EQ(bus.count(QStringLiteral("SetSlavePort 0 0 0 0 0 0")), 1);
    EXPECT_EQ(drives, 1);
    EXPECT_GE(config->findChild<PortsPage*>()->portList(0)->findText(QStringLiteral("COM 5")), 0);
    main.unloadViews();
}
