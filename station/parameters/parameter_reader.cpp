#include "parameters/parameter_reader.h"

#include "parameters/command_batch.h"
#include "parameters/controller_commands.h"
#include "parameters/zone_command_port.h"
#include "shell/app_context.h"
#include "shell/ini_values.h"
#include "support/event_pump.h"
#include "support/texts.h"

#include <cmath>

namespace zev {

namespace {
constexpr int kReceivingAddress = 1005, kParameterWord = 1006, kReceivingGlobal = 1114;

bool present(const ZoneParameter& p) { return !(p.Min == -2 && p.Max == -2); }

int numberOf(const QString& reply) {
    bool ok = false;
    const double v = reply.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) && std::abs(v) < 32768 ? static_cast<int>(std::lround(v)) : kNoValue;
}
}  // namespace

void ParameterReader::progress() {
    ++done_;
    feedback_.setProgress(done_ * 100 / std::max(1, total_));
    ctx_.pump.yield();
}

int ParameterReader::ReceiveParameter() {
    if (busy_ || !ctx_.driver.DriverLoaded) return -1;
    busy_ = true;
    feedback_.setBusy(true);
    done_ = 0;
    total_ = ctx_.plant.ControllerCount * kZoneParameterCount + static_cast<int>(ctx_.driver.GlobalParameters.size());
    int errors = ReceiveGlobalParameter();
    errors += ReceiveZonenParameter(0);
    feedback_.setStatus(QString());
    feedback_.setProgress(0);
    feedback_.setBusy(false);
    busy_ = false;
    return errors;
}

int ParameterReader::ReceiveGlobalParameter() {
    const std::vector<int> masters = masterControllers(ctx_);
    if (!ctx_.driver.DriverLoaded || masters.empty()) return 0;
    const QString prefix = QStringLiteral("G") + twoDigits(masters.front());
    int errors = 0;
    for (GlobalParameter& g : ctx_.driver.GlobalParameters) {
        feedback_.setStatus(ctx_.texts(kReceivingGlobal) + g.Name);
        g.Value = static_cast<std::int16_t>(numberOf(port_.ask(prefix + g.Code + QLatin1Char('='))));
        if (g.Value == kNoValue) ++errors;
        progress();
    }
    return errors;
}

int ParameterReader::ReceiveZonenParameter(int parameter) {
    int errors = 0;
    int offset = 0;
    std::vector<int> values;
    for (int d = 1; d <= ctx_.plant.ControllerCount && d < static_cast<int>(ctx_.plant.Controllers.size()); ++d) {
        const int channels = ctx_.plant.Controllers[static_cast<std::size_t>(d)].Channels;
        for (int p = 1; p <= kZoneParameterCount; ++p) {
            if (parameter != 0 && p != parameter) continue;
            ZoneParameter& param = ctx_.driver.ZoneParameters[static_cast<std::size_t>(p)];
            if (!present(param)) {
                progress();
                continue;  // the controller type has no such parameter: nothing to ask
            }
            feedback_.setStatus(ctx_.texts(kReceivingAddress) + QString::number(d) + ctx_.texts(kParameterWord) +
                                QString::number(p));
            const bool ok = port_.readParameterBlock(d, p, values);
            if (!ok) ++errors;
            for (int k = 1; k <= channels && offset + k <= kMaxZones; ++k) {
                const int z = offset + k;
                const int v = ok ? values[static_cast<std::size_t>(k - 1)] : kNoValue;
                param.Value[static_cast<std::size_t>(z)] = static_cast<std::int16_t>(v);
                if (ok && p == ctx_.driver.MonitorZoneParam) ctx_.plant.zone(z).ModeFlag = v == 1;
            }
            progress();
        }
        for (int k = 1; k <= channels && offset + k <= kMaxZones; ++k) {
            ZoneRecord& zone = ctx_.plant.zone(offset + k);
            zone.PrevMode = zone.Mode;
        }
        offset += channels;
    }
    return errors;
}

std::vector<std::vector<int>> ParameterReader::readGlobalGrid() {
    std::vector<std::vector<int>> grid;
    if (!ctx_.driver.DriverLoaded || busy_) return grid;
    busy_ = true;
    for (int d : masterControllers(ctx_)) {
        const QString prefix = QStringLiteral("G") + twoDigits(d);
        std::vector<int> column;
        for (GlobalParameter& g : ctx_.driver.GlobalParameters) {
            column.push_back(numberOf(port_.ask(prefix + g.Code + QLatin1Char('='))));
            if (grid.empty()) g.Value = static_cast<std::int16_t>(column.back());
        }
        grid.push_back(std::move(column));
        ctx_.pump.yield();
    }
    busy_ = false;
    return grid;
}

}  // namespace zev
