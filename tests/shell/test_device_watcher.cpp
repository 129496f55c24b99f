// Ports and volumes that come and go are noticed by the periodic scan.
#include "temp_home.h"

#include "shell/device_watcher.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

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
