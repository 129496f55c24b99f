// The file steps around the alarm database that must survive a kill or a power
// cut at any moment: every file that takes the place of another is written
// beside it, made durable, and only then renamed over it, so that STOER.MDB
// always names either the old or the new database, never nothing.
#pragma once

#include <QDateTime>
#include <QString>

namespace zev::dbfiles {

// Forces the file's (or the directory's) contents to the disk.
bool syncFile(const QString& path);
bool syncDirectory(const QString& directory);

// Gives the file `from` a second name `to` (which must not exist): a hard link
// where the file system has them, else a durable copy. False with a reason.
bool keepUnderSecondName(const QString& from, const QString& to, QString* reason);

// Copies `from` to `temporary`, makes it durable and renames it to `to`
// (replacing it). False with a reason; the temporary file is gone then.
bool copyDurably(const QString& from, const QString& temporary, const QString& to, QString* reason);

// Renames `from` over `to` and makes the directory durable.
bool replaceDurably(const QString& from, const QString& to, QString* reason);

// A name of its own in `directory` for a damaged database found at `when`:
// "STOER_<yyyyMMdd>_<HHmmss>.DAMAGED", with "_2", "_3"... when taken.
QString damagedName(const QString& directory, const QDateTime& when);

// Removes a file and its rollback journal; true when neither is left.
bool removeWithJournal(const QString& path);

}  // namespace zev::dbfiles
