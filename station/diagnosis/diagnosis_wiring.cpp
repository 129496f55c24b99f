// The wiring check: each selected zone heated in turn, the zones after it
// watched for a cross reaction.
#include "diagnosis/diagnosis.h"

#include "base/app_context.h"
#include "link/link_session.h"
#include "link/zone_commands.h"
#include "link/zone_values.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/texts.h"

#include <algorithm>

namespace zev {

namespace {
constexpr int kSupervision = 21;  // zone parameter: current supervision 1 on, 0 off
}

int Diagnosis::WiringCheck() {
    for (int z = 1; z <= ctx_.plant.ZoneCount; ++z) {
        if (!zones_[static_cast<std::size_t>(z)].selected) continue;
        const int r = wireZone(z);
        if (r != kDiagPassed) return r;
    }
    return kDiagPassed;
}

void Diagnosis::stopHeating() {
    if (heatedZone_ == 0) return;
    const int z = heatedZone_;
    // The output must reach 0 before anything else happens; the operator may retry for ever.
    retry([&] { return writeZone(z, ValueCode::OutputRate, 0); }, ctx_.texts(611) + zoneName(z), false);
    writeZone(z, kSupervision, 0);
    heatedZone_ = 0;
}

int Diagnosis::wireZone(int i) {
    Texts& T = ctx_.texts;
    const int thr = threshold();
    const ZoneRecord& zone = ctx_.plant.zone(i);
    const GroupRecord& group = ctx_.tool.Groups.at(zone.Group);
    const int power = group.DiagPower;
    const int seconds = group.DiagTime;
    ZoneSave& me = zones_[static_cast<std::size_t>(i)];
    auto currentText = [&] {
        const std::int32_t c = myGetValue(ctx_, i, ValueCode::Current);
        return c < 0 ? QStringLiteral("---") : QString::number(c / 10.0, 'f', 1);
    };

    int x0 = kNoValue;
    const qint64 validBy = nowMs() + qint64(seconds) * 1000;
    while ((x0 = actual(i)) == kNoValue) {
        if (brokenSensor(i) || nowMs() >= validBy) {
            AddMsg(T(648) + zone.Name + T(649), LineKind::Fault);
            return kDiagPassed;
        }
        if (yieldAndStopped()) return kDiagStopped;
    }

    heatedZone_ = i;
    me.touched = me.outputChanged = me.supervisionChanged = true;
    writeZone(i, ValueCode::OutputRate, power);
    writeZone(i, kSupervision, 1);
    AddMsg(zone.Name + QStringLiteral(" [") + group.Name + T(644) + QString::number(power) + QStringLiteral("%"),
           LineKind::Information);
    const QString goal = T(645) + zone.Name + QLatin1Char(' ') + QString::number(x0 + thr) + unit();
    const int waiting = AddMsg(goal + T(646) + QString::number(x0) + unit() + QLatin1Char(')'), LineKind::Information);

    const qint64 begin = nowMs();
    const qint64 end = begin + qint64(seconds) * 1000;
    int x = x0;
    bool answered = false;
    bool recorded = false;  // a fault of this zone is in the protocol already
    while (nowMs() < end) {
        if (yieldAndStopped()) return kDiagStopped;
        x = actual(i);
        if (x == kNoValue) {
            if (brokenSensor(i)) {
                AddMsg(T(648) + zone.Name + T(649), LineKind::Fault);
                recorded = true;
                break;
            }
            continue;
        }
        if (x - x0 >= thr) {
            answered = true;
            break;
        }
        if (x0 - x >= thr) {
            AddMsg(T(650) + zone.Name + T(651), LineKind::Fault);
            recorded = true;
            break;
        }
        for (int j = i + 1; j <= ctx_.plant.ZoneCount; ++j) {
            if (ctx_.plant.zone(j).ModeFlag) continue;
            const int xj = actual(j);
            if (xj == kNoValue) continue;
            ZoneSave& other = zones_[static_cast<std::size_t>(j)];
            if (other.start != kNoValue && other.start < xj && xj - other.start >= thr) {
                const std::int32_t s = myGetValue(ctx_, j, ValueCode::StatusWord);
                if (s >= 0 && (s & 0x8) == 0) {
                    rewriteMsg(waiting,
                               T(652) + zoneName(j) + T(653) + QString::number(other.start) + unit() + T(639) +
                                   QString::number(xj) + unit(),
                               LineKind::Fault);
                    stopHeating();
                    return kDiagAborted;
                }
            } else if (other.start == kNoValue || xj <= other.start) {
                other.start = xj;
            }
        }
        rewriteMsg(waiting,
                   goal + T(647) + QString::number(x) + unit() + QStringLiteral(" I= ") + currentText() +
                       QStringLiteral("A )"),
                   LineKind::Information);
        emit progress(static_cast<int>(std::clamp<qint64>((nowMs() - begin) * 100 / std::max<qint64>(1, end - begin), 0, 100)));
    }
    if (answered) {
        rewriteMsg(waiting,
                   zone.Name + T(656) + currentText() + T(657) + QString::number(x0) + unit() + T(639) +
                       QString::number(x) + unit() + T(658) + QString::number((nowMs() - begin + 500) / 1000) + T(655),
                   LineKind::Passed);
    } else if (!recorded) {
        rewriteMsg(waiting, T(654) + QString::number(seconds) + T(655), LineKind::Fault);
    }
    stopHeating();
    return kDiagPassed;
}

}  // namespace zev
