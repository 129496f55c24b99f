// Controller-wide behaviour: identification answers, global values, outputs on
// and off, the high limit's main contactor, the clock, structure limits and
// concurrent use from two threads.
#include "plant/plant.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

using namespace zevsim;

namespace {

ControllerConfig make(int channels, bool slave, int az = 12, bool fahrenheit = false, std::string type = "ZEV-16") {
    ControllerConfig c;
    c.channels = channels;
    c.slave = slave;
    c.az = az;
    c.fahrenheit = fahrenheit;
    c.type = std::move(type);
    return c;
}

}  // namespace

TEST(Controller, IdentificationAnswersForMastersAndSlaves) {
    Plant plant({make(16, false), make(8, true), make(4, false, 7, true, "ZEV-8 compact")});
    EXPECT_EQ(plant.readGlobal(1, "?KAN"), "0016");
    EXPECT_EQ(plant.readGlobal(2, "KAN"), "0008");
    EXPECT_EQ(plant.readGlobal(1, "?AZ#"), "0012");
    EXPECT_EQ(plant.readGlobal(3, "?AZ#"), "0007");
    EXPECT_EQ(plant.readGlobal(1, "?DTP"), "0001");
    EXPECT_EQ(plant.readGlobal(2, "?DTP"), "0002");
    EXPECT_EQ(plant.readGlobal(3, "?DTP"), "0001");
    EXPECT_EQ(plant.readGlobal(1, "?TYP"), "ZEV-16");
    EXPECT_EQ(plant.readGlobal(3, "?TYP"), "ZEV-8 com") << "cut to 9 characters";
    EXPECT_EQ(plant.readGlobal(1, "?UNT"), "0000");
    EXPECT_EQ(plant.readGlobal(3, "?UNT"), "0001");
    EXPECT_EQ(plant.readGlobal(1, "?XYZ"), std::nullopt);
    EXPECT_EQ(plant.readGlobal(4, "?KAN"), std::nullopt);
    EXPECT_EQ(plant.masterOf(2), 1);
    EXPECT_EQ(plant.masterOf(3), 3);
    EXPECT_EQ(plant.masterOf(4), 0);
    EXPECT_EQ(plant.zoneCount(), 28);
    EXPECT_FALSE(plant.present(0));
    EXPECT_EQ(plant.config(9).channels, 0);
}

TEST(Controller, GlobalValuesAreCheckedAndSharedByTheCabinet) {
    Plant plant({make(4, false), make(4, true)});
    EXPECT_EQ(plant.readGlobal(1, "?HIW"), "0500");
    EXPECT_EQ(plant.readGlobal(1, "?APM"), "0001");
    EXPECT_TRUE(plant.writeGlobal(2, "?HIW", 320)) << "a slave's write goes to its cabinet";
    EXPECT_EQ(plant.readGlobal(1, "?HIW"), "0320");
    EXPECT_FALSE(plant.writeGlobal(1, "?HIW", 1000));
    EXPECT_FALSE(plant.writeGlobal(1, "?HIW", -1));
    EXPECT_FALSE(plant.writeGlobal(1, "?APM", 2));
    EXPECT_FALSE(plant.writeGlobal(1, "?UNT", 0)) << "read-only";
    EXPECT_FALSE(plant.writeGlobal(1, "?KAN", 0));
    EXPECT_FALSE(plant.writeGlobal(1, "?NOPE", 1));
    EXPECT_FALSE(plant.writeGlobal(3, "?HIW", 300));
    EXPECT_TRUE(plant.writeGlobal(1, "?APM", 0));
    EXPECT_EQ(plant.readGlobal(2, "?APM"), "0000");
}

TEST(Controller, OutputsOffStopsEveryHeaterOfTheCabinet) {
    Plant plant({make(2, false), make(2, true), make(2, false)});
    for (int a = 1; a <= 3; ++a) {
        plant.setOutput(a, 1, 80);
        plant.setMode(a, 1, 1);
    }
    ASSERT_TRUE(plant.writeGlobal(1, "?ENA", 0));
    EXPECT_FALSE(plant.outputsOn(1));
    EXPECT_FALSE(plant.outputsOn(2));
    EXPECT_TRUE(plant.outputsOn(3));
    EXPECT_EQ(plant.readGlobal(1, "?ENA"), "0000");
    plant.advance(30);
    EXPECT_NEAR(plant.actual(1, 1), 25, 1);
    EXPECT_NEAR(plant.actual(2, 1), 25, 1);
    EXPECT_GT(plant.actual(3, 1), 40);
    EXPECT_EQ(plant.currentTenths(1, 1), 0);
    EXPECT_EQ(plant.output(1, 1), 80) << "the controller still drives; the contactor is open";
    EXPECT_EQ(plant.statusWord(1, 1), 0x21) << "no current alarm while the outputs are off";
    ASSERT_TRUE(plant.writeGlobal(1, "?ENA", 1));
    plant.advance(30);
    EXPECT_GT(plant.actual(1, 1), 40);
}

