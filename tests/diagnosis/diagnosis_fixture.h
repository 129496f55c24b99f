// A mould of 24 zones on two simulated controllers, cold, in a mix of modes,
// outputs, setpoints, current supervision and automatic power mode, with the
// plant running four times as fast as the station's clock, and a snapshot of
// everything the wiring test may touch, read from the plant itself.
#pragma once

#include "sim_bench.h"

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

}  // namespace zev::test
