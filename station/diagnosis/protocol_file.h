// Diagnosis protocol files "<name>.log" in the tool's log directory.
// Little-endian: L1 (32-bit), L1 bytes of protocol text, then, once a comment
// was given, L2 (32-bit) and L2 bytes of comment (lines separated by CR LF).
// Every stored length is checked against the file's size before anything is
// read or written, so a damaged or foreign file is named as such and never
// causes a huge allocation or a file that grows.
#pragma once

#include "diagnosis/running_protocol.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <optional>

namespace zev {

enum class ProtocolNameCheck {
    Ok,
    Empty,          // "Kein gültiger Name."
    BadCharacter,   // ':', '\' or '/'
    Reserved,       // '?', "." or ".." (names the file system would not keep as given)
};
ProtocolNameCheck checkProtocolName(const QString& name);

// Largest protocol file the station reads; anything longer is no protocol of ours.
constexpr qint64 kMaxProtocolFileSize = 16 * 1024 * 1024;

struct ProtocolFileContent {
    QList<ProtocolLine> lines;
    std::optional<QString> comment;  // none: the file has no comment block
    bool damaged = false;            // lengths that do not fit: read as far as it goes
};

class ProtocolFiles {
public:
    explicit ProtocolFiles(QString directory) : dir_(std::move(directory)) {}

    QString path(const QString& name) const;  // directory + name + ".log"
    bool exists(const QString& name) const;
    // `FindLogFiles`: the names (with ".log") of the directory's protocol files.
    QStringList list() const;

    // Writes L1 and the text (replacing any file of that name); false with a reason.
    bool save(const QString& name, const QList<ProtocolLine>& lines, QString* error) const;
    // Reads a file; nullopt with a reason when it cannot be opened or is too large.
    std::optional<ProtocolFileContent> read(const QString& fileName, QString* error) const;
    // Writes L2 and the comment at 4 + L1 and cuts the file after it. A file
    // whose lengths do not fit its size is left unchanged (false, *damaged set).
    bool writeComment(const QString& fileName, const QString& comment, bool* damaged, QString* error) const;
    bool remove(const QString& fileName, QString* error) const;
    // `ProtocolDatum`: the file's last modification.
    QDateTime date(const QString& fileName) const;

private:
    QString dir_;
};

}  // namespace zev
