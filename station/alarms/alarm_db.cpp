#include "alarms/alarm_db.h"

#include "alarms/alarm_db_files.h"
#include "alarms/alarm_db_salvage.h"
#include "alarms/sql_scratch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace zev {

namespace {
constexpr int kSqliteCorrupt = 11;  // "database disk image is malformed"
constexpr int kSqliteNotADb = 26;   // "file is not a database"

const QStringList kColumns = {QStringLiteral("Typ"),    QStringLiteral("Kommt"),   QStringLiteral("Geht"),
                              QStringLiteral("Quittiert"), QStringLiteral("Quelle"), QStringLiteral("Adresse"),
                              QStringLiteral("Meldung")};

const char* const kCreateTable =
    "CREATE TABLE LOG ("
    "Typ SMALLINT NOT NULL, "
    "Kommt DOUBLE NOT NULL, "
    "Geht DOUBLE, "
    "Quittiert DOUBLE, "
    "Quelle VARCHAR(64) CHECK (length(Quelle) <= 64), "
    "Adresse VARCHAR(8) NOT NULL CHECK (Adresse <> '' AND length(Adresse) <= 8), "
    "Meldung VARCHAR(64) CHECK (length(Meldung) <= 64))";

const char* const kIndexes[] = {
    "CREATE INDEX IF NOT EXISTS KOMMT ON LOG (Kommt ASC)",
    // The list asks type by type, newest first. (An index by zone would cost
    // each pass a page per zone written.)
    "CREATE INDEX IF NOT EXISTS TYP_KOMMT ON LOG (Typ, Kommt)",
    "CREATE INDEX IF NOT EXISTS OFFEN_ADRESSE ON LOG (Adresse) WHERE Geht IS NULL",
    "CREATE INDEX IF NOT EXISTS OFFEN_QUELLE ON LOG (Quelle) WHERE Geht IS NULL",
};

int primaryCode(const QSqlError& error) {
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xFF) : -1;
}

using Scratch = SqlScratch;

// "ok" from an integrity pragma, or the first problem it names. *damage tells a
// damaged file from one that could not be read at all.
bool integrityOk(QSqlDatabase db, const char* pragma, QString* reason, bool* damage) {
    QSqlQuery q(db);
    *damage = false;
    if (!q.exec(QString::fromLatin1(pragma))) {
        *reason = q.lastError().text();
        *damage = AlarmDb::isDamage(q.lastError());
        return false;
    }
    if (!q.next()) {
        *reason = QStringLiteral("no answer from the integrity check");
        *damage = true;
        return false;
    }
    const QString first = q.value(0).toString();
    if (first == QLatin1String("ok")) return true;
    *reason = first;
    *damage = true;
    return false;
}

bool hasLogTable(QSqlDatabase db, QString* reason, bool* damage) {
    QSqlQuery q(db);
    *damage = false;
    if (!q.exec(QStringLiteral("PRAGMA table_info(LOG)"))) {
        *reason = q.lastError().text();
        *damage = AlarmDb::isDamage(q.lastError());
        return false;
    }
    QStringList names;
    while (q.next()) names << q.value(1).toString();
    if (names == kColumns) return true;
    *reason = names.isEmpty() ? QStringLiteral("table LOG is missing")
                              : QStringLiteral("table LOG has the columns ") + names.join(QLatin1Char(','));
    *damage = true;
    return false;
}

}  // namespace

AlarmDb::AlarmDb(QString directory, std::function<QDateTime()> now)
    : directory_(std::move(directory)), connection_(uniqueConnectionName("log")), now_(std::move(now)) {
    if (!now_) now_ = [] { return QDateTime::currentDateTime(); };
}

AlarmDb::~AlarmDb() {
    close();
    QSqlDatabase::removeDatabase(connection_);
}

QString AlarmDb::dbPath() const { return QDir(directory_).filePath(AlarmDbFiles::Database); }
QString AlarmDb::bakPath() const { return QDir(directory_).filePath(AlarmDbFiles::Backup); }
QString AlarmDb::tempPath() const { return QDir(directory_).filePath(AlarmDbFiles::Temporary); }

