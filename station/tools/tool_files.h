// File operations of the tool manager on real directories: copies that never
// follow a symbolic link and leave nothing half-made behind, and deletion to
// the desktop's trash.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace zev {

class EventPump;

// Which top-level entries of a tool a copy takes (name of the entry, is it a directory).
using EntryFilter = std::function<bool(const QString& name, bool isDir)>;

// Copies the regular files and directories of `from` into `to` (created when
// missing, but never its parent), recursively; symbolic links are left out. Pending events run
// between files. On the first failure the copy stops and returns false with
// the path that failed in *failed; the caller removes what was made.
bool copyTree(const QString& from, const QString& to, const EntryFilter& take, EventPump& pump, QString* failed);

// Copies the given files (absolute paths) to the same relative places below
// `toRoot`, replacing files there, all or nothing: each is written beside its
// target first and only renamed into place when every one has been written.
bool copyFilesReplacing(const QString& fromRoot, const QStringList& files, const QString& toRoot, EventPump& pump,
                        QString* failed);

// Moves a file or directory to the desktop's trash where there is one,
// otherwise deletes it for good. False when it is still there.
bool discard(const QString& path, bool useTrash);

}  // namespace zev
