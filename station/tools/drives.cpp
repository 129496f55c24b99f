#include "tools/drives.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

namespace zev {

namespace {
const QSet<QString> kNetworkTypes = {
    QStringLiteral("nfs"),   QStringLiteral("nfs4"),  QStringLiteral("cifs"),       QStringLiteral("smb3"),
    QStringLiteral("smbfs"), QStringLiteral("ncpfs"), QStringLiteral("fuse.sshfs"), QStringLiteral("afs"),
    QStringLiteral("9p")};

QString unescape(QString field) {
    // The mount table writes blanks, tabs and backslashes as octal escapes.
    field.replace(QStringLiteral("\\040"), QStringLiteral(" "));
    field.replace(QStringLiteral("\\011"), QStringLiteral("\t"));
    field.replace(QStringLiteral("\\134"), QStringLiteral("\\"));
    return field;
}

QString withSlash(QString dir) {
    if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
    return dir;
}

QString readLine(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(f.readLine()).trimmed();
}
}  // namespace

bool isRemovableDevice(const QString& sysBlock, const QString& device) {
    const QDir block(sysBlock);
    QString disk = device;
    // A partition's entry has a "partition" file; its disk is the directory above it.
    const QFileInfo entry(block.filePath(device));
    if (!entry.exists()) return false;
    const QString canonical = entry.canonicalFilePath();
    if (QFileInfo::exists(canonical + QStringLiteral("/partition"))) disk = QFileInfo(QFileInfo(canonical).path()).fileName();
    const QString diskPath = QFileInfo(block.filePath(disk)).canonicalFilePath();
    if (diskPath.isEmpty()) return false;
    if (readLine(diskPath + QStringLiteral("/removable")) == QLatin1String("1")) return true;
    // Many USB sticks and card readers report 0; their device path runs through the USB bus.
    return diskPath.contains(QStringLiteral("/usb"));
}

QList<Drive> SearchDrives(const DriveSources& sources, const QString& toolsDir) {
    QList<Drive> fixed{{DriveKind::Fixed, toolsDir, withSlash(toolsDir)}};
    QList<Drive> removable, remote;
    QSet<QString> seen;
    if (!sources.standInRemovable.isEmpty() && QFileInfo(sources.standInRemovable).isDir()) {
        const QString root = QFileInfo(sources.standInRemovable).absoluteFilePath();
        removable.append({DriveKind::Removable, root, withSlash(root) + QLatin1String(kDriveToolFolder)});
        seen.insert(root);
    }
    QFile f(sources.mounts);
    if (f.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : f.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(' ');
            if (fields.size() < 3) continue;
            const QString source = unescape(QString::fromLocal8Bit(fields[0]));
            const QString point = unescape(QString::fromLocal8Bit(fields[1]));
            const QString type = QString::fromLatin1(fields[2]);
            if (seen.contains(point)) continue;  // a volume mounted twice shows once
            const QString folder = withSlash(point) + QLatin1String(kDriveToolFolder);
            if (kNetworkTypes.contains(type)) {
                remote.append({DriveKind::Remote, point, folder});
                seen.insert(point);
            } else if (source.startsWith(QStringLiteral("/dev/")) &&
                       isRemovableDevice(sources.sysBlock, QFileInfo(source).fileName())) {
                removable.append({DriveKind::Removable, point, folder});
                seen.insert(point);
            }
        }
    }
    return fixed + removable + remote;
}

QStringList toolsOn(const Drive& drive) {
    QStringList names = QDir(drive.toolFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    names.erase(std::remove_if(names.begin(), names.end(), [](const QString& n) { return n.startsWith(QLatin1Char('.')); }),
                names.end());
    return names;
}

}  // namespace zev
