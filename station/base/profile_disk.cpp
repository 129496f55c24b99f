#include "base/profile_disk.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zev::profile {

namespace {

constexpr qint64 kTimestampGranularityNs = 2'000'000'000;

QString systemError(const char* step, int err) {
    return QStringLiteral("%1: %2").arg(QLatin1String(step), QString::fromLocal8Bit(std::strerror(err)));
}

FileStamp stampOf(const struct stat& st) {
    FileStamp s;
    s.device = st.st_dev;
    s.inode = st.st_ino;
    s.size = st.st_size;
    s.mtimeSec = st.st_mtim.tv_sec;
    s.mtimeNsec = st.st_mtim.tv_nsec;
    return s;
}

bool isMissingError(int err) { return err == ENOENT || err == ENOTDIR; }

// Closes fd and removes the temporary file when a replacement is abandoned.
class TempFile {
public:
    ~TempFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!name_.isEmpty())
            ::unlink(name_.constData());
    }
    bool open(const QByteArray& dir, const QByteArray& base, int& err) {
        for (int attempt = 0; attempt < 16; ++attempt) {
            const QByteArray name = dir + "/." + base + ".tmp-" +
                                    QByteArray::number(QRandomGenerator::global()->generate(), 16);
            fd_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                name_ = name;
                return true;
            }
            err = errno;
            if (err != EEXIST)
                return false;
        }
        return false;
    }
    int fd() const { return fd_; }
    const QByteArray& name() const { return name_; }
    bool close(int& err) {
        const int rc = ::close(fd_);
        fd_ = -1;
        err = errno;
        return rc == 0;
    }
    void keep() { name_.clear(); }

private:
    int fd_ = -1;
    QByteArray name_;
};

bool writeAll(int fd, const QByteArray& bytes, int& err) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

// The file that a rename must replace: the target of a symbolic link, so that a
// linked settings file stays linked.
QString realTarget(const QString& path) {
    const QFileInfo info(path);
    if (!info.isSymLink())
        return path;
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.symLinkTarget() : canonical;
}

}  // namespace

StatResult statFile(const QString& path) {
    StatResult r;
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        r.kind = isMissingError(errno) ? FileKind::Missing : FileKind::Unusable;
        return r;
    }
    r.kind = S_ISREG(st.st_mode) ? FileKind::Regular : FileKind::Unusable;
    r.stamp = stampOf(st);
    return r;
}

ReadResult readFile(const QString& path, qint64 maxBytes) {
    ReadResult r;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        r.kind = isMissingError(err) ? FileKind::Missing : FileKind::Unusable;
        if (r.kind == FileKind::Unusable)
            r.error = systemError("open", err);
        return r;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        r.kind = FileKind::Unusable;
        r.error = QStringLiteral("not a regular file");
        ::close(fd);
        return r;
    }
    r.stamp = stampOf(st);
    r.kind = FileKind::Regular;
    r.bytes.resize(std::min<qint64>(st.st_size, maxBytes));
    qint64 have = 0;
    for (;;) {
        if (have == r.bytes.size()) {
            if (have >= maxBytes)
                break;
            r.bytes.resize(std::min<qint64>(have + 65536, maxBytes));  // grew while we read
        }
        const ssize_t n = ::read(fd, r.bytes.data() + have, static_cast<size_t>(r.bytes.size() - have));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            r.kind = FileKind::Unusable;
            r.error = systemError("read", errno);
            r.bytes.clear();
            ::close(fd);
            return r;
        }
        if (n == 0)
            break;
        have += n;
    }
    r.bytes.resize(have);
    r.truncated = have >= maxBytes && st.st_size > maxBytes;
    ::close(fd);
    return r;
}

WriteResult replaceFile(const QString& path, const QByteArray& bytes) {
    WriteResult r;
    const QString target = realTarget(path);
    const QFileInfo info(target);
    const QString dirPath = info.absolutePath();
    if (!QFileInfo(dirPath).isDir() && !QDir().mkpath(dirPath)) {
        r.error = QStringLiteral("cannot create directory %1").arg(dirPath);
        return r;
    }
    const QByteArray dir = QFile::encodeName(dirPath);
    const QByteArray file = QFile::encodeName(info.absoluteFilePath());
    // A rename would replace a write-protected file as well; it stays protected.
    if (::access(file.constData(), F_OK) == 0 && ::access(file.constData(), W_OK) != 0) {
        r.error = systemError("open for writing", errno);
        return r;
    }

    int err = 0;
    TempFile temp;
    if (!temp.open(dir, QFile::encodeName(info.fileName()), err)) {
        r.error = systemError("create temporary file", err);
        return r;
    }
    struct stat old {};
    if (::stat(file.constData(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(temp.fd(), old.st_mode & 07777);
    if (!writeAll(temp.fd(), bytes, err)) {
        r.error = systemError("write", err);
        return r;
    }
    if (::fsync(temp.fd()) != 0) {
        r.error = systemError("flush", errno);
        return r;
    }
    struct stat st {};
    if (::fstat(temp.fd(), &st) != 0) {
        r.error = systemError("stat", errno);
        return r;
    }
    if (!temp.close(err)) {
        r.error = systemError("close", err);
        return r;
    }
    if (::rename(temp.name().constData(), file.constData()) != 0) {
        r.error = systemError("rename", errno);
        return r;
    }
    temp.keep();
    // Makes the rename itself durable. The new content is in place already, so a
    // file system that cannot flush a directory does not make this a failure.
    const int dfd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
    r.ok = true;
    r.stamp = stampOf(st);  // a rename keeps inode, size and modification time
    return r;
}

bool modifiedRecently(const FileStamp& stamp) {
    timespec now {};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const qint64 age = (static_cast<qint64>(now.tv_sec) - stamp.mtimeSec) * 1'000'000'000 +
                       (now.tv_nsec - stamp.mtimeNsec);
    return age < kTimestampGranularityNs;
}

bool deleteFile(const QString& path, QString* error) {
    if (::unlink(QFile::encodeName(path).constData()) == 0 || isMissingError(errno))
        return true;
    if (error)
        *error = systemError("delete", errno);
    return false;
}

}  // namespace zev::profile
