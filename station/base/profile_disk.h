// File access of the settings store: how a file version is recognised, reading
// a whole file, and replacing a file atomically.
#pragma once

#include <QByteArray>
#include <QString>

namespace zev::profile {

// One version of a file as the file system reports it. Two versions written
// within one timestamp tick in place with the same size look equal: see
// modifiedRecently().
struct FileStamp {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 mtimeSec = 0;
    qint64 mtimeNsec = 0;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

enum class FileKind { Missing, Regular, Unusable };

struct StatResult {
    FileKind kind = FileKind::Missing;
    FileStamp stamp;
};
StatResult statFile(const QString& path);

struct ReadResult {
    FileKind kind = FileKind::Missing;  // Unusable: exists but cannot be read
    QByteArray bytes;
    FileStamp stamp;                    // taken before reading, so a later change always shows
    bool truncated = false;             // the file holds more than maxBytes
    QString error;
};
ReadResult readFile(const QString& path, qint64 maxBytes);

struct WriteResult {
    bool ok = false;
    FileStamp stamp;  // of the new file
    QString error;
};
// Writes bytes to a temporary file in the same directory, flushes it to the
// disk and renames it over path, so that path holds either the old or the new
// content, never a part. Creates the directory when it is missing, keeps the
// permissions of the old file (a write-protected file is not replaced) and writes
// through a symbolic link to its target.
// On failure the old file is untouched and no temporary file is left behind.
WriteResult replaceFile(const QString& path, const QByteArray& bytes);

// True while a file with this stamp could still change without its stamp
// changing: its modification time is less than the coarsest timestamp
// granularity we meet (2 s, FAT on removable drives) before now, or in the future.
bool modifiedRecently(const FileStamp& stamp);

// Deletes path; true when it is gone (also when it never existed).
bool deleteFile(const QString& path, QString* error);

}  // namespace zev::profile
