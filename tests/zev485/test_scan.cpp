// The cyclic scan against the in-process simulator: cached values of every
// kind, statistics, a silent and a garbling controller, repetitions, and what
// is never cached.
#include <atomic>
#include <condition_variable>
#include <mutex>

#include <gtest/gtest.h>

#include "bus_fixture.h"
#include "protocol/in_process_bus.h"
#include "zev485.h"
#include "zev485_diag.h"

using zevtest::comStatus;
using zevtest::get;

namespace {

constexpr int32_t kNoValue = -10024;

using zevsim::FaultKind;

// Every kind of every zone of the controller equals the plant's value.
void expectCacheMatchesPlant(zevsim::Plant& plant, int a) {
    for (int c = 1; c <= plant.config(a).channels; ++c) {
        SCOPED_TRACE(std::to_string(a) + "." + std::to_string(c));
        EXPECT_EQ(get(a, c, 1), plant.setpoint(a, c));
        EXPECT_EQ(get(a, c, 2), plant.actual(a, c));
        EXPECT_EQ(get(a, c, 3), plant.statusWord(a, c));
        EXPECT_EQ(get(a, c, 4), plant.output(a, c));
        EXPECT_EQ(get(a, c, 5), plant.currentTenths(a, c));
    }
}

class Scan : public ::testing::Test {
protected:
    void SetUp() override {
        ZEV485_ResComStatus();
        bus.plant().setNoise(0.0);
        ASSERT_TRUE(bus.plant().setSetpoint(1, 1, 220));
        ASSERT_TRUE(bus.plant().setMode(1, 1, 2));
        bus.advance(30.0);
    }
    zevsim::InProcessBus bus{zevtest::demoLine()};
};

}  // namespace

TEST_F(Scan, GetValGivesThePlantsValuesOnlyWhileTheyAreKnown) {
    ZEV485_SetOnline(1, 1);
    for (int kind = 1; kind <= 5; ++kind)
        EXPECT_EQ(get(1, 1, kind), kNoValue) << "before the first scan, kind " << kind;
    EXPECT_EQ(get(1, 1, 6), 0);

    bus.startScan();
    for (int a = 1; a <= 3; ++a)
        expectCacheMatchesPlant(bus.plant(), a);
    EXPECT_GT(get(1, 1, 2), 25);  // the zone is heating
    EXPECT_EQ(get(1, 1, 6), 1);
    // Outside the controllers: no value; "outputs on" is never claimed without a report.
    const std::tuple<int, int, int, int32_t> outside[] = {
        {2, 9, 2, kNoValue}, {2, 0, 2, kNoValue}, {1, 1, 7, kNoValue}, {4, 1, 3, kNoValue},
        {0, 1, 6, 0},        {150, 1, 6, 0},      {150, 1, 2, kNoValue},
    };
    for (const auto& [a, c, kind, expected] : outside)
        EXPECT_EQ(get(a, c, kind), expected) << a << "." << c << " kind " << kind;

    ZEV485_SetMasterPort(0, 0, 0, 0, 0);
    EXPECT_EQ(get(1, 1, 2), kNoValue) << "a closed port forgets everything";
    EXPECT_EQ(get(1, 1, 6), 0);
}

TEST_F(Scan, ChangesReachTheCache) {
    bus.startScan();
    bus.advance(60.0);
    ASSERT_TRUE(bus.plant().setSetpoint(2, 4, 180));
    ASSERT_EQ(ZEV485_SetGlobVal(1, "?ENA", 0), 0);
    ASSERT_TRUE(bus.waitForScan());
    expectCacheMatchesPlant(bus.plant(), 1);
    EXPECT_EQ(get(2, 4, 1), 180);
    EXPECT_EQ(get(1, 1, 6), 0);
    // An accepted setpoint is cached at once, without a scan; a refused one is not.
    ZEV485_EnableCyclicScan(0);
    ASSERT_EQ(ZEV485_SetValEx(1, 5, 0, 199), 0);
    EXPECT_EQ(get(1, 5, 1), 199);
    ASSERT_EQ(ZEV485_SetValEx(1, 5, 0, 9999), 1);
    EXPECT_EQ(get(1, 5, 1), 199);
}

