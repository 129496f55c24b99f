#include "shell/device_watcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace zev {

DeviceWatcher::DeviceWatcher(QString portsDir, QString mounts, QStringList mediaRoots, QObject* parent)
    : QObject(parent), portsDir_(std::move(portsDir)), mounts_(std::move(mounts)), mediaRoots_(std::move(mediaRoots)) {
    timer_ = new QTimer(this);
    timer_->setInterval(kScanMs);
    connect(timer_, &QTimer::timeout, this, &DeviceWatcher::scan);
}

void DeviceWatcher::start() {
    scan();
    timer_->start();
}

QString DeviceWatcher::deviceOf(int port) const {
    const QString link = QDir(portsDir_).filePath(QStringLiteral("COM%1").arg(port));
    if (QFileInfo(link).isSymLink() || QFileInfo::exists(link)) return link;
    return QStringLiteral("/dev/ttyS%1").arg(port - 1);
}

QSet<int> DeviceWatcher::scanPorts() const {
    QSet<int> found;
    for (int n = 1; n <= 18; ++n)
        if (QFileInfo::exists(deviceOf(n))) found.insert(n);  // follows the link to the device
    return found;
}

QStringList DeviceWatcher::scanVolumes() const {
    QStringList found;
    QFile f(mounts_);
    if (!f.open(QIODevice::ReadOnly)) return found;
    for (const QByteArray& line : f.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 2) continue;
        // Mount points are written with octal escapes for blanks.
        QString point = QString::fromLocal8Bit(fields[1]);
        point.replace(QStringLiteral("\\040"), QStringLiteral(" "));
        for (const QString& root : mediaRoots_)
            if (point.startsWith(root + QLatin1Char('/'))) found << point;
    }
    found.sort();
    return found;
}

void DeviceWatcher::scan() {
    const QSet<int> ports = scanPorts();
    const QStringList volumes = scanVolumes();
    const bool first = first_;
    first_ = false;
    const QSet<int> before = ports_;
    const QStringList volumesBefore = volumes_;
    ports_ = ports;
    volumes_ = volumes;
    if (first) return;
    if (!(ports - before).isEmpty()) emit portArrived();
    if (!(before - ports).isEmpty()) emit portRemoved();
    if (volumes != volumesBefore) emit volumesChanged();
}

}  // namespace zev
