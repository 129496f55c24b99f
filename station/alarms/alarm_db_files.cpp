#include "alarms/alarm_db_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zev::dbfiles {

namespace {
bool syncPath(const QString& path, int flags) {
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd < 0) return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

QString directoryOf(const QString& path) { return QFileInfo(path).absolutePath(); }

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }
}  // namespace

bool syncFile(const QString& path) { return syncPath(path, O_RDONLY); }

bool syncDirectory(const QString& directory) { return syncPath(directory, O_RDONLY | O_DIRECTORY); }

bool keepUnderSecondName(const QString& from, const QString& to, QString* reason) {
    if (QFileInfo::exists(to)) {
        *reason = to + QStringLiteral(" exists");
        return false;
    }
    if (::link(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0) {
        syncDirectory(directoryOf(to));
        return true;
    }
    // No hard links here (a FAT stick): a copy, written completely before it counts.
    if (!QFile::copy(from, to) || !syncFile(to)) {
        *reason = QStringLiteral("cannot copy %1 to %2").arg(from, to);
        QFile::remove(to);
        return false;
    }
    syncDirectory(directoryOf(to));
    return true;
}

bool copyDurably(const QString& from, const QString& temporary, const QString& to, QString* reason) {
    QFile::remove(temporary);
    if (!QFile::copy(from, temporary) || !syncFile(temporary)) {
        *reason = QStringLiteral("cannot copy %1 to %2").arg(from, temporary);
        QFile::remove(temporary);
        return false;
    }
    if (!replaceDurably(temporary, to, reason)) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

bool replaceDurably(const QString& from, const QString& to, QString* reason) {
    // rename() replaces `to` in one step: there is no moment without it.
    if (::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0) {
        *reason = QStringLiteral("cannot rename %1 to %2: %3").arg(from, to, systemError());
        return false;
    }
    syncDirectory(directoryOf(to));
    return true;
}

QString damagedName(const QString& directory, const QDateTime& when) {
    const QString stem = QStringLiteral("STOER_") + when.toString(QStringLiteral("yyyyMMdd_HHmmss"));
    const QDir dir(directory);
    QString name = stem + QStringLiteral(".DAMAGED");
    for (int n = 2; QFileInfo::exists(dir.filePath(name)); ++n)
        name = stem + QStringLiteral("_%1.DAMAGED").arg(n);
    return dir.filePath(name);
}

bool removeWithJournal(const QString& path) {
    QFile::remove(path + QStringLiteral("-journal"));
    return (!QFileInfo::exists(path) || QFile::remove(path)) && !QFileInfo::exists(path + QStringLiteral("-journal"));
}

}  // namespace zev::dbfiles
