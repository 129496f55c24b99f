// Boost: the selected zones' setpoints are raised by their group's boost power
// for the boost time, then restored. A state machine driven by the clock:
// switchOn saves and raises, tick (every second) counts down by the clock and
// ends boost directly once the time has run out, switchOff restores. Only zones
// that were actually raised keep a saved setpoint, and only those are restored.
#pragma once

#include <QDateTime>
#include <QString>
#include <array>
#include <vector>

namespace zev {

struct AppContext;
class CommandFeedback;
class OperatorRecord;

class Boost {
public:
    Boost(AppContext& ctx, CommandFeedback& feedback, OperatorRecord& record);

    bool active() const { return active_; }
    // Seconds left as the label shows them ("12 s"); empty when boost is off.
    QString countdownText() const;
    // The setpoint before boost, kNoValue for a zone not boosted.
    int SavedSetpoint(int zone) const { return saved_[static_cast<std::size_t>(zone)]; }

    // Raises the selected zones that are no monitor zones and whose setpoint is
    // known, capped at the setpoint range. False, with "Keine Zonen ausgewählt.",
    // when no zone would be raised; nothing is sent then.
    bool switchOn(const std::vector<bool>& SelectedZones);
    // Stops the countdown and restores the saved setpoints.
    void switchOff();
    // TimerSecond: follows the clock; at the end of the time boost is switched off.
    void tick();

private:
    int secondsLeft() const;

    AppContext& ctx_;
    CommandFeedback& feedback_;
    OperatorRecord& record_;
    bool active_ = false;
    bool counting_ = false;
    QDateTime started_;
    int duration_ = 0;
    std::array<int, 271> saved_{};
};

}  // namespace zev
