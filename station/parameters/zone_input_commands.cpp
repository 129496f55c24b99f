#include "parameters/zone_input_commands.h"

#include "link/link_session.h"
#include "link/zone_commands.h"
#include "link/zone_values.h"
#include "parameters/command_batch.h"
#include "parameters/operator_record.h"
#include "parameters/parameter_texts.h"
#include "base/app_context.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/notices.h"
#include "support/operator.h"
#include "support/texts.h"
#include "support/user_levels.h"

namespace zev {

namespace {
std::vector<int> selectedList(const AppContext& ctx, const std::vector<bool>& sel) {
    std::vector<int> zones;
    for (std::size_t z = 1; z < sel.size() && static_cast<int>(z) <= ctx.plant.ZoneCount; ++z)
        if (sel[z]) zones.push_back(static_cast<int>(z));
    return zones;
}

int zoneValue(const ZoneRecord& zone, int what) { return what == ValueCode::Setpoint ? zone.Setpoint : zone.OutputRate; }
}  // namespace

void ZoneInputCommands::setMode(const std::vector<bool>& sel, int index) {
    if (index < 0 || index > 2 || !ctx_.users.CheckLevel(1)) return;
    OperatorRecord::Command command(record_);
    std::vector<ZoneWrite> writes;
    for (int z : selectedList(ctx_, sel)) {
        const ZoneRecord& zone = ctx_.plant.zone(z);
        const bool unknown = zone.StatusWord == kNoValue;
        const bool needs = zone.ModeFlag ? index != 1 && (zone.Mode != index || unknown) : zone.Mode != index || unknown;
        if (needs) writes.push_back({z, index});
    }
    static constexpr int kSuffix[] = {ParamText::ModeOffSuffix, ParamText::ModeManualSuffix, ParamText::ModeControlSuffix};
    CommandBatch(ctx_, feedback_)
        .run(ValueCode::Mode, writes, {ParamText::ModeHeader, ParamText::ModeNotSet, ParamText::ModeRetry, ParamText::ModeCancel},
             [&](int z) { return ctx_.texts(ParamText::ModeStatus) + QString::number(z) + ctx_.texts(kSuffix[index]); });
}

bool ZoneInputCommands::tellRestricted(const std::vector<bool>& sel, int what, std::vector<int>* allowed) {
    QString list;
    for (int z : selectedList(ctx_, sel)) {
        const ZoneRecord& zone = ctx_.plant.zone(z);
        const bool locked = what == ValueCode::Setpoint && ctx_.tool.Groups[std::min<std::size_t>(zone.Group, kGroupCount)].Lock_W;
        const bool monitor = what == ValueCode::OutputRate && zone.ModeFlag;
        if (locked) list += QStringLiteral("\r\n") + zone.Name + ctx_.texts(ParamText::SetpointBlocked);
        else if (monitor) list += QStringLiteral("\r\n") + zone.Name + ctx_.texts(ParamText::IsMonitorZone);
        else allowed->push_back(z);
    }
    if (list.isEmpty()) return true;
    // "Wiederholen" leaves the command so that the operator can choose again;
    // "Ignorieren" goes on without those zones.
    return ctx_.op.notice(ctx_.texts(ParamText::Restricted) + list, ctx_.texts(ParamText::Repeat),
                          ctx_.texts(ParamText::Ignore), QString(), kNoticeQuestion) == 2;
}

void ZoneInputCommands::enterValue(const std::vector<bool>& sel, int what, const QString& caption) {
    if ((what != ValueCode::Setpoint && what != ValueCode::OutputRate) || !ctx_.users.CheckLevel(1)) return;
    OperatorRecord::Command command(record_);
    std::vector<int> zones;
    if (!tellRestricted(sel, what, &zones)) return;
    if (zones.empty()) {
        tellOperator(ctx_.op, ctx_.texts, ctx_.texts(ParamText::NoZonesSelected));
        return;
    }
    const bool setpoint = what == ValueCode::Setpoint;
    const QString prompt = ctx_.texts(setpoint ? ParamText::SetpointPrompt : ParamText::OutputPrompt) +
                           ctx_.texts(setpoint ? ParamText::SetpointFor : ParamText::OutputFor) + caption;
    const int preset = zoneValue(ctx_.plant.zone(zones.front()), what);
    enterAndWrite(zones, what, prompt, preset == kNoValue ? 0 : preset, ParamText::SetValueOfZone, QString(),
                  ParamText::ErrorsHeader, ParamText::NotSet, ParamText::Retry, ParamText::Cancel);
}

void ZoneInputCommands::setParameter(const std::vector<bool>& sel, int p) {
    if (p < 1 || p > kZoneParameterCount) return;
    const ZoneParameter& param = ctx_.driver.ZoneParameters[static_cast<std::size_t>(p)];
    if (!param.Writable || param.Min == param.Max) return;
    if (!ctx_.users.CheckLevel(3)) return;
    OperatorRecord::Command command(record_);
    const std::vector<int> zones = selectedList(ctx_, sel);
    if (zones.empty()) {
        tellOperator(ctx_.op, ctx_.texts, ctx_.texts(ParamText::NoZonesSelected));
        return;
    }
    const int preset = param.Value[static_cast<std::size_t>(zones.front())];
    enterAndWrite(zones, p, param.Name, preset == kNoValue ? param.Min : preset, ParamText::ParamStatus,
                  QString::number(p) + ctx_.texts(ParamText::ParamOfZone), ParamText::ParamHeader,
                  ParamText::ParamNotSet, ParamText::ParamRetry, ParamText::ParamCancel);
}

void ZoneInputCommands::enterAndWrite(const std::vector<int>& zones, int what, const QString& prompt, int preset,
                                      int statusText, const QString& statusTail, int header, int notSet, int retry,
                                      int cancel) {
    const std::optional<WriteRange> range = ctx_.link->commands().range(what);
    if (!range) return;
    const int min = range->min, max = range->max;
    const NumberEntry entry = ctx_.op.enterNumber(prompt, min, max, preset, true);
    if (entry.result == 0) return;
    std::vector<ZoneWrite> writes;
    QStringList unsendable;
    for (int z : zones) {
        int value = entry.value;
        if (entry.result > 1) {
            // A relative entry is added to the zone's value read again now, and
            // checked after the addition.
            const int current = myGetValue(ctx_, z, what);
            const QString name = ctx_.plant.zone(z).Name + ctx_.texts(notSet);
            if (current == kNoValue) {
                unsendable << name + ctx_.texts(ParamText::ValueUnknown);
                continue;
            }
            value = current + entry.value;
            if (value < min || value > max) {
                unsendable << name + ctx_.texts(ParamText::OutOfRange);
                continue;
            }
        }
        writes.push_back({z, value});
    }
    const QString tail = statusTail;
    CommandBatch(ctx_, feedback_)
        .run(what, writes, {header, notSet, retry, cancel},
             [&](int z) {
                 return tail.isEmpty() ? ctx_.texts(statusText) + QString::number(z)
                                       : ctx_.texts(statusText) + tail + QString::number(z);
             },
             unsendable);
}

void ZoneInputCommands::setTuning(const std::vector<bool>& sel, bool on) {
    if (!ctx_.users.CheckLevel(2)) return;
    OperatorRecord::Command command(record_);
    std::vector<ZoneWrite> writes;
    for (int z : selectedList(ctx_, sel)) {
        const ZoneRecord& zone = ctx_.plant.zone(z);
        if (zone.ModeFlag) continue;
        if (zone.TuneState != (on ? 1 : 0) || zone.StatusWord == kNoValue) writes.push_back({z, on ? 1 : 0});
    }
    const int suffix = on ? ParamText::TuningSuffixOn : ParamText::TuningSuffixOff;
    CommandBatch(ctx_, feedback_)
        .run(ValueCode::Tuning, writes,
             {ParamText::TuningHeader, ParamText::TuningNotSet, ParamText::TuningRetry, ParamText::TuningCancel},
             [&](int z) { return ctx_.texts(ParamText::TuningStatus) + QString::number(z) + ctx_.texts(suffix); });
}

void ZoneInputCommands::acknowledgeTuning(const std::vector<bool>& sel) {
    if (!ctx_.users.CheckLevel(2)) return;
    OperatorRecord::Command command(record_);
    std::vector<ZoneWrite> writes;
    for (int z : selectedList(ctx_, sel))
        if (ctx_.plant.zone(z).TuneState == 2) writes.push_back({z, 1});
    CommandBatch(ctx_, feedback_)
        .run(ValueCode::TuningAck, writes,
             {ParamText::AckHeader, ParamText::AckNotSet, ParamText::AckRetry, ParamText::AckCancel},
             [&](int z) { return ctx_.texts(ParamText::AckStatus) + QString::number(z); });
}

}  // namespace zev
