// Saving the zones' and controllers' settings before the test and putting back
// exactly what the test changed afterwards.
#include "diagnosis/diagnosis.h"

#include "base/app_context.h"
#include "base/progress_line.h"
#include "link/bus_link.h"
#include "link/link_session.h"
#include "link/zone_commands.h"
#include "link/zone_values.h"
#include "plant/zone_table.h"
#include "support/operator.h"
#include "support/texts.h"

namespace zev {

namespace {
constexpr int kSupervision = 21;
constexpr std::int32_t kBrokenSensor = 0x8;

bool fourDigits(const QString& v) {
    if (v.size() != 4) return false;
    for (QChar c : v)
        if (!c.isDigit()) return false;
    return true;
}
}  // namespace

int Diagnosis::SaveZEVconfig() {
    Texts& T = ctx_.texts;
    ctx_.progress.setAction(T(605) + QLatin1Char(' ') + T(606));
    const QStringList apm = GetMasterAnswers(QStringLiteral("?APM="));
    controllers_.assign(static_cast<std::size_t>(ctx_.plant.ControllerCount) + 1, ControllerSave{});
    for (int c = 1; c <= ctx_.plant.ControllerCount; ++c) {
        ControllerSave& s = controllers_[static_cast<std::size_t>(c)];
        s.apm = apm.value(c - 1, QStringLiteral("????"));
        // A mode that could not be read is left alone: there would be nothing true to restore.
        if (s.apm == QLatin1String("0000") || !fourDigits(s.apm)) continue;
        s.apmZeroed = retry([&] { return ctx_.bus.SetGlobVal(c, "?APM", 0) == ZEV485_OK; },
                            T(607) + QString::number(c) + T(608), false) == Answer::Done;
    }

    for (int z = 1; z <= ctx_.plant.ZoneCount; ++z) {
        ZoneSave& s = zones_[static_cast<std::size_t>(z)];
        const Answer a = retry([&] { return myGetValue(ctx_, z, ValueCode::StatusWord) >= 0; }, T(611) + zoneName(z), true);
        if (a == Answer::End) return kDiagAborted;
        const ZoneRecord& r = ctx_.plant.zone(z);
        s.mode = r.Mode;
        s.modeKnown = true;
        if (!s.selected) continue;
        if (r.ModeFlag) {
            AddMsg(r.Name + T(613), LineKind::Fault);
            s.selected = false;
        } else if (r.StatusWord & kBrokenSensor) {
            AddMsg(r.Name + T(614), LineKind::Fault);
            s.selected = false;
            s.excludedBroken = true;
        } else if (r.Group == 0) {
            AddMsg(r.Name + T(615), LineKind::Fault);
            s.selected = false;
        }
    }

    for (int z = 1; z <= ctx_.plant.ZoneCount; ++z) {
        ZoneSave& s = zones_[static_cast<std::size_t>(z)];
        if (!s.selected) continue;
        const QString name = zoneName(z);
        const std::int32_t sup = myGetValue(ctx_, z, kSupervision);
        if (sup == 0 || sup == 1) {
            s.supervision = sup;
        } else {
            const int b = ctx_.op.notice(T(616) + name + T(617), T(618), T(619), T(612), kNoticeQuestion);
            if (b == 3) return kDiagAborted;
            s.supervision = b == 1 ? 1 : 0;
        }
        s.supervisionKnown = true;
        s.touched = true;
        if (retry([&] { return writeZone(z, kSupervision, 0); }, T(620) + name + T(621), false) == Answer::Done)
            s.supervisionChanged = true;
        s.outputKnown = retry([&] { return (s.output = myGetValue(ctx_, z, ValueCode::OutputRate)) >= 0; },
                              T(622) + name + T(623), false) == Answer::Done;
        if (!s.outputKnown || s.output != 0) {
            if (retry([&] { return writeZone(z, ValueCode::OutputRate, 0); }, T(622) + name + T(624), false) !=
                Answer::Done) {
                // Manual mode with an output we could not zero would heat uncontrolled.
                AddMsg(name + T(700), LineKind::Fault);
                s.selected = false;
                continue;
            }
            s.outputChanged = true;
        }
        if (s.mode != 1 &&
            retry([&] { return writeZone(z, ValueCode::Mode, 1); }, T(625) + name + T(626), false) == Answer::Done)
            s.modeChanged = true;
    }

    for (int z = 1; z <= ctx_.plant.ZoneCount; ++z) {
        ZoneSave& s = zones_[static_cast<std::size_t>(z)];
        // A monitor zone never heats, and its measuring mode could not be sent back.
        if (s.selected || s.mode == 0 || ctx_.plant.zone(z).ModeFlag) continue;
        s.touched = true;
        if (retry([&] { return writeZone(z, ValueCode::Mode, 0); }, T(625) + zoneName(z) + T(627), false) ==
            Answer::Done)
            s.modeChanged = true;
    }
    ctx_.progress.setAction({});
    return kDiagPassed;
}

void Diagnosis::RestoreZEVconfig() {
    Texts& T = ctx_.texts;
    ctx_.progress.setAction(T(659));
    for (int z = 1; z < static_cast<int>(zones_.size()); ++z) {
        const ZoneSave& s = zones_[static_cast<std::size_t>(z)];
        if (!s.touched) continue;
        const QString failed = T(611) + zoneName(z);
        // The output is a setting only in manual mode; it goes back while the zone is still manual.
        if (s.outputChanged && s.outputKnown && s.modeKnown && s.mode == 1)
            retry([&] { return writeZone(z, ValueCode::OutputRate, s.output); }, failed, false);
        if (s.supervisionChanged && s.supervisionKnown)
            retry([&] { return writeZone(z, kSupervision, s.supervision); }, failed, false);
        if (s.modeChanged && s.modeKnown && s.mode <= 2)
            retry([&] { return writeZone(z, ValueCode::Mode, s.mode); }, failed, false);
    }
    for (int c = 1; c < static_cast<int>(controllers_.size()); ++c) {
        const ControllerSave& s = controllers_[static_cast<std::size_t>(c)];
        if (!s.apmZeroed) continue;
        retry([&] { return ctx_.bus.SetGlobVal(c, "?APM", s.apm.toInt()) == ZEV485_OK; },
              T(607) + QString::number(c) + T(660), false);
    }
    ctx_.progress.setAction({});
}

}  // namespace zev
