// The zone commands on the in-process simulator: what the checks refuse never
// reaches the line, a batch reports exactly the zones of a silent controller
// and a retry sends to those zones only, cancel stops a batch, and parameters
// are read with one block telegram per controller.
#include "sim_bench.h"

#include "link/link_session.h"
#include "link/zone_commands.h"
#include "plant/driver.h"
#include "plant/zone_table.h"

#include <gtest/gtest.h>

using namespace zev;
using zev::test::TestContext;
using zevsim::InProcessBus;

namespace {

class ZoneCommandsTest : public ::testing::Test {
protected:
    explicit ZoneCommandsTest(std::initializer_list<int> channels = {4, 4, 4}) : bus(zev::test::controllers(channels)) {
        ok = zev::test::identifyAndHeat(tc, bus, 200);
    }
    ZoneCommands& commands() { return tc.link->commands(); }
    // Telegrams of the station itself: every request but the scan's block reads.
    std::uint64_t commandTelegrams() const {
        const zevsim::ResponderCounts c = bus.responder().counts();
        return c.requests + c.silent - c.blockReads;
    }

    TestContext tc;
    InProcessBus bus;
    bool ok = false;
};

TEST_F(ZoneCommandsTest, RefusedWritesSendNothingAndChangeNothing) {
    ASSERT_TRUE(ok);
    // The driver's limits as this test states them: parameter 5 between 0 and
    // 50, parameter 7 read-only; zone 3 only measures.
    ZoneParameter& p5 = tc.driver.ZoneParameters[5];
    p5.Min = 0, p5.Max = 50, p5.Writable = true;
    ZoneParameter& p7 = tc.driver.ZoneParameters[7];
    p7.Min = 3, p7.Max = 3, p7.Writable = false;
    tc.plant.zone(3).ModeFlag = true;

    struct Case {
        const char* what;
        int zone, code, value;
        Refusal refusal;
    };
    const Case cases[] = {
        {"setpoint above 700", 2, ValueCode::Setpoint, 701, Refusal::OutOfRange},
        {"negative setpoint", 2, ValueCode::Setpoint, -1, Refusal::OutOfRange},
        {"the no-value marker", 2, ValueCode::Setpoint, kNoValue, Refusal::NoValue},
        {"parameter above the driver's Max", 2, 5, 51, Refusal::OutOfRange},
        {"read-only parameter", 2, 7, 3, Refusal::ReadOnly},
        {"manual mode for a monitor zone", 3, ValueCode::Mode, 1, Refusal::MonitorZone},
        {"output rate for a monitor zone", 3, ValueCode::OutputRate, 20, Refusal::MonitorZone},
        {"mode 3 cannot be set", 2, ValueCode::Mode, 3, Refusal::OutOfRange},
        {"zone beyond ZoneCount", 13, ValueCode::Setpoint, 200, Refusal::NoZone},
    };
    for (const Case& c : cases) {
        const std::uint64_t before = commandTelegrams();
        const WriteResult r = commands().write(c.zone, c.code, c.value, 0);
        EXPECT_EQ(r.refusal, c.refusal) << c.what;
        EXPECT_FALSE(r.sent()) << c.what;
        EXPECT_EQ(commandTelegrams(), before) << c.what << ": a telegram went out";
    }
    // A user level the operator does not reach: nothing goes out, not even in a batch.
    tc.users->loadLevelNames();
    tc.users->loadPasswords();
    const std::uint64_t beforeLevel = commandTelegrams();
    tc.answer({QStringLiteral("1"), QStringLiteral("1")});  // no login, twice
    EXPECT_EQ(commands().write(2, ValueCode::Setpoint, 210, 2).refusal, Refusal::Level);
    const BatchResult batch = commands().writeBatch({1, 2}, ValueCode::Setpoint, [](int) { return 210; }, 2);
    EXPECT_TRUE(batch.levelRefused);
    EXPECT_TRUE(batch.accepted.empty() && batch.failed.empty());
    EXPECT_EQ(commandTelegrams(), beforeLevel);

    EXPECT_EQ(bus.plant().setpoint(1, 2), 200);
    EXPECT_EQ(tc.plant.zone(2).Setpoint, 200);
    EXPECT_EQ(tc.plant.zone(3).Mode, 2);

    // The same zones take what is allowed, one telegram each.
    const std::uint64_t before = commandTelegrams();
    EXPECT_TRUE(commands().write(2, ValueCode::Setpoint, 450, 0).accepted());
    EXPECT_TRUE(commands().write(2, 5, 50, 0).accepted());
    EXPECT_TRUE(commands().write(3, ValueCode::Mode, 0, 0).accepted());
    EXPECT_EQ(commandTelegrams(), before + 3);
    EXPECT_EQ(bus.plant().setpoint(1, 2), 450);
    EXPECT_EQ(bus.plant().zoneParameter(1, 2, 5), 50);
    EXPECT_EQ(tc.plant.zone(2).Setpoint, 450);
    EXPECT_EQ(tc.driver.ZoneParameters[5].Value[2], 50);
    EXPECT_EQ(tc.plant.zone(3).Mode, 0);
}

TEST_F(ZoneCommandsTest, ABatchReportsTheSilentControllersZonesAndTheRetrySendsOnlyToThem) {
    ASSERT_TRUE(ok);
    ASSERT_TRUE(bus.plant().inject({zevsim::FaultKind::ControllerSilent, 2}));
    std::vector<int> all(12);
    for (int z = 1; z <= 12; ++z) all[static_cast<std::size_t>(z - 1)] = z;
    QStringList progress;
    const BatchResult first = commands().writeBatch(
        all, ValueCode::Setpoint, [](int) { return 180; }, 0,
        [&](int zone) { return QStringLiteral("Setze Wert von Zone %1").arg(zone); });
    EXPECT_EQ(first.failed, (std::vector<int>{5, 6, 7, 8}));
    EXPECT_EQ(first.accepted, (std::vector<int>{1, 2, 3, 4, 9, 10, 11, 12}));
    EXPECT_TRUE(first.refused.empty());
    EXPECT_EQ(tc.progress.history.last(), "Setze Wert von Zone 12");
    EXPECT_EQ(tc.plant.zone(5).Setpoint, 200) << "a write that failed leaves the table alone";
    EXPECT_EQ(tc.plant.zone(4).Setpoint, 180);

    // The controller answers again; meanwhile zone 1 was changed at its controller.
    bus.plant().clearAllFaults();
    ASSERT_TRUE(bus.plant().setSetpoint(1, 1, 111));
    const std::uint64_t before = commandTelegrams();
    const BatchResult retry = commands().writeBatch(first.failed, ValueCode::Setpoint, [](int) { return 180; }, 0);
    EXPECT_EQ(retry.accepted, first.failed);
    EXPECT_TRUE(retry.failed.empty());
    EXPECT_EQ(commandTelegrams(), before + 4);
    for (int c = 1; c <= 4; ++c) EXPECT_EQ(bus.plant().setpoint(2, c), 180) << c;
    EXPECT_EQ(bus.plant().setpoint(1, 1), 111) << "the retry wrote to a zone that had not failed";
}

TEST_F(ZoneCommandsTest, CancelStopsTheBatchBeforeTheNextZone) {
    ASSERT_TRUE(ok);
    int written = 0;
    tc.pump.hook = [&] {
        if (++written == 2) commands().cancel();
    };
    const BatchResult r = commands().writeBatch({1, 2, 3, 4, 5}, ValueCode::Setpoint, [](int) { return 190; }, 0);
    tc.pump.hook = nullptr;
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(r.accepted, (std::vector<int>{1, 2}));
    EXPECT_EQ(r.failed, (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(bus.plant().setpoint(1, 3), 200);
    // The next batch is not cancelled by the old request.
    EXPECT_EQ(commands().writeBatch({3}, ValueCode::Setpoint, [](int) { return 190; }, 0).accepted, std::vector<int>{3});
}

TEST_F(ZoneCommandsTest, ParametersAreReadOneBlockPerController) {
    ASSERT_TRUE(ok);
    // Parameter 15 of the simulated controllers: the actual-value offset, -99..99.
    const int values[12] = {10, -10, 25, 0, 7, 8, 9, 99, 1, 2, -99, 4};
    for (int z = 1; z <= 12; ++z)
        ASSERT_TRUE(bus.plant().setZoneParameter((z - 1) / 4 + 1, (z - 1) % 4 + 1, 15, values[z - 1])) << z;
    const std::uint64_t before = commandTelegrams();
    const std::vector<int> read = commands().readParameter(15, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    EXPECT_EQ(commandTelegrams(), before + 3) << "one telegram per controller";
    EXPECT_EQ(read, (std::vector<int>{10, -10, 25, 0, 7, 8, 9, 99, 1, 2, -99, 4}));
    EXPECT_EQ(tc.driver.ZoneParameters[15].Value[2], -10);
    EXPECT_EQ(tc.driver.ZoneParameters[15].Value[8], 99);

    // A silent controller leaves its zones without value, the others still read.
    ASSERT_TRUE(bus.plant().inject({zevsim::FaultKind::ControllerSilent, 3}));
    const std::vector<int> partly = commands().readParameter(15, {4, 9});
    EXPECT_EQ(partly, (std::vector<int>{0, kNoValue}));
}

}  // namespace
