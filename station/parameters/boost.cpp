#include "parameters/boost.h"

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
#include "base/clock.h"
#include "support/notices.h"
#include "support/texts.h"

#include <algorithm>

namespace zev {

Boost::Boost(AppContext& ctx, CommandFeedback& feedback, OperatorRecord& record)
    : ctx_(ctx), feedback_(feedback), record_(record) {
    saved_.fill(kNoValue);
}

int Boost::secondsLeft() const {
    if (!counting_) return -1;
    const qint64 elapsed = started_.msecsTo(ctx_.clock.now()) / 1000;
    return duration_ - static_cast<int>(std::max<qint64>(elapsed, 0));
}

QString Boost::countdownText() const {
    const int left = secondsLeft();
    return left >= 0 ? QString::number(left) + QStringLiteral(" s") : QString();
}

bool Boost::switchOn(const std::vector<bool>& SelectedZones) {
    if (active_) return true;
    const WriteRange range = ctx_.link->commands().range(ValueCode::Setpoint).value_or(WriteRange{});
    const int setMin = range.min, setMax = range.max;
    std::vector<ZoneWrite> writes;
    std::array<int, 271> planned{};
    planned.fill(kNoValue);
    const int count = std::min<int>(ctx_.plant.ZoneCount, static_cast<int>(SelectedZones.size()) - 1);
    for (int z = 1; z <= count; ++z) {
        const ZoneRecord& zone = ctx_.plant.zone(z);
        if (!SelectedZones[static_cast<std::size_t>(z)] || zone.ModeFlag) continue;
        const int saved = myGetValue(ctx_, z, ValueCode::Setpoint);
        if (saved == kNoValue || saved < setMin || saved > setMax) continue;
        const int power = ctx_.tool.Groups[std::min<std::size_t>(zone.Group, kGroupCount)].BoostPower;
        const int raised = std::min(saved + power, setMax);
        if (raised <= saved) continue;
        planned[static_cast<std::size_t>(z)] = saved;
        writes.push_back({z, raised});
    }
    if (writes.empty()) {
        tellOperator(ctx_.op, ctx_.texts, ctx_.texts(ParamText::NoZonesSelected));
        return false;
    }
    active_ = true;
    // The boost time is one value for all groups.
    duration_ = std::max<int>(0, ctx_.tool.Groups[1].BoostTime);
    started_ = ctx_.clock.now();
    counting_ = true;
    OperatorRecord::Command command(record_, ParamText::RecordBoostOn);
    CommandBatch batch(ctx_, feedback_);
    const BatchOutcome outcome =
        batch.run(ValueCode::Setpoint, writes,
                  {ParamText::ErrorsHeader, ParamText::NotSet, ParamText::Retry, ParamText::Cancel},
                  [&](int z) { return ctx_.texts(ParamText::SetValueOfZone) + QString::number(z); });
    saved_ = planned;
    for (int z : outcome.failed) saved_[static_cast<std::size_t>(z)] = kNoValue;
    return true;
}

void Boost::switchOff() {
    if (!active_) return;
    counting_ = false;
    active_ = false;
    std::vector<ZoneWrite> writes;
    for (int z = 1; z <= kMaxZones; ++z)
        if (saved_[static_cast<std::size_t>(z)] != kNoValue) writes.push_back({z, saved_[static_cast<std::size_t>(z)]});
    saved_.fill(kNoValue);
    if (writes.empty()) return;
    OperatorRecord::Command command(record_, ParamText::RecordBoostOff);
    CommandBatch batch(ctx_, feedback_);
    batch.run(ValueCode::Setpoint, writes,
              {ParamText::RestoreErrorsHeader, ParamText::NotSet, ParamText::RestoreRetry, ParamText::RestoreCancel},
              [&](int z) { return ctx_.texts(ParamText::BoostRestoring) + QString::number(z); });
}

void Boost::tick() {
    if (active_ && counting_ && secondsLeft() < 0) switchOff();
}

}  // namespace zev