TEST_F(Scan, StatisticsCountOnlineControllersAndOfflineForgetsValues) {
    bus.startScan();
    ASSERT_TRUE(bus.waitForScan());
    EXPECT_GE(comStatus(1).good, 2);
    EXPECT_EQ(comStatus(1).errors, 0);
    ZEV485_ResComStatus();
    EXPECT_EQ(comStatus(1).good, 0);
    int32_t good = -1;
    ZEV485_GetComStatus(200, &good, nullptr);  // out of range: zero, no crash
    EXPECT_EQ(good, 0);

    ZEV485_SetOnline(2, 0);
    ZEV485_ResComStatus();
    ASSERT_TRUE(bus.waitForScan());
    EXPECT_EQ(comStatus(2).good, 0);
    EXPECT_GT(comStatus(1).good, 0);
    EXPECT_EQ(get(2, 1, 2), kNoValue);
    EXPECT_EQ(get(2, 1, 3), kNoValue);
}

TEST_F(Scan, DisabledScanSendsNothing) {
    bus.startScan();
    ZEV485_EnableCyclicScan(0);
    // At most the telegram already under way finishes.
    bus.waitForScan(std::chrono::milliseconds(50));
    const auto before = bus.responder().counts().blockReads;
    EXPECT_FALSE(bus.waitForScan(std::chrono::milliseconds(60)));
    EXPECT_EQ(bus.responder().counts().blockReads, before);
}

TEST_F(Scan, SilentControllerReadsAsCommunicationFailureAndRecovers) {
    bus.startScan();
    ZEV485_ResComStatus();
    ASSERT_TRUE(bus.plant().inject({FaultKind::ControllerSilent, 2}));
    ASSERT_TRUE(bus.waitForScan());
    for (int c = 1; c <= 8; ++c) {
        EXPECT_EQ(get(2, c, 3), -1);  // no answer
        for (int kind : {1, 2, 4, 5})
            EXPECT_EQ(get(2, c, kind), kNoValue);
    }
    EXPECT_GT(comStatus(2).errors, 0);
    expectCacheMatchesPlant(bus.plant(), 1);
    expectCacheMatchesPlant(bus.plant(), 3);

    ASSERT_TRUE(bus.plant().clear({FaultKind::ControllerSilent, 2}));
    ASSERT_TRUE(bus.waitForScan());
    expectCacheMatchesPlant(bus.plant(), 2);
}

TEST_F(Scan, FirstFailureCostsAllRepetitionsThenOneTryPerScan) {
    ASSERT_TRUE(bus.plant().inject({FaultKind::ControllerSilent, 1}));
    ZEV485_Set_AnzKan(1, 16);
    ZEV485_SetOnline(1, 1);
    const auto scansBefore = zev485::completedScans();
    ZEV485_EnableCyclicScan(1);
    ASSERT_TRUE(bus.waitForScan());
    ASSERT_TRUE(bus.waitForScan());
    ZEV485_EnableCyclicScan(0);
    bus.waitForScan(std::chrono::milliseconds(50));  // the telegram under way ends
    const auto scans = static_cast<int32_t>(zev485::completedScans() - scansBefore);
    // Default retry 2: three tries for the first failure, then one per scan
    // (plus at most one scan cut short by the switch-off).
    const auto c = comStatus(1);
    EXPECT_EQ(c.good, 0);
    EXPECT_GE(c.errors, 3 + scans - 1);
    EXPECT_LE(c.errors, 3 + scans);
    EXPECT_EQ(static_cast<std::uint64_t>(c.errors), bus.responder().counts().silent);
}

TEST(ScanRetries, ACommandIsTriedOncePlusItsRepetitions) {
    for (int retries : {0, 4}) {
        SCOPED_TRACE(retries);
        zevsim::InProcessBusOptions options;
        options.retries = retries;
        zevsim::InProcessBus bus(zevtest::demoLine(), options);
        ZEV485_ResComStatus();
        ASSERT_TRUE(bus.plant().inject({FaultKind::ControllerSilent, 1}));
        EXPECT_EQ(zevtest::ask("G01?KAN=").status, 2);  // no answer
        EXPECT_EQ(comStatus(1).errors, retries + 1);
        EXPECT_EQ(bus.responder().counts().silent, static_cast<std::uint64_t>(retries + 1));
    }
}

