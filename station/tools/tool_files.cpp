#include "tools/tool_files.h"

#include "base/event_pump.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zev {

namespace {
const QString kPart = QStringLiteral(".part");

bool copyDir(const QString& from, const QString& to, const EntryFilter& take, EventPump& pump, QString* failed) {
    // One level only: a target whose parent vanished (a stick pulled) fails
    // instead of being made anew on whatever disk lies under its mount point.
    if (!QFileInfo(to).isDir() && !QDir().mkdir(to)) {
        *failed = to;
        return false;
    }
    const QFileInfoList entries =
        QDir(from).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QFileInfo& e : entries) {
        if (e.isSymLink()) continue;  // a link may lead out of the tool: never followed
        if (take && !take(e.fileName(), e.isDir())) continue;
        const QString target = QDir(to).filePath(e.fileName());
        if (e.isDir()) {
            if (!copyDir(e.filePath(), target, {}, pump, failed)) return false;
        } else if (e.isFile()) {
            QFile::remove(target);
            if (!QFile::copy(e.filePath(), target)) {
                *failed = target;
                return false;
            }
            pump.yield();
        }
    }
    return true;
}
}  // namespace

bool copyTree(const QString& from, const QString& to, const EntryFilter& take, EventPump& pump, QString* failed) {
    return copyDir(from, to, take, pump, failed);
}

bool copyFilesReplacing(const QString& fromRoot, const QStringList& files, const QString& toRoot, EventPump& pump,
                        QString* failed) {
    QStringList written;
    const auto undo = [&written] {
        for (const QString& f : written) QFile::remove(f + kPart);
    };
    const QDir source(fromRoot);
    for (const QString& file : files) {
        const QFileInfo info(file);
        if (info.isSymLink() || !info.isFile()) continue;
        const QString target = QDir(toRoot).filePath(source.relativeFilePath(file));
        QFile::remove(target + kPart);
        if (!QDir().mkpath(QFileInfo(target).path()) || !QFile::copy(file, target + kPart)) {
            *failed = target;
            undo();
            QFile::remove(target + kPart);
            return false;
        }
        written << target;
        pump.yield();
    }
    for (const QString& target : written) {
        QFile::remove(target);
        if (!QFile::rename(target + kPart, target)) {
            *failed = target;
            undo();
            return false;
        }
    }
    return true;
}

bool discard(const QString& path, bool useTrash) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) return true;
    if (useTrash && QFile::moveToTrash(path)) return true;
    if (info.isDir() && !info.isSymLink()) return QDir(path).removeRecursively();
    return QFile::remove(path);
}

}  // namespace zev
