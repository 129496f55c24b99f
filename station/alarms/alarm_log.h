// The alarm log: every alarm, message and event of the plant as one record of
// the table LOG (alarms/alarm_db.h). `ErrLog` is the one way in; the main cycle,
// the diagnosis and the recipes write through it whether the alarm view is shown
// or not (the context's `alarmLog` points here while the alarm view is loaded).
//
// Records are never lost silently:
// - all records of one reading pass of the main cycle go into one transaction
//   (`Batch`), so 270 zones changing at once cost one write to the disk;
// - a record that cannot be written stays queued in memory and is written, in
//   order and with the time it was made, by the next write that succeeds; the
//   failure is reported once per episode;
// - a damaged file (not a database, truncated, malformed, deleted under the
//   running program) is made anew, the queued records go into the new file and
//   notification 0x40A logs that event.
#pragma once

#include "alarms/alarm_db.h"

#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class QSqlQuery;

namespace zev {

struct AppContext;

namespace RecordType {
constexpr int Event = 0;
constexpr int Message = 1;
constexpr int Alarm = 2;
constexpr int CloseOnly = 98;  // only closes the source's open alarms
}  // namespace RecordType

// The steps of DBCompact, in order (see beforeCompactionStep).
enum class CompactStep { DeleteOld, Repair, Copy, SyncCopy, DropBackup, KeepBackup, Replace, Reopen };

// What the configuration view shows of the database.
struct AlarmDbInfo {
    QString size;      // "1234 KB", "??? KB" without a database
    QString compacted; // date-time of the backup (the last compaction), "??.??.??" without one
};

class AlarmLog : public QObject {
    Q_OBJECT
public:
    // Opens (creating or repairing) STOER.MDB in directory and takes the start stamp.
    AlarmLog(AppContext& ctx, const QString& directory, QObject* parent = nullptr);
    ~AlarmLog() override;

    // What opening the database found (AlarmDb::Made) and why it failed.
    AlarmDb::Made made() const { return made_; }
    const QString& openError() const { return openError_; }
    bool isOpen() const { return db_.isOpen(); }
    AlarmDb& db() { return db_; }

    // The start stamp: the date serial of the moment the log was opened, and
    // its SQL text (`convert`).
    double startSerial() const { return start_; }
    QString startStamp() const;

    // Typ 0/1: one record, Geht = Kommt. Typ 2: closes the source's alarms
    // that are open since the start, then (with a text) records the new alarm.
    // Typ 98: only the closing. Zones (Adresse from 1) are closed by their
    // number, records of no zone (Adresse 0) by their Quelle. Other types are
    // ignored. Texts longer than their column (64 characters) are cut.
    // Throws ZevError once per episode of failed writes (the records stay queued).
    void ErrLog(int Typ, const QString& Quelle, int Adresse, const QString& Meldung);

    // Groups the records of one pass into one transaction; commit() writes
    // them (and may throw like ErrLog); a batch left without commit keeps its
    // records queued for the next write.
    class Batch {
    public:
        explicit Batch(AlarmLog& log) : log_(log) { ++log_.batchDepth_; }
        ~Batch() { if (!done_) --log_.batchDepth_; }
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;
        // True when records were written (the list changed).
        bool commit();

    private:
        AlarmLog& log_;
        bool done_ = false;
    };

    // Stamps Quittiert = now on every record the clause ("WHERE ...") selects
    // that has no acknowledgement yet: a record keeps its first one.
    void acknowledge(const QString& whereClause);

    // The first reading of a zone in this run of the log (the program started
    // or the link restarted): closes the zone's alarms still open from earlier
    // runs, with this moment as Geht, and returns true; false afterwards. The
    // caller then compares the reading with "no fault", so a fault still there
    // opens a new record (an alarm spanning a restart is two records).
    bool firstReading(int zone);
    // A new run on the same file (the link restarted): every zone's next
    // reading is a first reading again, and the run starts now.
    void beginRun();

    // DBCompact: deletes records older than ten days and compacts the file
    // into a new STOER.MDB, keeping the old one as STOER.BAK; due when the backup
    // is at least `days` old (0: always). True when compacted or not due.
    bool DBCompact(double days);
    AlarmDbInfo info() const;
    // Called before each step of DBCompact; returning false stops the compaction
    // right there, leaving the files as a kill at that moment would (for tests).
    std::function<bool(CompactStep)> beforeCompactionStep;

    // Records queued because they could not be written yet.
    int queued() const { return static_cast<int>(queue_.size()); }

signals:
    // Records were written (the list may re-read).
    void written();
    // The connection closes for a moment (compaction, recreation): drop queries on it.
    void aboutToClose();
    // The connection is open again (possibly on a new file).
    void reopened();
    // Size or compaction date changed.
    void infoChanged();

private:
    struct Op {
        int typ;
        QString quelle;
        int adresse;
        QString meldung;
        double now;
    };

    bool flush();
    bool writeQueue(QString* error, bool* damaged);
    bool apply(const Op& op, QString* error, bool* damaged);
    bool prepareStatements(QString* error, bool* damaged);
    void dropStatements();
    bool reopen(bool check = true);
    void recreateAfterDamage();
    void noteRecreated();
    void tellLater(const QString& text);
    void failed(const QString& error);
    void onDamageNotification();
    double now() const;

    AppContext& ctx_;
    AlarmDb db_;
    AlarmDb::Made made_ = AlarmDb::Made::Failed;
    QString openError_;
    double start_ = 0.0;
    std::deque<Op> queue_;
    int batchDepth_ = 0;
    bool failing_ = false;   // inside an episode of failed writes (reported once)
    std::vector<bool> read_;  // zones read in this run (firstReading)
    std::unique_ptr<QSqlQuery> insert_, closeByZone_, closeBySource_, closeEarlier_;
};

}  // namespace zev
