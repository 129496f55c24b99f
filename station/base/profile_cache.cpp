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
    case State::TooLarge:
        return now.kind == FileKind::Regular && now.stamp == e.stamp;
    }
    return false;
}

ProfileCache::Entry& ProfileCache::entry(const QString& path) {
    auto it = entries_.find(path);
    if (it == entries_.end()) {
        if (entries_.size() >= kMaxEntries)
            evictOne();
        if (!swept_.contains(path)) {
            // No write of ours is under way: what is there was left by a killed one.
            removeLeftoverTemporaries(path);
            swept_.insert(path);
        }
        it = entries_.insert(path, Entry{});
        load(*it, path);
    } else if (!it->dirty) {  // batched changes win until they are written
        if (!unchanged(*it, statFile(path)))
            load(*it, path);
    }
    it->lastUse = ++useCounter_;
    if (it->damage && onDamage_ && !damageTold_.contains(path)) {
        damageTold_.insert(path);
        onDamage_(path, *it->damage);
    }
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
    if (r.truncated) {
        e = Entry{};
        e.state = State::TooLarge;
        e.stamp = r.stamp;
        e.damage = FileDamage{FileDamage::TooLarge, {}};
        return;
    }
    if (e.state != State::Loaded || r.bytes != e.bytes) {
        e.file = ProfileFile::parse(r.bytes);
        e.bytes = std::move(r.bytes);
        e.damage = isSettingsFile(path) ? inspectSettingsFile(e.bytes) : std::nullopt;
    }
    e.state = State::Loaded;
    e.stamp = r.stamp;
    e.racy = modifiedRecently(r.stamp);
    e.error.clear();
}

bool ProfileCache::isSettingsFile(const QString& path) {
    return path.endsWith(QLatin1String(".ini"), Qt::CaseInsensitive);
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
    e.dirty = false;
    e.damage.reset();  // what we write reads back
    e.error.clear();
    failing_.remove(path);
}

bool ProfileCache::change(const QString& path, const std::function<void(ProfileFile&)>& edit) {
    Entry& e = entry(path);
    // Writing what we could read of such a file would destroy the rest of it.
    if (e.state == State::Unreadable) {
        reportFailure(path, {FailureKind::Unreadable, 0});
        return false;
    }
    if (e.state == State::TooLarge)
        return false;  // the operator heard that it stays as it is
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
        reportFailure(path, w.failure);
        return false;
    }
    stored(e, path, std::move(next), bytes, w.stamp);
    return true;
}

bool ProfileCache::endBatch() {
    if (batchDepth_ == 0 || --batchDepth_ > 0)
        return true;
    // The handler may read settings again: report only when the table is settled.
    std::vector<std::pair<QString, StoreFailure>> failures;
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
            failures.emplace_back(it.key(), w.failure);
            it = entries_.erase(it);  // read again what the disk holds
        }
    }
    for (const auto& [path, why] : failures)
        reportFailure(path, why);
    return failures.empty();
}

bool ProfileCache::remove(const QString& path) {
    entries_.remove(path);
    failing_.remove(path);
    return deleteFile(path, nullptr);
}

void ProfileCache::reportFailure(const QString& path, const StoreFailure& why) {
    if (failing_.contains(path))
        return;
    failing_.insert(path);
    if (onFailure_)
        onFailure_(path, why);
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
