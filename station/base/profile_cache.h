// The parsed profile files of the settings store, kept in memory.
//
// A file is read again only when its stamp (device, inode, size, modification
// time in nanoseconds) changed, or when it was last read so soon after a change
// that a second change in the same timestamp tick would not show in the stamp;
// such a file is read again at each access until it has aged, and parsed again
// only when its bytes differ. After our own write we know the new state and its
// stamp.
//
// Outside a batch, every change is on disk (atomically replaced and flushed)
// before change() returns. Inside a batch, changes stay in memory and are read
// back from there; the outermost endBatch() writes each changed file once. A
// change that leaves the bytes of a file as they are writes nothing. A
// failed write leaves the file on disk as it was, makes the memory agree with
// the disk again, and is reported once per failing episode of that file.
#pragma once

#include "base/profile_disk.h"
#include "base/profile_file.h"

#include <QHash>
#include <QSet>
#include <QString>
#include <functional>

namespace zev::profile {

class ProfileCache {
public:
    using FailureHandler = std::function<void(const QString& path, const QString& reason)>;

    // Files beyond this size are read up to it and never written, so that a
    // rewrite cannot lose their tail.
    static constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
    // Parsed files kept; the least recently used one without pending changes goes.
    static constexpr int kMaxEntries = 64;

    void setFailureHandler(FailureHandler handler) { onFailure_ = std::move(handler); }

    // path must be absolute. A missing or unreadable file is an empty file.
    const ProfileFile& file(const QString& path);

    // Applies edit to the file. Returns false when the change is not stored; the
    // file then stays as it was, on disk and here.
    bool change(const QString& path, const std::function<void(ProfileFile&)>& edit);

    void beginBatch() { ++batchDepth_; }
    // Ends one batch; the outermost end writes the changed files. True when every
    // one of them is stored.
    bool endBatch();

    // Deletes the file and forgets it; true when it is gone.
    bool remove(const QString& path);

private:
    enum class State { Missing, Loaded, Unreadable };
    struct Entry {
        State state = State::Missing;
        ProfileFile file;
        QByteArray bytes;       // as last read or written
        FileStamp stamp;
        bool racy = false;      // may change without a new stamp: compare bytes
        bool truncated = false; // larger than kMaxFileBytes: read-only
        bool dirty = false;     // batched changes not yet on disk
        QString error;          // why it cannot be read
        quint64 lastUse = 0;
    };

    // The entry of path, read again when the file changed on disk.
    Entry& entry(const QString& path);
    // True when the entry still shows what the disk holds.
    static bool unchanged(const Entry& e, const StatResult& now);
    void load(Entry& e, const QString& path);
    void stored(Entry& e, const QString& path, ProfileFile file, const QByteArray& bytes,
                const FileStamp& stamp);
    void reportFailure(const QString& path, const QString& reason);
    void evictOne();

    QHash<QString, Entry> entries_;
    QSet<QString> failing_;  // files in a failing write episode
    FailureHandler onFailure_;
    int batchDepth_ = 0;
    quint64 useCounter_ = 0;
};

}  // namespace zev::profile
