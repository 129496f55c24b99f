// The reading pass and the zone commands never both decide about a setpoint:
// a setpoint our accepted write set is not recorded as a change seen on the
// zone, whether the library's cache shows it at once or a little later; a
// change made at the controller is recorded.
#include "../alarms/alarm_fixture.h"
#include "sim_bench.h"

#include "link/link_session.h"
#include "link/zone_commands.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"

#include <gtest/gtest.h>
#include <map>
#include <tuple>

using namespace zev;
using zev::test::TestContext;

namespace {

// The library's cache as the test sets it; writes are accepted, and the cache
// follows only when the test says so.
class StaleCacheBus final : public BusLink {
public:
    std::int32_t GetVal(int address, int channel, int kind) override {
        const auto it = values.find({address, channel, kind});
        if (it != values.end()) return it->second;
        return kind == 6 ? 0 : kNoValue;
    }
    ZEV485_Result SetValEx(int, int, int, int) override {
        ++writes;
        return ZEV485_OK;
    }
    std::map<std::tuple<int, int, int>, std::int32_t> values;
    int writes = 0;
};

std::vector<QString> setpointMessages(TestContext& tc) {
    std::vector<QString> out;
    for (const auto& r : zev::test::readRecords(tc.tool.LogFileDir + QStringLiteral("STOER.MDB"), QStringLiteral("WHERE Typ = 1")))
        out.push_back(r.adresse + QLatin1Char(' ') + r.meldung);
    return out;
}

TEST(ZonePoller, OwnSetpointIsNoChangeEvenBeforeTheCacheShowsItAControllersChangeIs) {
    StaleCacheBus bus;
    TestContext tc(1, &bus);
    tc.tool.LogFileDir = tc.home.file(QStringLiteral("TOOLS/T/LOGFILES/"));
    tc.link->start(false);  // the tool's alarm log
    tc.plant.ZoneCount = 2;
    tc.plant.ControllerCount = 1;
    for (int z = 1; z <= 2; ++z) {
        tc.plant.zone(z).Name = QStringLiteral("Düse %1").arg(z);
        bus.values[{1, z, 3}] = 0x41;  // control, no fault
        bus.values[{1, z, 1}] = 200;
    }
    tc.link->SetOnlineBetrieb(true);
    auto pass = [&] {
        tc.clock.advance(0.5);
        tc.link->readValues();
    };
    pass();
    ASSERT_EQ(tc.plant.zone(1).Setpoint, 200);

    ASSERT_TRUE(tc.link->commands().write(1, ValueCode::Setpoint, 230, 0).accepted());
    EXPECT_EQ(bus.writes, 1);
    EXPECT_EQ(tc.plant.zone(1).Setpoint, 230) << "the accepted write updates the table";
    pass();  // the cache still has the old value
    EXPECT_EQ(tc.plant.zone(1).Setpoint, 230);
    bus.values[{1, 1, 1}] = 230;
    pass();
    EXPECT_TRUE(setpointMessages(tc).empty());

    bus.values[{1, 1, 1}] = 250;  // changed at the controller
    bus.values[{1, 2, 1}] = 210;
    pass();
    EXPECT_EQ(setpointMessages(tc), (std::vector<QString>{QString::fromUtf8("1 Sollwertänderung von 230 °C auf 250 °C"),
                                                           QString::fromUtf8("2 Sollwertänderung von 200 °C auf 210 °C")}));

    // A controller that never shows our value has gone back to its own: after
    // two seconds that is a change like any other.
    ASSERT_TRUE(tc.link->commands().write(1, ValueCode::Setpoint, 260, 0).accepted());
    for (int i = 0; i < 5; ++i) pass();
    EXPECT_EQ(tc.plant.zone(1).Setpoint, 250);
    EXPECT_EQ(setpointMessages(tc).back(), QString::fromUtf8("1 Sollwertänderung von 260 °C auf 250 °C"));
    EXPECT_EQ(setpointMessages(tc).size(), 3u);
}

TEST(ZonePoller, OnTheSimulatorOurSetpointIsNoChangeTheControllersIs) {
    zevsim::InProcessBus bus(zev::test::controllers({4}));
    TestContext tc;
    ASSERT_TRUE(zev::test::identifyAndHeat(tc, bus, 200));
    ASSERT_TRUE(bus.waitForScan());
    tc.link->readValues();
    ASSERT_EQ(tc.plant.zone(2).Setpoint, 200);

    ASSERT_TRUE(tc.link->commands().write(2, ValueCode::Setpoint, 230, 0).accepted());
    ASSERT_TRUE(bus.waitForScan());
    tc.link->readValues();
    EXPECT_EQ(tc.plant.zone(2).Setpoint, 230);
    EXPECT_TRUE(setpointMessages(tc).empty());

    ASSERT_TRUE(bus.plant().setSetpoint(1, 2, 240));
    ASSERT_TRUE(bus.waitForScan());
    tc.link->readValues();
    EXPECT_EQ(setpointMessages(tc), std::vector<QString>{QString::fromUtf8("2 Sollwertänderung von 230 °C auf 240 °C")});
}

}  // namespace
