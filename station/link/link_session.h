// The owner of the controller link. It holds `Online`, the result of the last
// port initialisation (`PortInitResult`) and `DiagnosisRunning`, and it is the
// only place with the start and the stop sequence of the line, which start-up,
// identification, the port window, the link restart, the tool change and the
// diagnosis call. It owns the alarm log of the current tool, independent of any
// view, the zone poller (the reading pass) and the zone commands (the one way
// to write to a controller).
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace zev {

struct AppContext;
struct PortChoice;
class AlarmLog;
class ZoneCommands;
class ZonePoller;

class LinkSession final : public QObject {
    Q_OBJECT
public:
    explicit LinkSession(AppContext& ctx, QObject* parent = nullptr);
    ~LinkSession() override;

    bool Online() const { return online_; }
    int PortInitResult() const { return portInitResult_; }
    bool DiagnosisRunning() const { return diagnosisRunning_; }

    ZoneCommands& commands() { return *commands_; }
    ZonePoller& poller() { return *poller_; }
    // The alarm log of the current tool (null before the first start).
    AlarmLog* alarmLog() const { return log_.get(); }

    // InitMasterPort with the stored or the given choice; sets PortInitResult.
    bool openMasterPort();
    bool openMasterPort(const PortChoice& choice);

    // SetOnlineBetrieb: online on; or offline with 270 virtual zones (18
    // controllers of 15 channels) and the unit °C.
    void SetOnlineBetrieb(bool on);

    // The start sequence after a tool is loaded: opens the alarm log of the
    // tool's log directory (keeping it when the directory is the same),
    // SetOnlineBetrieb(online) and, when online, the identification, which
    // switches polling on. Emits zonesRebuilt.
    void start(bool online);
    // The start after a tool change: as start(), but online the identification
    // runs only when the new tool's wiring does not match the line
    // (WiringMatchesLine); otherwise the known controllers are polled at once.
    // True when it identified.
    bool startAfterToolChange(bool online);
    // Asks for the tool change after the current event (toolChangeRequested):
    // the command runs in a view that the change unloads.
    void requestToolChange();
    // The stop sequence ("stop the line"): polling and day-file logging off,
    // addresses 1..27 offline once each. The alarm log stays open.
    void stop();
    // Polling off and addresses 1..27 offline once each (the stop sequence
    // without the day files, which the tool's logging keeps).
    void stopPolling();
    // Addresses 1..ControllerCount online, the others offline, polling on.
    void startPolling();
    // The port failed: polling off, every address offline, Online false.
    void goOffline();

    void setDiagnosisRunning(bool running);

    // Asks the program to restart the link after the current event: Stop_Tool,
    // LoadActiveTool, start(online), the views anew (restartRequested).
    void requestRestart(bool online);

    // One reading pass of the zone poller (emits valuesRead).
    void readValues();

    // Asked before the link stops for a restart and before the operator ends
    // the program: false refuses (the parameter view ends boost there, and
    // refuses while a transfer or a diagnosis runs). Without a guard: true.
    void setStopGuard(std::function<bool()> guard) { stopGuard_ = std::move(guard); }
    bool mayStop() { return !stopGuard_ || stopGuard_(); }
    // Holds the cyclic scan while a batch of writes is on the line (the cache
    // keeps the values read before); only online is there a scan to hold.
    void holdPolling(bool hold);

signals:
    void onlineChanged(bool online);
    void zonesRebuilt();
    // After a reading pass; recordsWritten: the alarm log took records.
    void valuesRead(bool recordsWritten);
    void restartRequested(bool online);
    void toolChangeRequested();

private:
    void setOnline(bool on);
    void openToolLog();

    AppContext& ctx_;
    bool online_ = false;
    int portInitResult_ = 0;
    bool diagnosisRunning_ = false;
    QString logDir_;
    std::unique_ptr<AlarmLog> log_;
    std::unique_ptr<ZoneCommands> commands_;
    std::unique_ptr<ZonePoller> poller_;
    std::function<bool()> stopGuard_;
};

}  // namespace zev
