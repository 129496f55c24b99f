// The direct commands of the input tab and the zone parameter table on the
// selected zones: operating mode, setpoint and output rate (absolute or
// relative), self-tuning on/off, acknowledging a tuning fault, one zone
// parameter. Each demands its user level, marks the zones that need the
// change and writes them as one batch (command_batch.h).
#pragma once

#include <QString>
#include <vector>

namespace zev {

struct AppContext;
class CommandFeedback;
class OperatorRecord;

class ZoneInputCommands {
public:
    ZoneInputCommands(AppContext& ctx, CommandFeedback& feedback, OperatorRecord& record)
        : ctx_(ctx), feedback_(feedback), record_(record) {}

    // optMode(index): 0 off, 1 manual, 2 control. Manual never goes to a monitor zone.
    void setMode(const std::vector<bool>& SelectedZones, int index);
    // lblZoneVal(1) and (2): what is the setpoint (0) or the output rate (3000);
    // caption names the selection in the prompt.
    void enterValue(const std::vector<bool>& SelectedZones, int what, const QString& caption);
    // Check1: self-tuning on or off for the zones that can tune.
    void setTuning(const std::vector<bool>& SelectedZones, bool on);
    // cmdTune: acknowledges the tuning faults.
    void acknowledgeTuning(const std::vector<bool>& SelectedZones);
    // A click on row p of the zone parameter table.
    void setParameter(const std::vector<bool>& SelectedZones, int parameter);

private:
    // Zones the command may not reach, told to the operator: false when the
    // operator chose not to go on.
    bool tellRestricted(const std::vector<bool>& SelectedZones, int what, std::vector<int>* allowed);
    // Asks the value and writes it to the zones (relative entries per zone).
    void enterAndWrite(const std::vector<int>& zones, int what, const QString& prompt, int preset, int statusText,
                       const QString& statusTail, int header, int notSet, int retry, int cancel);

    AppContext& ctx_;
    CommandFeedback& feedback_;
    OperatorRecord& record_;
};

}  // namespace zev