void AlarmDb::removeLeftovers() {
    if (!directory_.isEmpty()) dbfiles::removeWithJournal(tempPath());
}

bool AlarmDb::isDamage(const QSqlError& error) {
    const int code = primaryCode(error);
    return code == kSqliteCorrupt || code == kSqliteNotADb;
}

bool AlarmDb::isOpen() const {
    return QSqlDatabase::contains(connection_) && QSqlDatabase::database(connection_, false).isOpen();
}

QSqlDatabase AlarmDb::database() const { return QSqlDatabase::database(connection_, false); }

void AlarmDb::close() {
    if (!QSqlDatabase::contains(connection_)) return;
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    db.close();
}

bool AlarmDb::openConnection(QString* error, const QString& path) {
    QSqlDatabase db = QSqlDatabase::contains(connection_) ? QSqlDatabase::database(connection_, false)
                                                          : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection_);
    db.setDatabaseName(path.isEmpty() ? dbPath() : path);
    if (!db.open()) {
        if (error) *error = db.lastError().text();
        return false;
    }
    QSqlQuery q(db);
    // A crash or a power cut never leaves a half-written record: every commit
    // reaches the disk before it returns.
    q.exec(QStringLiteral("PRAGMA synchronous = FULL"));
    q.exec(QStringLiteral("PRAGMA cache_size = -16000"));
    return true;
}

bool AlarmDb::createSchema(QString* error) {
    QSqlDatabase db = database();
    QSqlQuery q(db);
    auto run = [&](const QString& sql) {
        if (q.exec(sql)) return true;
        if (error) *error = q.lastError().text();
        return false;
    };
    if (!db.tables().contains(QStringLiteral("LOG")) && !run(QString::fromLatin1(kCreateTable))) return false;
    for (const char* index : kIndexes)
        if (!run(QString::fromLatin1(index))) return false;
    return true;
}

AlarmDb::Check AlarmDb::checkAndRepair(QString* reason, QString* kept) {
    QSqlDatabase db = database();
    bool damage = false;
    if (!hasLogTable(db, reason, &damage)) return damage ? Check::Damaged : Check::Unreadable;
    if (integrityOk(db, "PRAGMA quick_check", reason, &damage)) return Check::Sound;
    if (!damage) return Check::Unreadable;
    // Damaged indexes are rebuilt from the table; damaged table pages are not
    // mended by that. The rebuild writes into the file, so the file as it was is
    // kept first (without room for a copy it is kept as it is, unmended).
    *kept = dbfiles::damagedName(directory_, now_());
    if (!QFile::copy(dbPath(), *kept) || !dbfiles::syncFile(*kept)) {
        QFile::remove(*kept);
        kept->clear();
        return Check::Damaged;
    }
    QSqlQuery q(db);
    QString again;
    if (q.exec(QStringLiteral("REINDEX")) && integrityOk(db, "PRAGMA quick_check", &again, &damage)) {
        QFile::remove(*kept);
        kept->clear();
        return Check::Repaired;
    }
    return Check::Damaged;
}

