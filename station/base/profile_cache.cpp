#include "base/profile_cache.h"

#include <utility>
#include <vector>

namespace zev::profile {

bool ProfileCache::unchanged(const Entry& e, const StatResult& now) {
    if (e.racy)
        return false;
    switch (e.state) {
    case State::Missing:
        return now.kind == FileKind::Missing;
    case State::Loaded:
        return now.kind == FileKind::Regular && now.stamp == e.stamp;
    case State::Unreadable:
        return false;  // try again: it may have become readable
    }
    return false;
}

ProfileCache::Entry& ProfileCache::entry(const QString& path) {
    auto it = entries_.find(path);
    if (it == entries_.end()) {
        if (entries_.size() >= kMaxEntries)
            evictOne();
        it = entries_.insert(path, Entry{});
        load(*it, path);
    } else if (!it->dirty) {  // batched changes win until they are written
        if (!unchanged(*it, statFile(path)))
            load(*it, path);
    }
    it->lastUse = ++useCounter_;
    return *it;
}

void ProfileCache::load(Entry& e, const QString& path) {
    ReadResult r = readFile(path, kMaxFileBytes);
    switch (r.kind) {
    case FileKind::Missing:
        e = Entry{};
        return;
    case FileKind::Unusable:
        e = Entry{};
        e.state = State::Unreadable;
        e.error = r.error;
        return;
    case FileKind::Regular:
        break;
    }
    if (e.state != State::Loaded || r.bytes != e.bytes) {
        e.file = ProfileFile::parse(r.bytes);
        e.bytes = std::move(r.bytes);
    }
    e.state = State::Loaded;
    e.stamp = r.stamp;
    e.racy = modifiedRecently(r.stamp);
    e.truncated = r.truncated;
    e.error.clear();
}

const ProfileFile& ProfileCache::file(const QString& path) {
    return entry(path).file;
}

void ProfileCache::stored(Entry& e, const QString& path, ProfileFile file, const QByteArray& bytes,
                          const FileStamp& stamp) {
    e.state = State::Loaded;
    e.file = std::move(file);
    e.bytes = bytes;
    e.stamp = stamp;
    e.racy = false;
    e.truncated = false;
    e.dirty = false;
    e.error.clear();
    failing_.remove(path);
}

bool ProfileCache::change(const QString& path, const std::function<void(ProfileFile&)>& edit) {
    Entry& e = entry(path);
    // Writing what we could read of such a file would destroy the rest of it.
    if (e.state == State::Unreadable) {
        reportFailure(path, QStringLiteral("cannot read the file (%1); left unchanged").arg(e.error));
        return false;
    }
    if (e.truncated) {
        reportFailure(path, QStringLiteral("file larger than %1 bytes; left unchanged").arg(kMaxFileBytes));
        return false;
    }
    if (batchDepth_ > 0) {
        edit(e.file);
        e.dirty = true;
        return true;
    }
    ProfileFile next = e.file;
    edit(next);
    const QByteArray bytes = next.serialize();
    if (e.state == State::Loaded && bytes == e.bytes)
        return true;  // already on disk: spare the flash of the panel a rewrite
    const WriteResult w = replaceFile(path, bytes);
    if (!w.ok) {
        reportFailure(path, w.error);
        return false;
    }
    stored(e, path, std::move(next), bytes, w.stamp);
    return true;
}

bool ProfileCache::endBatch() {
    if (batchDepth_ == 0 || --batchDepth_ > 0)
        return true;
    // The handler may read settings again: report only when the table is settled.
    std::vector<std::pair<QString, QString>> failures;
    for (auto it = entries_.begin(); it != entries_.end();) {
        if (!it->dirty) {
            ++it;
            continue;
        }
        const QByteArray bytes = it->file.serialize();
        if (it->state == State::Loaded && bytes == it->bytes) {
            it->dirty = false;
            ++it;
            continue;
        }
        const WriteResult w = replaceFile(it.key(), bytes);
        if (w.ok) {
            stored(*it, it.key(), it->file, bytes, w.stamp);
            ++it;
        } else {
            failures.emplace_back(it.key(), w.error);
            it = entries_.erase(it);  // read again what the disk holds
        }
    }
    for (const auto& [path, reason] : failures)
        reportFailure(path, reason);
    return failures.empty();
}

bool ProfileCache::remove(const QString& path) {
    entries_.remove(path);
    failing_.remove(path);
    return deleteFile(path, nullptr);
}

void ProfileCache::reportFailure(const QString& path, const QString& reason) {
    if (failing_.contains(path))
        return;
    failing_.insert(path);
    if (onFailure_)
        onFailure_(path, reason);
}

void ProfileCache::evictOne() {
    auto victim = entries_.end();
    for (auto it = entries_.begin(); it != entries_.end(); ++it)
        if (!it->dirty && (victim == entries_.end() || it->lastUse < victim->lastUse))
            victim = it;
    if (victim != entries_.end())
        entries_.erase(victim);
}

}  // namespace zev::profile
