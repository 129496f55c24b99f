#include "parameters/parameter_reader.h"

#include "parameters/change_plan.h"
#include "parameters/command_batch.h"
#include "parameters/controller_commands.h"
#include "base/app_context.h"
#include "plant/tool_data.h"
#include "link/bus_link.h"
#include "link/link_session.h"
#include "link/zone_commands.h"
#include "plant/driver.h"
#include "plant/zone_table.h"
#include "base/ini_values.h"
#include "base/event_pump.h"
#include "support/texts.h"

#include <cmath>

namespace zev {

namespace {
constexpr int kReceivingZoneParameters = 1115, kReceivingGlobal = 1114;
constexpr int kReceivingFailed = 1100, kFaultsOccurred = 984, kReceivingAddress = 1005, kParameter = 1006;
constexpr int kReceivingGlobals = 1113, kReceivingGlobalsFailed = 1051, kGlobalFaults = 1052;

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
        g.Value = static_cast<std::int16_t>(numberOf(ctx_.bus.Ask(prefix + g.Code + QLatin1Char('='))));
        if (g.Value == kNoValue) {
            ++errors;
            feedback_.setStatus(ctx_.texts(kReceivingGlobalsFailed) + QStringLiteral("\r\n(") + QString::number(errors) +
                                ctx_.texts(kGlobalFaults));
        }
        progress();
    }
    return errors;
}

int ParameterReader::ReceiveZonenParameter(int parameter) {
    int errors = 0;
    feedback_.setStatus(ctx_.texts(kReceivingZoneParameters));
    QString failure;  // the error count, shown under every status from the first error on
    // Controller by controller (all of them, not only masters), each parameter
    // one block read of all its channels.
    for (int d = 1; d <= ctx_.plant.ControllerCount; ++d) {
        std::vector<int> zones;
        for (int z = 1; z <= std::min(ctx_.plant.ZoneCount, kMaxZones); ++z)
            if (ctx_.plant.zone(z).BusAddress == d) zones.push_back(z);
        for (int p = 1; p <= kZoneParameterCount; ++p) {
            if (parameter != 0 && p != parameter) continue;
            const ZoneParameter& param = ctx_.driver.ZoneParameters[static_cast<std::size_t>(p)];
            if (!present(param) || zones.empty()) {
                progress();
                continue;  // the controller type has no such parameter: nothing to ask
            }
            feedback_.setStatus(ctx_.texts(kReceivingAddress) + QString::number(d) + ctx_.texts(kParameter) +
                                QString::number(p) + failure);
            const std::vector<int> values = ctx_.link->commands().readParameter(p, zones);
            bool missing = false;
            for (std::size_t i = 0; i < zones.size(); ++i) {
                missing = missing || values[i] == kNoValue;
                // The monitor flag follows its parameter whenever it is read.
                if (p == ctx_.driver.MonitorZoneParam && values[i] != kNoValue)
                    ctx_.plant.zone(zones[i]).ModeFlag = values[i] == 1;
            }
            if (missing) {
                ++errors;
                failure = QStringLiteral("\r\n") + ctx_.texts(kReceivingFailed) + QStringLiteral(" (") +
                          QString::number(errors) + ctx_.texts(kFaultsOccurred);
            }
            progress();
        }
        // The table wants what the zones do, where their status is known.
        for (int z : zones) ctx_.plant.zone(z).PrevMode = static_cast<std::int16_t>(modeWishOf(ctx_.plant.zone(z)));
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
            column.push_back(numberOf(ctx_.bus.Ask(prefix + g.Code + QLatin1Char('='))));
            if (grid.empty()) g.Value = static_cast<std::int16_t>(column.back());
        }
        grid.push_back(std::move(column));
        ctx_.pump.yield();
    }
    busy_ = false;
    return grid;
}

}  // namespace zev
