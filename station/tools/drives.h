// The drives of the tool manager: the program's own tools folder as the fixed
// drive, the mounted file systems of removable block devices and the mounted
// network file systems; each with the folder its tools live in.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace zev {

enum class DriveKind { Removable, Fixed, Remote };

struct Drive {
    DriveKind kind = DriveKind::Fixed;
    QString root;        // mount point (the fixed drive: the program's tools folder)
    QString toolFolder;  // where its tools are, ends with "/"
};

// Where the drives are found; the defaults are the running system's.
struct DriveSources {
    QString mounts = QStringLiteral("/proc/self/mounts");
    QString sysBlock = QStringLiteral("/sys/class/block");
    // A directory that counts as a removable drive (a stand-in for a stick in
    // unattended runs); empty or missing: none.
    QString standInRemovable;
};

// The folder of tools on a removable or network drive.
inline const char* kDriveToolFolder = "ZEVcontol 2/Tools/";

// The fixed drive first, then the removable drives, then the network drives,
// each kind in the order of the mount table.
QList<Drive> SearchDrives(const DriveSources& sources, const QString& toolsDir);

// True when the block device (e.g. "sdb1", "mmcblk0p1") is removable: the
// kernel's removable flag of its disk, or a disk attached through USB.
bool isRemovableDevice(const QString& sysBlock, const QString& device);

// Tool directories in a drive's tool folder (names beginning with "." are none).
QStringList toolsOn(const Drive& drive);

}  // namespace zev
