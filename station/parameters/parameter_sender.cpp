#include "parameters/parameter_sender.h"

#include "parameters/change_plan.h"
#include "parameters/command_batch.h"
#include "parameters/controller_commands.h"
#include "parameters/operator_record.h"
#include "base/app_context.h"
#include "base/event_pump.h"
#include "base/ini_values.h"
#include "link/bus_link.h"
#include "link/link_session.h"
#include "link/zone_commands.h"
#include "plant/driver.h"
#include "plant/zone_table.h"
#include "support/notices.h"
#include "support/operator.h"
#include "support/texts.h"
#include "support/user_levels.h"

#include <algorithm>

namespace zev {

namespace {
constexpr int kSendLevel = 3;
constexpr int kAllOrMarked = 1112, kAllZones = 994, kOnlyMarked = 1010;
constexpr int kSend = 980, kChanged = 981;
constexpr int kParamSend = 1011, kParamChanged = 1012, kParamErrors = 1013;
constexpr int kModeSend = 982, kModeChanged = 983, kModeErrors = 1101;
constexpr int kGlobalSend = 1102, kGlobalChanged = 1103, kGlobalErrors = 1104;
constexpr char kAck = '\x06';

// The scan's block reads would sit between every two writes.
class PollingHold {
public:
    explicit PollingHold(LinkSession& link) : link_(link) { link_.holdPolling(true); }
    ~PollingHold() { link_.holdPolling(false); }
    PollingHold(const PollingHold&) = delete;
    PollingHold& operator=(const PollingHold&) = delete;

private:
    LinkSession& link_;
};
}  // namespace

void ParameterSender::showErrors(int sendText, int countText, int errorText, int count, int errors) {
    QString text = ctx_.texts(sendText) + QString::number(count) + ctx_.texts(countText);
    if (errors > 0) text += QStringLiteral("\r\n(") + QString::number(errors) + ctx_.texts(errorText);
    feedback_.setStatus(text);
}

bool ParameterSender::sendGlobal(int index, int target) {
    GlobalParameter& g = ctx_.driver.GlobalParameters[static_cast<std::size_t>(index)];
    const int old = g.Value;
    const QString command = g.Code + QLatin1Char('=') + fourDigits(target);
    bool acknowledged = false;
    for (int d : masterControllers(ctx_)) {
        // One master that takes it is enough: the others may have no such parameter.
        if (ctx_.bus.Ask(QStringLiteral("G") + twoDigits(d) + command) != QString(QLatin1Char(kAck))) continue;
        acknowledged = true;
        record_.controllerChanged(d, record_.valueChange(g.Name, old, target, QString()));
    }
    g.Value = static_cast<std::int16_t>(acknowledged ? target : kNoValue);
    return acknowledged;
}

SendOutcome ParameterSender::sendChangedParam(const std::vector<bool>& selected) {
    SendOutcome out;
    if (busy_ || !ctx_.users.CheckLevel(kSendLevel)) return out;
    const int zoneCount = std::min(ctx_.plant.ZoneCount, kMaxZones);
    int marked = 0;
    for (int z = 1; z <= zoneCount; ++z) marked += static_cast<std::size_t>(z) < selected.size() && selected[static_cast<std::size_t>(z)];
    std::vector<bool> zones;  // empty: every zone
    if (marked < zoneCount) {
        const int choice = ctx_.op.notice(ctx_.texts(kAllOrMarked), ctx_.texts(kAllZones), ctx_.texts(kOnlyMarked),
                                          QString(), kNoticeQuestion);
        if (choice == 2) zones = selected;
        else if (choice != 1) return out;
    }
    ChangePlan plan = planChanges(ctx_, zones);
    out.count = plan.count();
    if (plan.empty()) return out;

    // The globals' own levels: asked once, for the highest one among them.
    int highest = -1;
    for (const GlobalChange& g : plan.globals)
        if (g.sendable) highest = std::max<int>(highest, ctx_.driver.GlobalParameters[static_cast<std::size_t>(g.index)].Level);
    if (highest >= 0 && !ctx_.users.granted(highest)) ctx_.users.CheckLevel(highest);
    std::erase_if(plan.globals, [&](const GlobalChange& g) {
        const bool above = !ctx_.users.granted(ctx_.driver.GlobalParameters[static_cast<std::size_t>(g.index)].Level);
        out.heldBack += above;
        return above;
    });

    busy_ = true;
    out.started = true;
    feedback_.setBusy(true);
    OperatorRecord::Command command(record_);
    ZoneCommands& commands = ctx_.link->commands();
    const int total = plan.count();
    int done = 0;
    auto step = [&] {
        ++done;
        feedback_.setProgress(done * 100 / std::max(1, total));
        ctx_.pump.yield();
    };
    showErrors(kSend, kChanged, kParamErrors, total, 0);
    // Zone order; within a zone its parameters 1..28, then its mode.
    struct Step {
        int zone;
        int code;  // parameter 1..28 or the mode's code
        int value;
        bool sendable;
    };
    std::vector<Step> steps;
    std::size_t m = 0;
    for (const ZoneParameterChange& c : plan.parameters) {
        for (; m < plan.modes.size() && plan.modes[m].zone < c.zone; ++m)
            steps.push_back({plan.modes[m].zone, ValueCode::Mode, plan.modes[m].mode, true});
        steps.push_back({c.zone, c.parameter, c.target, c.sendable});
    }
    for (; m < plan.modes.size(); ++m) steps.push_back({plan.modes[m].zone, ValueCode::Mode, plan.modes[m].mode, true});
    {
        const PollingHold hold(*ctx_.link);
        for (const Step& s : steps) {
            const bool mode = s.code == ValueCode::Mode;
            if (s.sendable && commands.write(s.zone, s.code, s.value, 0).accepted()) {
                ++out.sent;
            } else {
                ++out.errors;
                // Unknown from now on: red in the table, and changed again at the next comparison.
                if (!mode && s.sendable)
                    ctx_.driver.ZoneParameters[static_cast<std::size_t>(s.code)].Value[static_cast<std::size_t>(s.zone)] =
                        static_cast<std::int16_t>(kNoValue);
                if (mode) showErrors(kModeSend, kModeChanged, kModeErrors, total, out.errors);
                else showErrors(kParamSend, kParamChanged, kParamErrors, total, out.errors);
            }
            step();
        }
    }
    for (const GlobalChange& g : plan.globals) {
        if (g.sendable && sendGlobal(g.index, g.target)) {
            ++out.sent;
        } else {
            ++out.errors;
            showErrors(kGlobalSend, kGlobalChanged, kGlobalErrors, total, out.errors);
        }
        step();
    }
    feedback_.setProgress(0);
    if (out.errors == 0) feedback_.setStatus(QString());
    feedback_.setBusy(false);
    busy_ = false;
    return out;
}

}  // namespace zev
