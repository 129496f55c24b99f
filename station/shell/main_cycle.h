// The main cycle behind the main window's timers. Every 250 ms `mainTimer`
// runs one pass, alternating:
// - the reading pass: the link session's zone poller (link/zone_poller.h);
//   afterwards the visible alarm list is re-read when the pass wrote records
//   and the fault-time ranking once a second;
// - the evaluation pass: the most severe zone state in the status bar, the
//   window of controllers in diagnosis, the refresh of the views that show
//   live values.
// `TmrDate` calls the daily housekeeping once per calendar day: compaction of
// the alarm database and the retention of the history files (trend/).
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <cstdint>

namespace zev {

struct AppContext;
struct ZoneRecord;
class MainWindow;
class TarvoDiagWindow;

// The most severe state of one evaluation pass.
struct MaxAlarm {
    std::uint8_t code = 0;  // StatusCode, 0 = no fault
    QString text;
};

// If the zone's status code is greater than max's, max takes the zone's code and text.
void GetMaxAlarm(MaxAlarm& max, const ZoneRecord& zone);

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

    // The pass the next tick runs: false reading, true evaluation.
    bool phase() const { return phase_; }
    const MaxAlarm& maxAlarm() const { return max_; }
    // The diagnosis window while it is shown, else null.
    TarvoDiagWindow* tarvoDiag() const;

private:
    void afterReading(bool recordsWritten);
    void showDiagnosisWindow(int inDiagnosis);

    AppContext& ctx_;
    MainWindow& main_;
    bool phase_ = false;
    int lastSecond_ = -1;
    MaxAlarm max_;
    QPointer<TarvoDiagWindow> tarvo_;
};

}  // namespace zev
