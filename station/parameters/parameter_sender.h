// sendChangedParam: sends what the loaded recipe wants and the controllers do
// not hold (change_plan.h), for every zone or only the marked ones: the zone
// parameters and modes through the zone commands, the global parameters to
// every master controller. A target outside its parameter's limits is never
// sent and counts as an error; globals above the operator's level stay unsent.
#pragma once

#include <vector>

namespace zev {

struct AppContext;
class CommandFeedback;
class OperatorRecord;

struct SendOutcome {
    bool started = false;  // level granted and something to send
    int count = 0;         // changes found
    int sent = 0;          // accepted by the controllers
    int errors = 0;        // refused, unanswered or unsendable
    int heldBack = 0;      // globals above the operator's level
};

class ParameterSender {
public:
    ParameterSender(AppContext& ctx, CommandFeedback& feedback, OperatorRecord& record)
        : ctx_(ctx), feedback_(feedback), record_(record) {}

    // selected: the view's SelectedZones (index = zone).
    SendOutcome sendChangedParam(const std::vector<bool>& selected);
    bool busy() const { return busy_; }

private:
    void showErrors(int sendText, int countText, int errorText, int count, int errors);
    bool sendGlobal(int index, int target);

    AppContext& ctx_;
    CommandFeedback& feedback_;
    OperatorRecord& record_;
    bool busy_ = false;
};

}  // namespace zev
