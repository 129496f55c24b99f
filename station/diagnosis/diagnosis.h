// The wiring test of a mould (`frmDiagnose`'s logic): every selected zone in
// manual mode at 0 %, a watch that nothing heats by itself (a shorted triac
// trips the controller's main contactor through its high limit), then each zone
// heated in turn while the others are watched for crossed heaters and
// thermocouples, reversed or broken thermocouples and zones that never rise.
//
// The run heats plastic-filled nozzles by hand, so whatever ends it (finished,
// stop, a fault, an error answered with "leave") first sets the heated zone's
// output to 0 and then puts back exactly what the run changed: modes, outputs,
// current supervision, setpoints and the controllers' automatic power mode;
// nothing it did not change and nothing it could not save is written.
//
// Runs inside one event and lets pending events run through the pump at every
// wait; stop() is honoured at the next of them. DiagnosisRunning of the link
// session is set for the whole run.
#pragma once

#include "diagnosis/running_protocol.h"

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace zev {

struct AppContext;

// Results of the steps.
enum DiagResult { kDiagPassed = 0, kDiagEmergencyStop = 1, kDiagStopped = 2, kDiagAborted = 3 };

class Diagnosis final : public QObject {
    Q_OBJECT
public:
    explicit Diagnosis(AppContext& ctx, QObject* parent = nullptr);
    ~Diagnosis() override;

    // The whole run over the zones marked in `selected` (index = zone number).
    // Returns the result, or -1 when it did not start (no diagnosis times).
    int DoDiagnose(const std::vector<bool>& selected);
    // `GetCooldownTime`: the largest DIAGTIME of the selected zones' groups.
    int GetCooldownTime(const std::vector<bool>& selected) const;
    void stop() { stopFlag_ = true; }
    bool running() const { return running_; }

    const RunningProtocol& protocol() const { return protocol_; }
    // Temperature rise that counts: 5 K, in °F 9.
    int threshold() const;

    // Test hook: called before each step with its name; an exception thrown
    // here goes to the error dialog like any failure of the step.
    std::function<void(const QString& step)> beforeStep;

signals:
    void protocolChanged();
    void runningChanged(bool running);  // LockControl
    void progress(int percent);

private:
    struct ZoneSave {
        bool selected = false;
        bool excludedBroken = false;   // out of the test for a broken sensor
        bool touched = false;          // the run changed something of this zone
        std::uint8_t mode = 0;
        bool modeKnown = false;
        bool modeChanged = false;
        std::int32_t output = 0;
        bool outputKnown = false;
        bool outputChanged = false;
        std::int32_t supervision = 0;
        bool supervisionKnown = false;
        bool supervisionChanged = false;
        std::int32_t start = 0;        // start temperature, -10024 when not measured
        std::int32_t setpoint = 0;     // saved by the emergency stop
        bool setpointKnown = false;
    };
    struct ControllerSave {
        QString apm;                   // "????" when it could not be read
        bool apmZeroed = false;
    };
    enum class Answer { Done, Ignored, End };

    // AddMsg(text, -1, kind) and the rewrite of a remembered line.
    int AddMsg(const QString& text, LineKind kind);
    int rewriteMsg(int index, const QString& text, LineKind kind);

    int SaveZEVconfig();
    int CheckStartTemperatur(int limit);
    int TriacCheck();
    int EmergencyStop(int controller, int temperature);
    int WiringCheck();
    int wireZone(int zone);
    void RestoreZEVconfig();
    void stopHeating();

    // Reads and writes with the operator's retry.
    Answer retry(const std::function<bool()>& attempt, const QString& text, bool canEnd);
    bool writeZone(int zone, int code, int value);
    std::int32_t actual(int zone);
    bool brokenSensor(int zone);
    QStringList GetMasterAnswers(const QString& command);
    QString ask(int controller, const QString& command);
    bool yieldAndStopped();
    qint64 nowMs() const;
    QString unit() const;
    QString zoneName(int zone) const;

    AppContext& ctx_;
    RunningProtocol protocol_;
    std::vector<ZoneSave> zones_;
    std::vector<ControllerSave> controllers_;
    int triacTime_ = 0;
    int heatedZone_ = 0;     // the zone the wiring check drives now
    bool stopFlag_ = false;
    bool running_ = false;
};

}  // namespace zev
