#include "parameters/operator_record.h"

#include "alarms/alarm_log.h"
#include "link/zone_values.h"
#include "parameters/parameter_texts.h"
#include "base/app_context.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "support/procedure.h"
#include "support/texts.h"
#include "support/user_levels.h"

namespace zev {

OperatorRecord::Command::Command(OperatorRecord& record, int causeText)
    : record_(record), savedLevel_(record.level_), savedCause_(record.cause_) {
    if (record_.level_ < 0) record_.level_ = record_.ctx_.users.UserLevel();
    if (causeText) record_.cause_ = causeText;
}

OperatorRecord::Command::~Command() {
    record_.level_ = savedLevel_;
    record_.cause_ = savedCause_;
}

QString OperatorRecord::valueChange(const QString& what, int oldValue, int newValue, const QString& unit) const {
    const QString tail = unit.isEmpty() ? QString() : QLatin1Char(' ') + unit;
    QString text = what;
    if (oldValue != kNoValue) text += QLatin1Char(' ') + QString::number(oldValue) + tail;
    return text + ctx_.texts(ParamText::To) + QString::number(newValue) + tail;
}

QString OperatorRecord::zoneChange(int, int what, int oldValue, int newValue) const {
    Texts& t = ctx_.texts;
    auto modeName = [&](int mode) {
        return mode >= 0 && mode <= 2 ? t(ParamText::ModeOff + mode) : t(ParamText::Measuring);
    };
    switch (what) {
    case ValueCode::Setpoint: return valueChange(t(ParamText::RecordSetpoint), oldValue, newValue, ctx_.plant.TemperatureUnit);
    case ValueCode::OutputRate: return valueChange(t(ParamText::RecordOutputRate), oldValue, newValue, QStringLiteral("%"));
    case ValueCode::Mode: {
        QString text = t(ParamText::RecordMode);
        if (oldValue != kNoValue) text += QLatin1Char(' ') + modeName(oldValue);
        return text + t(ParamText::To) + modeName(newValue);
    }
    case ValueCode::Tuning: return t(newValue ? ParamText::RecordTuningOn : ParamText::RecordTuningOff);
    case ValueCode::TuningAck: return t(ParamText::RecordTuningAck);
    default: break;
    }
    return valueChange(t(ParamText::RecordParameter) + QLatin1Char(' ') + QString::number(what), oldValue, newValue,
                       QString());
}

void OperatorRecord::zoneChanged(int zone, int what, int oldValue, int newValue) {
    write(ctx_.plant.zone(zone).Name, zone, zoneChange(zone, what, oldValue, newValue));
}

void OperatorRecord::controllerChanged(int address, const QString& change) {
    write(ctx_.texts(ParamText::Controller) + QString::number(address), address, change);
}

void OperatorRecord::write(const QString& source, int address, const QString& change) {
    AlarmLog* log = ctx_.alarmLog;
    if (!log) return;
    const int level = level_ >= 0 ? level_ : ctx_.users.UserLevel();
    QString text = change + QStringLiteral(" (") + ctx_.users.LevelName(level) + QLatin1Char(')');
    if (cause_) text = ctx_.texts(cause_) + QStringLiteral(": ") + text;
    // A record that cannot be written stays queued in the log; the error dialog
    // tells the operator once, and the command goes on.
    guarded(ctx_.errors, QStringLiteral("frmParameter"), QStringLiteral("OperatorRecord"),
            [&] { log->ErrLog(RecordType::Message, source, address, text); });
}

}  // namespace zev
