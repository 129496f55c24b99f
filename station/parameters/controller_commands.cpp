#include "parameters/controller_commands.h"

#include "parameters/operator_record.h"
#include "parameters/parameter_texts.h"
#include "base/app_context.h"
#include "plant/tool_data.h"
#include "link/bus_link.h"
#include "plant/driver.h"
#include "plant/zone_table.h"
#include "base/ini_values.h"
#include "support/notices.h"
#include "support/operator.h"
#include "support/texts.h"
#include "support/user_levels.h"

#include <zev485.h>

#include <cstdlib>

namespace zev {

namespace {
constexpr char kAck = '\x06';
}

std::vector<int> masterControllers(const AppContext& ctx) {
    std::vector<int> masters;
    for (int d = 1; d <= ctx.plant.ControllerCount && d < static_cast<int>(ctx.plant.Controllers.size()); ++d)
        if (ctx.plant.Controllers[static_cast<std::size_t>(d)].MasterAddress == d) masters.push_back(d);
    return masters;
}

QString fourDigits(int value) {
    const QString digits = QStringLiteral("%1").arg(std::abs(value), 4, 10, QLatin1Char('0'));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

void ControllerCommands::toggleOutputs() {
    if (!ctx_.users.CheckLevel(1)) return;
    SetOU(!ctx_.plant.OutputsOn);
}

void ControllerCommands::SetOU(bool on) {
    OperatorRecord::Command command(record_);
    for (int d : masterControllers(ctx_)) {
        while (true) {
            if (ctx_.bus.SetGlobVal(d, QByteArrayLiteral("?ENA"), on ? 1 : 0) == ZEV485_OK) {
                record_.controllerChanged(d, ctx_.texts(on ? ParamText::RecordOutputsOn : ParamText::RecordOutputsOff));
                break;
            }
            const QString text = ctx_.texts(ParamText::OutputsOfTower) + QString::number(d) +
                                 ctx_.texts(on ? ParamText::OutputsNotOn : ParamText::OutputsNotOff);
            if (ctx_.op.notice(text, ctx_.texts(ParamText::Repeat), ctx_.texts(ParamText::Ignore), QString(),
                               kNoticeQuestion) != 1)
                break;
        }
    }
    ctx_.plant.OutputsOn = on;
}

void ControllerCommands::restart() {
    if (ctx_.op.notice(ctx_.texts(ParamText::RestartQuestion), ctx_.texts(ParamText::RestartYes),
                       ctx_.texts(ParamText::RestartNo), QString(), kNoticeQuestion) != 1)
        return;
    if (!ctx_.users.CheckLevel(1)) return;
    OperatorRecord::Command command(record_);
    for (int d : masterControllers(ctx_)) {
        const QString prefix = QStringLiteral("G") + twoDigits(d);
        ctx_.bus.Ask(prefix + QStringLiteral("?ENA=0001"));
        ctx_.bus.Ask(prefix + QStringLiteral("XRES="));
        record_.controllerChanged(d, ctx_.texts(ParamText::RecordRestart));
    }
}

bool ControllerCommands::factorySettings() {
    if (!ctx_.users.CheckLevel(2)) return false;
    if (ctx_.op.notice(ctx_.texts(ParamText::FactoryQuestion), ctx_.texts(ParamText::Yes), ctx_.texts(ParamText::No),
                       QString(), kNoticeQuestion) != 1)
        return false;
    OperatorRecord::Command command(record_);
    for (int d : masterControllers(ctx_)) {
        ctx_.bus.Ask(QStringLiteral("G") + twoDigits(d) + QStringLiteral("XSTD="));
        record_.controllerChanged(d, ctx_.texts(ParamText::RecordFactory));
    }
    return true;
}

std::vector<GlobalCellResult> ControllerCommands::editGlobal(int g) {
    if (!ctx_.driver.DriverLoaded) {
        tellOperator(ctx_.op, ctx_.texts, ctx_.texts(ParamText::NoDriver));
        return {};
    }
    if (g < 0 || g >= static_cast<int>(ctx_.driver.GlobalParameters.size())) return {};
    GlobalParameter& p = ctx_.driver.GlobalParameters[static_cast<std::size_t>(g)];
    if (p.Min == p.Max) return {};
    const NumberEntry entry = ctx_.op.enterNumber(ctx_.texts(ParamText::InputOf) + p.Name, p.Min, p.Max,
                                                  p.Value == kNoValue ? p.Min : p.Value, false);
    if (entry.result != 1 || entry.value < p.Min || entry.value > p.Max) return {};
    if (!ctx_.users.CheckLevel(p.Level)) return {};
    OperatorRecord::Command command(record_);
    const int old = p.Value;
    std::vector<GlobalCellResult> cells;
    for (int d : masterControllers(ctx_)) {
        const QString reply =
            ctx_.bus.Ask(QStringLiteral("G") + twoDigits(d) + p.Code + QLatin1Char('=') + fourDigits(entry.value));
        const bool ack = reply == QString(QLatin1Char(kAck));
        cells.push_back({d, ack});
        if (ack) {
            p.Value = static_cast<std::int16_t>(entry.value);
            record_.controllerChanged(d, record_.valueChange(p.Name, old, entry.value, QString()));
        } else {
            p.Value = kNoValue;
        }
    }
    return cells;
}

}  // namespace zev