AlarmDb::Made AlarmDb::Make_StoerDB(QString* error, bool check) {
    if (directory_.isEmpty()) {  // no tool loaded: never a file in the working directory
        if (error) *error = QStringLiteral("no log directory");
        return Made::Failed;
    }
    if (!QDir().mkpath(directory_)) {
        if (error) *error = QStringLiteral("cannot create the directory ") + directory_;
        return Made::Failed;
    }
    restored_ = false;
    if (!QFileInfo::exists(dbPath()) && QFileInfo(bakPath()).isFile()) {
        // A kill between the two renames of an older compaction left only the backup.
        QString reason;
        if (!dbfiles::copyDurably(bakPath(), tempPath(), dbPath(), &reason)) {
            if (error) *error = reason;
            return Made::Failed;
        }
        restored_ = true;
    }
    const bool existed = QFileInfo::exists(dbPath());
    if (existed && !QFileInfo(dbPath()).isFile()) {
        if (error) *error = dbPath() + QStringLiteral(" is not a file");
        return Made::Failed;
    }
    if (!openConnection(error)) return Made::Failed;
    Made made = Made::Created;
    if (existed && !check) {
        made = Made::Sound;
    } else if (existed && QFileInfo(dbPath()).size() > 0) {
        QString reason, kept;
        switch (checkAndRepair(&reason, &kept)) {
        case Check::Sound: made = Made::Sound; break;
        case Check::Repaired: made = Made::Repaired; break;
        case Check::Damaged: return recreate(error, kept);
        case Check::Unreadable:
            close();
            if (error) *error = reason;
            return Made::Failed;
        }
    } else if (existed) {
        // A file cut down to nothing: kept all the same, it is the only trace.
        return recreate(error);
    }
    if (!createSchema(error)) {
        close();
        return Made::Failed;
    }
    return made;
}

AlarmDb::Made AlarmDb::recreate(QString* error, const QString& keptAlready) {
    close();
    salvage_ = {};
    QString reason;
    auto fail = [&](const QString& why) {
        dbfiles::removeWithJournal(tempPath());
        if (error) *error = why;
        return Made::Failed;
    };
    // The damaged file first gets a name of its own; STOER.MDB keeps naming it
    // until the new file is complete.
    const QString kept = keptAlready.isEmpty() ? dbfiles::damagedName(directory_, now_()) : keptAlready;
    const bool damagedThere = !keptAlready.isEmpty() || QFileInfo::exists(dbPath());
    if (keptAlready.isEmpty() && damagedThere && !dbfiles::keepUnderSecondName(dbPath(), kept, &reason))
        return fail(reason);
    const QString journal = dbPath() + QStringLiteral("-journal");
    if (QFileInfo::exists(journal)) QFile::rename(journal, kept + QStringLiteral("-journal"));

    dbfiles::removeWithJournal(tempPath());
    if (!openConnection(&reason, tempPath()) || !createSchema(&reason)) {
        close();
        return fail(reason);
    }
    const qint64 saved = damagedThere ? salvageRows(kept, database()) : 0;
    close();
    if (saved < 0) return fail(QStringLiteral("cannot write ") + tempPath());
    if (!dbfiles::syncFile(tempPath()) || !dbfiles::replaceDurably(tempPath(), dbPath(), &reason)) return fail(reason);
    if (!openConnection(error)) return Made::Failed;
    if (damagedThere) salvage_ = {kept, saved};
    return Made::Recreated;
}

bool AlarmDb::checkFile(const QString& path, QString* reason) {
    Scratch s(path, true);
    if (!s.opened()) {
        *reason = s.error();
        return false;
    }
    bool damage = false;
    return hasLogTable(s.db(), reason, &damage) && integrityOk(s.db(), "PRAGMA integrity_check", reason, &damage);
}

bool AlarmDb::repairFile(const QString& path, QString* reason) {
    {
        Scratch s(path);
        if (!s.opened()) {
            *reason = s.error();
            return false;
        }
        bool damage = false;
        if (hasLogTable(s.db(), reason, &damage) && integrityOk(s.db(), "PRAGMA integrity_check", reason, &damage))
            return true;
        if (!damage) return false;
        QSqlQuery q(s.db());
        if (!q.exec(QStringLiteral("REINDEX"))) {
            *reason = q.lastError().text();
            return false;
        }
    }
    return checkFile(path, reason);
}

bool AlarmDb::compactInto(const QString& from, const QString& to, QString* reason) {
    if (QFileInfo::exists(to)) {
        *reason = to + QStringLiteral(" exists");
        return false;
    }
    Scratch s(from);
    if (!s.opened()) {
        *reason = s.error();
        return false;
    }
    QSqlQuery q(s.db());
    q.prepare(QStringLiteral("VACUUM INTO ?"));
    q.addBindValue(to);
    if (!q.exec()) {
        *reason = q.lastError().text();
        return false;
    }
    return true;
}

}  // namespace zev
