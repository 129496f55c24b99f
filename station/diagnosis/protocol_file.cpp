#include "diagnosis/protocol_file.h"

#include "base/profile_codepage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace zev {

namespace {

QByteArray le32(quint32 v) {
    QByteArray b(4, '\0');
    qToLittleEndian(v, b.data());
    return b;
}

std::optional<quint32> readLe32(QFile& f) {
    char b[4];
    if (f.read(b, 4) != 4) return std::nullopt;
    return qFromLittleEndian<quint32>(b);
}

QByteArray commentBytes(const QString& comment) {
    QString c = comment;
    c.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    c.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return profile::toWindows1252(c);
}

}  // namespace

ProtocolNameCheck checkProtocolName(const QString& name) {
    if (name.trimmed().isEmpty()) return ProtocolNameCheck::Empty;
    for (QChar c : name)
        if (c == QLatin1Char(':') || c == QLatin1Char('\\') || c == QLatin1Char('/'))
            return ProtocolNameCheck::BadCharacter;
    if (name.contains(QLatin1Char('?')) || name == QLatin1String(".") || name == QLatin1String(".."))
        return ProtocolNameCheck::Reserved;
    return ProtocolNameCheck::Ok;
}

QString ProtocolFiles::path(const QString& name) const {
    return QDir(dir_).filePath(name + QStringLiteral(".log"));
}

bool ProtocolFiles::exists(const QString& name) const { return QFileInfo::exists(path(name)); }

QStringList ProtocolFiles::list() const {
    return QDir(dir_).entryList({QStringLiteral("*.log")}, QDir::Files, QDir::Name | QDir::IgnoreCase);
}

bool ProtocolFiles::save(const QString& name, const QList<ProtocolLine>& lines, QString* error) const {
    QDir().mkpath(dir_);
    const QByteArray text = RunningProtocol::encode(lines);
    QFile f(path(name));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(le32(static_cast<quint32>(text.size())) + text) !=
                                                                   text.size() + 4) {
        if (error) *error = f.errorString();
        return false;
    }
    f.close();
    if (f.error() != QFileDevice::NoError) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

std::optional<ProtocolFileContent> ProtocolFiles::read(const QString& fileName, QString* error) const {
    QFile f(QDir(dir_).filePath(fileName));
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return std::nullopt;
    }
    const qint64 size = f.size();
    if (size > kMaxProtocolFileSize) {
        if (error) *error = QStringLiteral("size %1").arg(size);
        return std::nullopt;
    }
    ProtocolFileContent out;
    const auto l1 = readLe32(f);
    if (!l1) {
        out.damaged = true;
        return out;
    }
    const qint64 textLength = std::min<qint64>(*l1, size - 4);
    out.damaged = *l1 > static_cast<quint64>(size - 4);
    out.lines = RunningProtocol::decode(f.read(textLength));
    if (out.damaged || f.atEnd()) return out;
    const auto l2 = readLe32(f);
    const qint64 rest = size - 8 - textLength;
    if (!l2 || *l2 > static_cast<quint64>(std::max<qint64>(rest, 0))) {
        out.damaged = true;
        if (l2) out.comment = profile::fromWindows1252(f.read(rest)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        return out;
    }
    out.comment = profile::fromWindows1252(f.read(*l2)).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return out;
}

bool ProtocolFiles::writeComment(const QString& fileName, const QString& comment, bool* damaged,
                                 QString* error) const {
    if (damaged) *damaged = false;
    QFile f(QDir(dir_).filePath(fileName));
    if (!f.open(QIODevice::ReadWrite)) {
        if (error) *error = f.errorString();
        return false;
    }
    const qint64 size = f.size();
    const auto l1 = readLe32(f);
    bool fits = l1 && size <= kMaxProtocolFileSize && *l1 <= static_cast<quint64>(size - 4);
    if (fits && size > 4 + static_cast<qint64>(*l1)) {
        // A comment block is there: it must be whole, or the file is not ours.
        f.seek(4 + *l1);
        const auto l2 = readLe32(f);
        fits = l2 && 8 + static_cast<qint64>(*l1) + static_cast<qint64>(*l2) == size;
    }
    if (!fits) {
        if (damaged) *damaged = true;
        return false;
    }
    const QByteArray bytes = commentBytes(comment);
    const qint64 at = 4 + static_cast<qint64>(*l1);
    if (!f.seek(at) || f.write(le32(static_cast<quint32>(bytes.size())) + bytes) != bytes.size() + 4 ||
        !f.resize(at + 4 + bytes.size())) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

bool ProtocolFiles::remove(const QString& fileName, QString* error) const {
    QFile f(QDir(dir_).filePath(fileName));
    if (!f.remove()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

QDateTime ProtocolFiles::date(const QString& fileName) const {
    return QFileInfo(QDir(dir_).filePath(fileName)).lastModified();
}

}  // namespace zev
