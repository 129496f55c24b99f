// Arrival and removal of serial ports (a USB/RS485 converter plugged in or
// pulled) and of removable volumes, found by a light periodic scan: the port
// devices' existence (no device is opened) and the mount table.
#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

class QTimer;

namespace zev {

class DeviceWatcher : public QObject {
    Q_OBJECT
public:
    static constexpr int kScanMs = 2000;

    // portsDir: the directory of the links COM1..COM18; mounts: the mount table
    // (/proc/self/mounts); mediaRoots: where removable volumes are mounted.
    DeviceWatcher(QString portsDir, QString mounts, QStringList mediaRoots, QObject* parent = nullptr);
    void start();
    // One scan: compares with the previous one and signals the differences.
    void scan();

    QSet<int> ports() const { return ports_; }
    QStringList volumes() const { return volumes_; }
    // The device COM n names: the link in the ports directory, else /dev/ttyS(n-1).
    QString deviceOf(int port) const;

signals:
    void portArrived();
    void portRemoved();
    void volumesChanged();

private:
    QSet<int> scanPorts() const;
    QStringList scanVolumes() const;

    QString portsDir_;
    QString mounts_;
    QStringList mediaRoots_;
    QSet<int> ports_;
    QStringList volumes_;
    bool first_ = true;
    QTimer* timer_;
};

}  // namespace zev
