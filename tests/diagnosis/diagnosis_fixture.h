// A mould of 24 zones on two simulated controllers, cold, in a mix of modes,
// outputs, setpoints, current supervision and automatic power mode, with the
// plant running four times as fast as the station's clock, and a snapshot of
// everything the wiring test may touch, read from the plant itself.
#pragma once

#include "sim_bench.h"

#include "base/settings.h"
#include "link/zone_commands.h"
#include "tools/active_tool.h"

#include "diagnosis/diagnosis.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zev::test {

struct PlantSnapshot {
    std::vector<int> modes, outputs, setpoints, supervision;
    std::vector<std::string> apm, hiw;
    bool operator==(const PlantSnapshot&) const = default;
};

class DiagnosisSim : public ::testing::Test {
protected:
    explicit DiagnosisSim(int language = 1) : tc(language) {}
    void SetUp() override;

    PlantSnapshot snapshot();
    std::vector<bool> all() const { return std::vector<bool>(static_cast<std::size_t>(tc.plant.ZoneCount) + 1, true); }
    // Protocol lines (message only) of a kind.
    QStringList lines(LineKind kind) const;
    int address(int zone) const { return tc.plant.zone(zone).BusAddress; }
    int channel(int zone) const { return tc.plant.zone(zone).Channel; }

    TestContext tc;
    zevsim::InProcessBus bus{controllers({12, 12})};
    std::unique_ptr<Diagnosis> diag;
};



inline void DiagnosisSim::SetUp() {
    installDrivers(tc);
    {
        Settings::Batch batch(*tc.settings);
        LoadActiveTool(*tc.ctx);
    }
    tc.answer({QStringLiteral("2")});  // the new wiring: "Ja, weiter"
    tc.link->start(true);
    ASSERT_EQ(tc.plant.ZoneCount, 24);
    zevsim::Plant& p = bus.plant();
    p.setNoise(0.0);
    p.setAmbient(25.0);
    ASSERT_TRUE(p.writeGlobal(2, "APM", 0));
    for (int z = 1; z <= 24; ++z) {
        const int a = address(z), c = channel(z);
        tc.plant.zone(z).Group = static_cast<std::uint8_t>(z <= 12 ? 1 : 2);
        // off, manual at 2 %, control a little above ambient (a zone cooling by 5 K
        // would read as rising on a reversed thermocouple); supervision on every other zone
        const int mode = z % 3;
        ASSERT_TRUE(p.setSetpoint(a, c, 26 + z % 4));
        ASSERT_TRUE(p.setOutput(a, c, mode == 1 ? 2 : 0));
        ASSERT_TRUE(p.setMode(a, c, mode));
        ASSERT_TRUE(p.setZoneParameter(a, c, 21, z % 2));
    }
    for (int g = 1; g <= 2; ++g) {
        GroupRecord& gr = tc.tool.Groups[static_cast<std::size_t>(g)];
        gr.Name = QStringLiteral("Gruppe %1").arg(g);
        gr.Use = true;
        gr.DiagTime = 40;
        gr.DiagPower = 100;
        gr.StartTemp = 70;
    }
    bus.advance(600.0);
    ASSERT_TRUE(bus.waitForScan());
    // Four plant seconds for every second of the station's clock.
    tc.pump.step = 0.5;
    tc.pump.hook = [this] {
        bus.advance(2.0);
        bus.waitForScan();
    };
    diag = std::make_unique<Diagnosis>(*tc.ctx);
}

inline PlantSnapshot DiagnosisSim::snapshot() {
    zevsim::Plant& p = bus.plant();
    PlantSnapshot s;
    for (int z = 1; z <= 24; ++z) {
        const int a = address(z), c = channel(z);
        const int mode = (p.statusWord(a, c) & zevsim::status::ModeMask) >> 5;
        s.modes.push_back(mode);
        s.outputs.push_back(mode == 1 ? p.output(a, c) : -1);  // the output is a setting in manual mode only
        s.setpoints.push_back(p.setpoint(a, c));
        s.supervision.push_back(p.zoneParameter(a, c, 21).value_or(-1));
    }
    for (int a = 1; a <= 2; ++a) {
        s.apm.push_back(p.readGlobal(a, "APM").value_or("?"));
        s.hiw.push_back(p.readGlobal(a, "HIW").value_or("?"));
    }
    return s;
}

inline QStringList DiagnosisSim::lines(LineKind kind) const {
    QStringList out;
    for (const ProtocolLine& l : diag->protocol().lines())
        if (l.kind == kind) out << l.text.section(QLatin1Char('\t'), 1);
    return out;
}

}  // namespace zev::test
