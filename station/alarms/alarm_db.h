// The alarm database file "STOER.MDB" and its backup "STOER.BAK" in the tool's
// log directory: an SQLite file with the one table LOG. This module creates,
// checks, repairs and compacts the file and owns the one connection to it;
// what is written into it is AlarmLog's business.
//
// Table LOG, in this column order:
//   Typ       SMALLINT     0 event, 1 message, 2 alarm
//   Kommt     DOUBLE       date serial (days since 30.12.1899) of the record
//   Geht      DOUBLE       when the alarm went; NULL while it is present
//   Quittiert DOUBLE       when it was acknowledged; NULL until then
//   Quelle    VARCHAR(64)  source (zone name, "SYSTEM", ...); may be empty
//   Adresse   VARCHAR(8)   zone number as decimal text, "0" for no zone; never empty
//   Meldung   VARCHAR(64)  the message; may be empty
// Index KOMMT on Kommt serves the list and the deletion of old records. Two
// small partial indexes over the records without Geht let an alarm be closed
// without scanning the records of ten days.
#pragma once

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <functional>

class QSqlError;

namespace zev {

namespace AlarmDbFiles {
inline const QString Database = QStringLiteral("STOER.MDB");
inline const QString Backup = QStringLiteral("STOER.BAK");
// A new database in the making (compaction, restoring, salvaging); a leftover
// of a kill is removed at the start.
inline const QString Temporary = QStringLiteral("STOER.TMP");
}  // namespace AlarmDbFiles

class AlarmDb {
public:
    enum class Made {
        Created,    // there was no file: a new one was made
        Sound,      // the file passed the check
        Repaired,   // the check failed, rebuilding the indexes mended it
        Recreated,  // the file was damaged (not a database, truncated, malformed): made anew
        Failed      // the file could not be made or opened (see the error); nothing was deleted
    };

    // What became of the last damaged file: the name it is kept under and the
    // rows copied from it into the new file.
    struct Salvage {
        QString keptAs;
        qint64 saved = 0;
    };

    // directory: the tool's log directory (created when missing); now: the
    // clock that names a damaged file (the system's when empty).
    explicit AlarmDb(QString directory, std::function<QDateTime()> now = {});
    ~AlarmDb();
    AlarmDb(const AlarmDb&) = delete;
    AlarmDb& operator=(const AlarmDb&) = delete;

    const QString& directory() const { return directory_; }
    QString dbPath() const;
    QString bakPath() const;
    QString tempPath() const;

    // At the start, before Make_StoerDB: a leftover new file of an interrupted
    // compaction or salvage goes.
    void removeLeftovers();
    // Whether the last Make_StoerDB found STOER.MDB missing and restored it
    // from STOER.BAK.
    bool restoredFromBackup() const { return restored_; }

    // Make_StoerDB: creates the file, or checks and repairs it (a damaged file is
    // replaced by a new one, see recreate), makes sure of the indexes and opens
    // the connection. A missing file with STOER.BAK present is restored from the
    // backup, never made anew empty (Failed when that cannot be done). check
    // false skips the check (for a file just checked).
    Made Make_StoerDB(QString* error, bool check = true);
    // Replaces a damaged file by a new one: the damaged file is kept as
    // STOER_<date>_<time>.DAMAGED, every row that can still be read from it is
    // copied into the new file (lastSalvage()), and the new file takes the name
    // STOER.MDB only when complete. The connection is open after it. Failed
    // (nothing changed) when the damaged file cannot be kept. keptAlready: a copy
    // of the damaged file made before (by a repair attempt).
    Made recreate(QString* error, const QString& keptAlready = QString());
    const Salvage& lastSalvage() const { return salvage_; }
    bool isOpen() const;
    void close();
    QSqlDatabase database() const;
    const QString& connectionName() const { return connection_; }

    // The errors of a file that is no database or is malformed.
    static bool isDamage(const QSqlError& error);
    // Checks a closed database file with the full integrity check and the table's
    // columns; false with a reason when it is damaged or cannot be read.
    static bool checkFile(const QString& path, QString* reason);
    // The repair before a compaction: the full check; when it fails, the indexes
    // are rebuilt from the table and the file is checked again.
    static bool repairFile(const QString& path, QString* reason);
    // Writes a compacted copy of the database file `from` to `to` (which must not
    // exist); false with a reason when it fails.
    static bool compactInto(const QString& from, const QString& to, QString* reason);

private:
    enum class Check { Sound, Repaired, Damaged, Unreadable };
    Check checkAndRepair(QString* reason, QString* kept);
    bool openConnection(QString* error, const QString& path = QString());
    bool createSchema(QString* error);

    QString directory_;
    QString connection_;
    std::function<QDateTime()> now_;
    Salvage salvage_;
    bool restored_ = false;
};

}  // namespace zev
