#include "sim_bench.h"

#include "link/zone_commands.h"
#include "link/zone_values.h"
#include "base/settings.h"
#include "tools/active_tool.h"
#include "plant/zone_table.h"

namespace zev::test {

bool identifyAndHeat(TestContext& tc, zevsim::InProcessBus& bus, int setpoint) {
    AppContext& ctx = *tc.ctx;
    installDrivers(tc);
    {
        Settings::Batch batch(*tc.settings);
        LoadActiveTool(ctx);
    }
    tc.answer({QStringLiteral("2")});  // the new wiring: "Ja, weiter"
    tc.link->start(true);  // the program's start sequence: the tool's alarm log, identification
    if (ctx.plant.ZoneCount != bus.plant().zoneCount()) return false;
    for (int z = 1; z <= ctx.plant.ZoneCount; ++z) {
        if (!tc.link->commands().write(z, ValueCode::Setpoint, setpoint, 0).accepted()) return false;
        if (!tc.link->commands().write(z, ValueCode::Mode, 2, 0).accepted()) return false;
    }
    bus.plant().setNoise(0.0);
    bus.advance(900.0);
    return true;
}

void readZones(AppContext& ctx) {
    for (int z = 1; z <= ctx.plant.ZoneCount; ++z) {
        ZoneRecord& r = ctx.plant.zone(z);
        if (myGetValue(ctx, z, ValueCode::StatusWord) < 0) continue;
        r.Setpoint = static_cast<std::int16_t>(myGetValue(ctx, z, ValueCode::Setpoint));
        r.ActualValue = static_cast<std::int16_t>(myGetValue(ctx, z, ValueCode::ActualValue));
        r.OutputRate = static_cast<std::int16_t>(myGetValue(ctx, z, ValueCode::OutputRate));
        const int current = myGetValue(ctx, z, ValueCode::Current);
        if (current == kNoValue) continue;
        r.Current = current / 10.0F;
        r.CurrentText = QString::number(r.Current, 'f', 1);
    }
}

bool scanAndRead(AppContext& ctx, zevsim::InProcessBus& bus) {
    if (!bus.waitForScan()) return false;
    readZones(ctx);
    return true;
}

}  // namespace zev::test