// The diagnosis' emergency stop: the high limit is set to a temperature a zone
// has reached, and the main contactor of that cabinet must drop.
TEST(Controller, HighLimitDropsTheMainContactorUntilSwitchedOnAgain) {
    Plant plant({make(2, false), make(2, true), make(2, false)});
    plant.setOutput(1, 1, 100);
    plant.setMode(1, 1, 1);
    plant.setOutput(2, 2, 30);
    plant.setMode(2, 2, 1);
    plant.setOutput(3, 1, 30);
    plant.setMode(3, 1, 1);
    ASSERT_TRUE(plant.writeGlobal(1, "?HIW", 60));
    int seconds = 0;
    while (plant.outputsOn(1) && seconds < 120) {
        plant.advance(1);
        ++seconds;
    }
    ASSERT_FALSE(plant.outputsOn(1));
    EXPECT_GE(plant.actual(1, 1), 60);
    EXPECT_TRUE(plant.statusWord(1, 1) & status::AbsoluteTemperature);
    EXPECT_FALSE(plant.outputsOn(2)) << "the slave shares the contactor";
    EXPECT_TRUE(plant.outputsOn(3)) << "another cabinet keeps running";
    EXPECT_EQ(plant.currentTenths(2, 2), 0);
    const int peak = plant.actual(1, 1);
    plant.advance(60);
    EXPECT_LT(plant.actual(1, 1), peak) << "no more heating";

    ASSERT_TRUE(plant.writeGlobal(1, "?HIW", 500));
    EXPECT_FALSE(plant.outputsOn(1)) << "the trip is latched";
    EXPECT_FALSE(plant.statusWord(1, 1) & status::AbsoluteTemperature);
    ASSERT_TRUE(plant.writeGlobal(1, "?ENA", 1));
    EXPECT_TRUE(plant.outputsOn(1));
}

TEST(Controller, RestartReArmsTheContactor) {
    Plant plant({make(1, false)});
    plant.writeGlobal(1, "?HIW", 20);  // below the ambient reading: trips at once
    EXPECT_FALSE(plant.outputsOn(1));
    plant.writeGlobal(1, "?HIW", 500);
    plant.restart(1);
    EXPECT_TRUE(plant.outputsOn(1));
}

TEST(Controller, ClockRunsWithPlantTimeAndWrapsAtMidnight) {
    Plant plant({make(1, false)});
    plant.setClock(86400 - 30);
    plant.advance(45);
    EXPECT_EQ(plant.clock(), 15);
    plant.setClock(-5);  // normalised into the day
    EXPECT_EQ(plant.clock(), 86395);
}

TEST(Controller, StructureBeyondTheLimitsIsRefused) {
    EXPECT_THROW(Plant(std::vector<ControllerConfig>(28, make(1, false))), std::invalid_argument);
    EXPECT_THROW(Plant({make(33, false)}), std::invalid_argument);
    EXPECT_THROW(Plant({make(0, false)}), std::invalid_argument);
    // A line may offer more zones than the station takes (it stops at 270).
    EXPECT_NO_THROW(Plant(std::vector<ControllerConfig>(9, make(31, false))));  // 279 zones
    Plant empty({});
    EXPECT_EQ(empty.controllerCount(), 0);
    empty.advance(10);
    EXPECT_EQ(empty.readGlobal(1, "?KAN"), std::nullopt);
}

// The bus poller reads while the test thread writes and advances time.
TEST(Controller, ConcurrentReadsWritesAndAdvanceStayConsistent) {
    Plant plant({make(16, false), make(16, true)});
    std::atomic<bool> stop{false};
    std::atomic<long> reads{0};
    std::atomic<int> bad{0};
    std::thread poller([&] {
        while (!stop) {
            for (int a = 1; a <= 2; ++a) {
                for (int c = 1; c <= 16; ++c) {
                    const int actual = plant.actual(a, c);
                    if (actual < -50 || actual > 700) ++bad;
                    if (plant.statusWord(a, c) < 0) ++bad;
                    plant.output(a, c);
                    plant.currentTenths(a, c);
                }
                if (!plant.readGlobal(a, "?KAN")) ++bad;
                plant.zoneParameter(a, 1, 2);
            }
            ++reads;
        }
    });
    // Keep writing until the poller has also done a good number of rounds.
    for (int i = 0; (i < 200 || reads < 50) && i < 2'000'000; ++i) {
        plant.setSetpoint(1 + i % 2, 1 + i % 16, 150 + i % 50);
        plant.setMode(1 + i % 2, 1 + i % 16, 2);
        if (i % 50 == 0) plant.inject(Fault{FaultKind::ShortedTriac, 2, 1 + i % 16});
        plant.advance(i < 200 ? 1.0 : 0.1);
    }
    stop = true;
    poller.join();
    EXPECT_EQ(bad, 0);
    EXPECT_GE(reads, 50);
}