TEST_F(Scan, GarbledRepliesNeverReachTheCache) {
    bus.startScan();
    ASSERT_TRUE(bus.plant().inject({FaultKind::GarbledReplies, 1}));
    ZEV485_ResComStatus();
    for (int round = 0; round < 5; ++round) {
        ASSERT_TRUE(bus.waitForScan());
        // Either the failure or the plant's true value: never a damaged one.
        for (int c = 1; c <= 16; ++c) {
            if (const int32_t status = get(1, c, 3); status >= 0) {
                EXPECT_EQ(status, bus.plant().statusWord(1, c));
            }
            if (const int32_t actual = get(1, c, 2); actual != kNoValue) {
                EXPECT_EQ(actual, bus.plant().actual(1, c));
            }
        }
    }
    EXPECT_EQ(get(1, 1, 3), -2);  // damaged replies
    EXPECT_GT(comStatus(1).errors, 0);
    EXPECT_EQ(comStatus(1).good, 0);
    EXPECT_GT(bus.responder().counts().garbled, 4u);
    EXPECT_NE(zevtest::ask("G01?KAN=").status, 0);
    expectCacheMatchesPlant(bus.plant(), 2);

    ASSERT_TRUE(bus.plant().clear({FaultKind::GarbledReplies, 1}));
    ASSERT_TRUE(bus.waitForScan());
    expectCacheMatchesPlant(bus.plant(), 1);
}

TEST_F(Scan, WrongChannelCountIsNotCached) {
    ZEV485_Set_AnzKan(1, 12);  // the controller reports 16
    ZEV485_SetOnline(1, 1);
    ZEV485_EnableCyclicScan(1);
    ASSERT_TRUE(bus.waitForScan());
    EXPECT_EQ(get(1, 1, 3), -2);
    EXPECT_EQ(get(1, 1, 2), kNoValue);
    EXPECT_GT(comStatus(1).errors, 0);
}

namespace {

// Answers nothing; each telegram of the scan waits on the line until the test
// lets it pass.
class HoldingPeer final : public zev485::LoopbackPeer {
public:
    std::string exchange(std::string_view written) override {
        std::unique_lock lock(mutex);
        if (written.find("G00") != std::string_view::npos)
            return {};
        ++waiting;
        changed.notify_all();
        changed.wait(lock, [&] { return passes > 0; });
        --passes;
        --waiting;
        return {};
    }
    void let(int n) {
        std::lock_guard lock(mutex);
        passes += n;
        changed.notify_all();
    }
    bool waitingNow() {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return waiting > 0; });
    }
    std::mutex mutex;
    std::condition_variable changed;
    int passes = 0;
    int waiting = 0;
};

}  // namespace

// A scan that was under way while the set of controllers changed may have
// missed one: only scans that began afterwards count.
TEST(ScanCount, CountsOnlyScansThatBeganAfterTheLastChange) {
    auto peer = std::make_shared<HoldingPeer>();
    zevtest::PeerLine line(peer, 0);
    ASSERT_TRUE(line.opened);
    ZEV485_Set_AnzKan(1, 4);
    ZEV485_Set_AnzKan(2, 4);
    ZEV485_SetOnline(1, 1);
    ZEV485_EnableCyclicScan(1);
    ASSERT_TRUE(peer->waitingNow());
    const std::uint64_t done = zev485::completedScans();
    EXPECT_EQ(ZEV485_GetScanCount(), 0);
    ZEV485_SetOnline(2, 1);  // the scan on the line began without it
    peer->let(1);            // that scan ends; the next one waits at controller 1
    ASSERT_TRUE(zev485::waitForScans(done + 1, std::chrono::seconds(5)));
    ASSERT_TRUE(peer->waitingNow());
    EXPECT_EQ(ZEV485_GetScanCount(), 0) << "the scan under way does not count";
    EXPECT_EQ(get(2, 1, 3), kNoValue) << "not asked yet";
    peer->let(2);
    ASSERT_TRUE(zev485::waitForScans(done + 2, std::chrono::seconds(5)));
    EXPECT_EQ(ZEV485_GetScanCount(), 1);
    EXPECT_EQ(get(2, 1, 3), -1) << "asked and silent";
    ZEV485_EnableCyclicScan(0);
    EXPECT_EQ(ZEV485_GetScanCount(), 0);
    peer->let(100);
}
