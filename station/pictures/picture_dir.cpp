#include "pictures/picture_dir.h"

#include "base/profile_disk.h"
#include "base/profile_file.h"
#include "pictures/picture_layout.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace zev {

namespace {
const QString kTemporaryStem = QStringLiteral("BILD---");

QString systemError() { return QString::fromLocal8Bit(std::strerror(errno)); }

void syncDirectory(const QString& dir) {
    const int fd = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
}  // namespace

bool renameNoReplace(const QString& from, const QString& to, QString* error) {
    const QByteArray a = QFile::encodeName(from), b = QFile::encodeName(to);
    if (::renameat2(AT_FDCWD, a.constData(), AT_FDCWD, b.constData(), RENAME_NOREPLACE) == 0) return true;
    if (errno == EINVAL || errno == ENOSYS) {
        // File systems without the flag: a hard link never replaces either.
        if (::link(a.constData(), b.constData()) == 0) {
            ::unlink(a.constData());
            return true;
        }
        if (errno == EPERM && !QFileInfo::exists(to) && ::rename(a.constData(), b.constData()) == 0) return true;
    }
    if (error) *error = systemError();
    return false;
}

PictureDir::PictureDir(QString dir) : dir_(std::move(dir)) {}

int PictureDir::numberOf(const QString& fileName, QString* ext) {
    if (fileName.size() < 9 || !fileName.startsWith(QLatin1String("BILD"), Qt::CaseInsensitive) ||
        fileName.at(7) != QLatin1Char('.'))
        return -1;
    int n = 0;
    for (int i = 4; i < 7; ++i) {
        const QChar c = fileName.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return -1;
        n = n * 10 + (c.unicode() - '0');
    }
    if (ext) *ext = fileName.mid(8);
    return n;
}

QString PictureDir::fileName(int number, const QString& ext) {
    return QStringLiteral("BILD%1.").arg(number, 3, 10, QLatin1Char('0')) + ext;
}

QStringList PictureDir::entries() const {
    return QDir(dir_).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

QStringList PictureDir::filesOf(int number) const {
    QStringList files;
    for (const QString& f : entries())
        if (numberOf(f) == number) files << QDir(dir_).filePath(f);
    return files;
}

namespace {
QString withExtension(const QStringList& files, int number, const QString& ext, const QString& dir) {
    for (const QString& f : files) {
        QString e;
        if (PictureDir::numberOf(QFileInfo(f).fileName(), &e) == number && e.compare(ext, Qt::CaseInsensitive) == 0)
            return f;
    }
    return dir.isEmpty() ? QString() : QDir(dir).filePath(PictureDir::fileName(number, ext));
}
}  // namespace

QString PictureDir::iniPath(int number) const { return withExtension(filesOf(number), number, QStringLiteral("INI"), dir_); }
QString PictureDir::bmpPath(int number) const { return withExtension(filesOf(number), number, QStringLiteral("BMP"), dir_); }

std::vector<PictureEntry> PictureDir::list() const {
    std::vector<PictureEntry> out;
    const QStringList all = entries();
    for (const QString& f : all) {
        QString ext;
        const int n = numberOf(f, &ext);
        if (n < 0 || ext.compare(QLatin1String("INI"), Qt::CaseInsensitive) != 0) continue;
        if (!out.empty() && out.back().number == n) continue;  // "BILD001.INI" and "bild001.ini": the first counts
        PictureEntry e;
        e.number = n;
        e.iniPath = QDir(dir_).filePath(f);
        QStringList mine;
        for (const QString& g : all)
            if (numberOf(g) == n) mine << QDir(dir_).filePath(g);
        e.bmpPath = withExtension(mine, n, QStringLiteral("BMP"), QString());
        e.name = readLayout(e.iniPath).layout.name;
        out.push_back(e);
    }
    return out;
}

std::optional<int> PictureDir::findByName(const QString& name) const {
    for (const PictureEntry& e : list())
        if (e.name == name) return e.number;
    return std::nullopt;
}

int PictureDir::freeNumber() const {
    std::vector<bool> used(1000, false);
    for (const QString& f : entries()) {
        const int n = numberOf(f);
        if (n >= 0) used[static_cast<size_t>(n)] = true;
    }
    for (int n = 0; n < 1000; ++n)
        if (!used[static_cast<size_t>(n)]) return n;
    return -1;
}

PictureFailure PictureDir::exchangeWithMain(int number) {
    if (number == 0) return {};
    const QStringList mainFiles = filesOf(0), otherFiles = filesOf(number);
    if (otherFiles.isEmpty() || QFileInfo(iniPath(number)).exists() == false)
        return {PictureFailure::NotFound, fileName(number, QStringLiteral("INI")), {}, {}};
    for (const QString& f : entries())
        if (f.startsWith(kTemporaryStem + QLatin1Char('.'), Qt::CaseInsensitive))
            return {PictureFailure::TemporaryExists, QDir(dir_).filePath(f), {}, {}};
    struct Move {
        QString from, to;
    };
    std::vector<Move> plan;
    auto target = [this](const QString& f, const QString& stem) {
        QString ext;
        numberOf(QFileInfo(f).fileName(), &ext);
        return QDir(dir_).filePath(stem + QLatin1Char('.') + ext);
    };
    const QString mainStem = fileName(0, {}).chopped(1), otherStem = fileName(number, {}).chopped(1);
    for (const QString& f : mainFiles) plan.push_back({f, target(f, kTemporaryStem)});
    for (const QString& f : otherFiles) plan.push_back({f, target(f, mainStem)});
    for (const QString& f : mainFiles) plan.push_back({target(f, kTemporaryStem), target(f, otherStem)});
    std::vector<Move> done;
    for (const Move& m : plan) {
        QString error;
        if (renameNoReplace(m.from, m.to, &error)) {
            done.push_back(m);
            continue;
        }
        for (auto it = done.rbegin(); it != done.rend(); ++it) renameNoReplace(it->to, it->from, nullptr);
        syncDirectory(dir_);
        return {PictureFailure::RenameFailed, m.to, error, {}};
    }
    syncDirectory(dir_);
    return {};
}

PictureFailure PictureDir::rename(int number, const QString& name) {
    const QString path = iniPath(number);
    const profile::ReadResult file = profile::readFile(path, kMaxLayoutBytes);
    if (file.kind != profile::FileKind::Regular || file.truncated)
        return {PictureFailure::ReadFailed, path, file.error, {}};
    profile::ProfileFile f = profile::ProfileFile::parse(file.bytes);
    f.setValue(u"INFO", u"ANSICHT", layoutName(name));
    const profile::WriteResult w = profile::replaceFile(path, f.serialize());
    if (!w.ok) return {PictureFailure::WriteFailed, path, {}, w.failure};
    return {};
}

PictureFailure PictureDir::remove(int number) {
    for (const QString& f : filesOf(number)) {
        QString error;
        if (!profile::deleteFile(f, &error)) return {PictureFailure::DeleteFailed, f, error, {}};
    }
    return {};
}

}  // namespace zev
