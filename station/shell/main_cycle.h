// The main cycle behind the main window's timers. Every 250 ms `mainTimer`
// runs one pass, alternating:
// - the reading pass: every zone's values from the bus library's cache into
//   the zone table, status and setpoint changes into the alarm log (one
//   transaction per pass), the fault time, the controllers' outputs state;
// - the evaluation pass: the most severe zone state in the status bar, the
//   window of controllers in diagnosis, the refresh of the visible view.
// `TmrDate` calls the daily housekeeping once per calendar day: compaction of
// the alarm database and the retention of the history files.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace zev {

struct AppContext;
struct ZoneRecord;
class MainWindow;
class TarvoDiagWindow;

// History files kept by the daily housekeeping, and the free space below which
// older ones go (at least one file always stays).
constexpr int kHistoryFilesKept = 10;
constexpr qint64 kMinFreeBytes = qint64(400) * 1024 * 1024;

// The most severe state of one evaluation pass.
struct MaxAlarm {
    std::uint8_t code = 0;  // StatusCode, 0 = no fault
    QString text;
};

// If the zone's status code is greater than max's, max takes the zone's code and text.
void GetMaxAlarm(MaxAlarm& max, const ZoneRecord& zone);

// The day's retention of the history files "*.CDB" in LogFileDir: beyond ten
// the oldest by name go; then, while the disk has less than 400 MiB free and two
// or more remain, the next oldest. Returns the names deleted.
QStringList pruneHistoryFiles(AppContext& ctx);

class MainCycle final : public QObject {
    Q_OBJECT
public:
    MainCycle(AppContext& ctx, MainWindow& main);
    ~MainCycle() override;

    // One tick of mainTimer: nothing while offline, else the pass that is due.
    void mainTimer_Timer();
    void readingPass();
    void evaluationPass();
    // TmrDate's once-a-day part: DBCompact(1), then the history files.
    void DailyHousekeeping();
    // A click on the status bar: the clock (element 0) opens the system's date
    // and time settings at user level 4.
    void lblStatusbar_Click(int index);

    // The pass the next tick runs: false reading, true evaluation.
    bool phase() const { return phase_; }
    const MaxAlarm& maxAlarm() const { return max_; }
    // The diagnosis window while it is shown, else null.
    TarvoDiagWindow* tarvoDiag() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    double secondsSinceLastReading();
    void showDiagnosisWindow(int inDiagnosis);
    void showMaxAlarm();
    void showOutputs();

    AppContext& ctx_;
    MainWindow& main_;
    bool phase_ = false;
    int lastSecond_ = -1;
    QDateTime lastReading_;
    MaxAlarm max_;
    QString shownStyle2_;
    QPointer<TarvoDiagWindow> tarvo_;
};

}  // namespace zev
