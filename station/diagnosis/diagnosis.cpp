#include "diagnosis/diagnosis.h"

#include "alarms/alarm_log.h"
#include "base/app_context.h"
#include "base/clock.h"
#include "base/event_pump.h"
#include "base/progress_line.h"
#include "link/bus_link.h"
#include "link/link_session.h"
#include "link/zone_commands.h"
#include "link/zone_values.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/operator.h"
#include "support/procedure.h"
#include "support/texts.h"

#include <algorithm>

namespace zev {

namespace {
const QString kModule = QStringLiteral("frmDiagnose");
constexpr int kUserSource = 212;  // "Benutzer": the source of the run's events
}  // namespace

Diagnosis::Diagnosis(AppContext& ctx, QObject* parent) : QObject(parent), ctx_(ctx) {}
Diagnosis::~Diagnosis() = default;

int Diagnosis::threshold() const { return ctx_.plant.TemperatureUnit.contains(QLatin1Char('F')) ? 9 : 5; }
QString Diagnosis::unit() const { return ctx_.plant.TemperatureUnit; }
QString Diagnosis::zoneName(int zone) const { return ctx_.plant.zone(zone).Name; }
qint64 Diagnosis::nowMs() const { return ctx_.clock.monotonicMs(); }

bool Diagnosis::yieldAndStopped() {
    ctx_.pump.yield();
    return stopFlag_;
}

int Diagnosis::AddMsg(const QString& text, LineKind kind) {
    const int i = protocol_.append(ctx_.clock.now().toString(QStringLiteral("HH:mm:ss")), text, kind);
    emit protocolChanged();
    return i;
}

int Diagnosis::rewriteMsg(int index, const QString& text, LineKind kind) {
    const int i = protocol_.rewrite(index, ctx_.clock.now().toString(QStringLiteral("HH:mm:ss")), text, kind);
    emit protocolChanged();
    return i;
}

int Diagnosis::GetCooldownTime(const std::vector<bool>& selected) const {
    int longest = 0;
    for (int z = 1; z <= ctx_.plant.ZoneCount && z < static_cast<int>(selected.size()); ++z) {
        const int g = ctx_.plant.zone(z).Group;
        if (selected[static_cast<std::size_t>(z)] && g >= 1 && g <= kGroupCount)
            longest = std::max<int>(longest, ctx_.tool.Groups[static_cast<std::size_t>(g)].DiagTime);
    }
    return longest;
}

int Diagnosis::DoDiagnose(const std::vector<bool>& selected) {
    if (running_) return -1;
    Texts& T = ctx_.texts;
    const int n = ctx_.plant.ZoneCount;
    zones_.assign(static_cast<std::size_t>(n) + 1, ZoneSave{});
    for (int z = 1; z <= n; ++z) {
        zones_[static_cast<std::size_t>(z)].selected = z < static_cast<int>(selected.size()) && selected[static_cast<std::size_t>(z)];
        zones_[static_cast<std::size_t>(z)].start = kNoValue;
    }
    triacTime_ = GetCooldownTime(selected);
    if (triacTime_ == 0) {
        ctx_.op.notice(T(593), T(193), {}, {}, kNoticePlain);
        return -1;
    }
    running_ = true;
    ctx_.link->setDiagnosisRunning(true);
    emit runningChanged(true);
    auto log = [&](int text) {
        if (ctx_.alarmLog)
            guarded(ctx_.errors, kModule, QStringLiteral("DoDiagnose"),
                    [&] { ctx_.alarmLog->ErrLog(0, T(kUserSource), 0, T(text)); });
    };
    log(594);
    protocol_.clear();
    emit protocolChanged();
    stopFlag_ = false;
    heatedZone_ = 0;
    AddMsg(T(598), LineKind::Information);

    int result = kDiagAborted;  // an error answered with "leave" ends the run as aborted
    {
        Procedure p(ctx_.errors, kModule, QStringLiteral("DoDiagnose"));
        auto run = [&](const char* name, const std::function<int()>& step) {
            int r = kDiagAborted;
            const bool done = p.step([&] {
                if (beforeStep) beforeStep(QString::fromLatin1(name));
                r = step();
            });
            return done ? r : kDiagAborted;
        };
        result = run("SaveZEVconfig", [&] { return SaveZEVconfig(); });
        if (result == kDiagPassed) {
            std::vector<bool> still(zones_.size());
            for (std::size_t z = 1; z < zones_.size(); ++z) still[z] = zones_[z].selected;
            triacTime_ = GetCooldownTime(still);
            if (std::none_of(still.begin(), still.end(), [](bool b) { return b; })) {
                AddMsg(T(599), LineKind::Information);
            } else {
                AddMsg(T(600), LineKind::Passed);
                result = run("CheckStartTemperatur",
                             [&] { return CheckStartTemperatur(ctx_.tool.Groups[1].StartTemp); });
                if (result == kDiagPassed) result = run("TriacCheck", [&] { return TriacCheck(); });
                if (result == kDiagPassed) result = run("WiringCheck", [&] { return WiringCheck(); });
            }
        }
    }
    emit progress(0);
    // Whatever ended the run: the heated zone's output first, then the restore.
    guarded(ctx_.errors, kModule, QStringLiteral("DoDiagnose"), [&] { stopHeating(); });
    switch (result) {
    case kDiagPassed: log(597); break;
    case kDiagEmergencyStop: AddMsg(T(601), LineKind::Abort); log(595); break;
    case kDiagStopped: AddMsg(T(602), LineKind::Abort); log(596); break;
    default: AddMsg(T(603), LineKind::Abort); log(596); break;
    }
    guarded(ctx_.errors, kModule, QStringLiteral("RestoreZEVconfig"), [&] { RestoreZEVconfig(); });
    AddMsg(T(604), LineKind::Information);
    running_ = false;
    ctx_.link->setDiagnosisRunning(false);
    emit runningChanged(false);
    return result;
}

Diagnosis::Answer Diagnosis::retry(const std::function<bool()>& attempt, const QString& text, bool canEnd) {
    Texts& T = ctx_.texts;
    for (;;) {
        if (attempt()) return Answer::Done;
        const int b = ctx_.op.notice(text, T(609), canEnd ? T(612) : T(610), {}, kNoticeQuestion);
        if (b == 1) continue;
        return canEnd ? Answer::End : Answer::Ignored;
    }
}

bool Diagnosis::writeZone(int zone, int code, int value) {
    return ctx_.link->commands().write(zone, code, value, 0).accepted();
}

std::int32_t Diagnosis::actual(int zone) {
    const std::int32_t x = myGetValue(ctx_, zone, ValueCode::ActualValue);
    return x < -1000 ? kNoValue : x;  // failed reads (-1..-3 are temperatures) come as the marker
}

bool Diagnosis::brokenSensor(int zone) {
    const std::int32_t s = myGetValue(ctx_, zone, ValueCode::StatusWord);
    return s >= 0 && (s & 0x8) != 0;
}

QString Diagnosis::ask(int controller, const QString& command) {
    return ctx_.bus.Ask(QStringLiteral("G%1").arg(controller, 2, 10, QLatin1Char('0')) + command);
}

QStringList Diagnosis::GetMasterAnswers(const QString& command) {
    QStringList out;
    for (int c = 1; c <= ctx_.plant.ControllerCount; ++c) {
        const QString reply = ctx_.bus.DirectAsk(QStringLiteral("G%1").arg(c, 2, 10, QLatin1Char('0')) + command);
        const qsizetype eq = reply.indexOf(QLatin1Char('='));
        out << (eq >= 0 ? reply.mid(eq + 1, 4) : QStringLiteral("????"));
    }
    return out;
}

int Diagnosis::CheckStartTemperatur(int limit) {
    Texts& T = ctx_.texts;
    bool asked = false;
    int line = -1;
    for (;;) {
        int highest = kNoValue, count = 0, warmZone = 0;
        for (int z = 1; z <= ctx_.plant.ZoneCount; ++z) {
            if (stopFlag_) return kDiagStopped;
            if (ctx_.plant.zone(z).ModeFlag) continue;
            const int x = actual(z);
            zones_[static_cast<std::size_t>(z)].start = x;
            if (x == kNoValue) continue;
            highest = std::max(highest, x);
            if (x > limit) {
                ++count;
                warmZone = z;
            }
        }
        if (highest <= limit) {
            if (line >= 0) rewriteMsg(line, T(628), LineKind::Passed);
            else AddMsg(T(628), LineKind::Passed);
            return kDiagPassed;
        }
        const QString text = count == 1
            ? zoneName(warmZone) + T(629) + QString::number(zones_[static_cast<std::size_t>(warmZone)].start) + unit() + T(630)
            : QString::number(count) + T(631) + QString::number(highest) + unit() + T(632);
        line = line >= 0 ? rewriteMsg(line, text, LineKind::Abort) : AddMsg(text, LineKind::Abort);
        if (!asked) {
            asked = true;
            if (ctx_.op.notice(text + QStringLiteral("\r\n") + T(633), T(634), T(635), {}, kNoticeQuestion) != 1)
                return kDiagStopped;
        }
        const qint64 next = nowMs() + 1000;
        while (nowMs() < next)
            if (yieldAndStopped()) return kDiagStopped;
    }
}

int Diagnosis::TriacCheck() {
    Texts& T = ctx_.texts;
    const int thr = threshold();
    const int countdown = AddMsg(QString::number(triacTime_) + T(636), LineKind::Information);
    const qint64 begin = nowMs();
    const qint64 end = begin + qint64(triacTime_) * 1000;
    while (nowMs() < end) {
        if (yieldAndStopped()) return kDiagStopped;
        for (int z = 1; z <= ctx_.plant.ZoneCount; ++z) {
            ZoneSave& s = zones_[static_cast<std::size_t>(z)];
            // A zone out for a broken sensor reads nothing true: never a reason to trip.
            if (ctx_.plant.zone(z).ModeFlag || s.excludedBroken) continue;
            const int x = actual(z);
            if (x != kNoValue && s.start != kNoValue && x >= s.start) {
                if (x - s.start >= thr) {
                    AddMsg(T(637) + zoneName(z) + T(638) + QString::number(s.start) + unit() + T(639) +
                               QString::number(x) + unit(),
                           LineKind::Fault);
                    const int master = ctx_.plant.Controllers.at(ctx_.plant.zone(z).BusAddress).MasterAddress;
                    return EmergencyStop(master, x);
                }
            } else if (x != kNoValue) {
                s.start = x;
            } else if (s.selected && brokenSensor(z)) {
                AddMsg(zoneName(z) + T(614), LineKind::Fault);
                s.selected = false;
                s.excludedBroken = true;
            }
        }
        const qint64 left = std::max<qint64>(0, (end - nowMs() + 999) / 1000);
        rewriteMsg(countdown, QString::number(left) + T(640), LineKind::Information);
        emit progress(static_cast<int>(std::clamp<qint64>((nowMs() - begin) * 100 / std::max<qint64>(1, end - begin), 0, 100)));
    }
    rewriteMsg(countdown, T(641), LineKind::Passed);
    return kDiagPassed;
}

int Diagnosis::EmergencyStop(int controller, int temperature) {
    Texts& T = ctx_.texts;
    for (int z = 1; z <= ctx_.plant.ZoneCount; ++z) {
        ZoneSave& s = zones_[static_cast<std::size_t>(z)];
        const std::int32_t w = myGetValue(ctx_, z, ValueCode::Setpoint);
        s.setpointKnown = w != kNoValue && w > -1000;
        s.setpoint = w;
    }
    const QString saved = ask(controller, QStringLiteral("?HIW="));
    const QString trip = QStringLiteral("?HIW=%1").arg(std::clamp(temperature, 0, 9999), 4, 10, QLatin1Char('0'));
    // A refused trip is not a protocol line only: the operator hears it until it works or he decides.
    for (;;) {
        if (ask(controller, trip) == QString(QChar(0x06))) break;
        AddMsg(T(642), LineKind::Fault);
        if (ctx_.op.notice(T(642), T(609), T(610), {}, kNoticeAlarm) != 1) return kDiagEmergencyStop;
    }
    auto wait = [&](int seconds) {
        const qint64 until = nowMs() + qint64(seconds) * 1000;
        while (nowMs() < until) ctx_.pump.yield();
    };
    wait(5);
    // The limit goes back only once the operator has seen the contactor off.
    ctx_.op.notice(T(702), T(703), {}, {}, kNoticeAlarm);
    if (saved.size() != 4 || ask(controller, QStringLiteral("?HIW=") + saved) != QString(QChar(0x06))) {
        AddMsg(T(643), LineKind::Fault);
        return kDiagEmergencyStop;
    }
    wait(5);
    for (int z = 1; z <= ctx_.plant.ZoneCount; ++z) {
        const ZoneRecord& r = ctx_.plant.zone(z);
        const ZoneSave& s = zones_[static_cast<std::size_t>(z)];
        if (!s.setpointKnown || ctx_.plant.Controllers.at(r.BusAddress).MasterAddress != controller) continue;
        if (myGetValue(ctx_, z, ValueCode::Setpoint) == s.setpoint) continue;
        retry([&] { return writeZone(z, ValueCode::Setpoint, s.setpoint); }, T(611) + zoneName(z), false);
    }
    return kDiagEmergencyStop;
}

}  // namespace zev
