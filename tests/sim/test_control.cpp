// Control behaviour of a zone as the station sees it: heat-up, settling,
// manual output, self-tuning, limits, monitor zones, units and determinism.
#include "plant/plant.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace zevsim;

namespace {

ControllerConfig controller(int channels, bool fahrenheit = false, int az = 12) {
    ControllerConfig c;
    c.channels = channels;
    c.fahrenheit = fahrenheit;
    c.az = az;
    return c;
}

std::int32_t modeBits(std::int32_t s) { return (s & status::ModeMask) >> 5; }

}  // namespace

TEST(ZoneControl, NozzleReaches250FromColdInAFewMinutesAtFullPower) {
    Plant plant({controller(4)});
    ASSERT_TRUE(plant.setOutput(1, 1, 100));
    ASSERT_TRUE(plant.setMode(1, 1, 1));
    int seconds = 0;
    while (plant.actual(1, 1) < 250 && seconds < 900) {
        plant.advance(1.0);
        ++seconds;
    }
    EXPECT_GE(seconds, 90);
    EXPECT_LE(seconds, 300);
}

TEST(ZoneControl, ZonesInControlSettleNearTheirSetpointsWithoutAlarms) {
    Plant plant({controller(6)});
    for (int c = 1; c <= 6; ++c) {
        ASSERT_TRUE(plant.setSetpoint(1, c, 200 + 10 * c));
        ASSERT_TRUE(plant.setMode(1, c, 2));
    }
    std::int32_t seenBits = 0;
    int highest = 0;
    for (int i = 0; i < 900; ++i) {
        plant.advance(1.0);
        for (int c = 1; c <= 6; ++c) seenBits |= plant.statusWord(1, c);
        highest = std::max<int>(highest, plant.actual(1, 1) - 210);
    }
    for (int c = 1; c <= 6; ++c) {
        EXPECT_NEAR(plant.actual(1, c), 200 + 10 * c, 2) << "channel " << c;
        EXPECT_EQ(plant.statusWord(1, c), 0x41) << "channel " << c;  // control, no fault
        EXPECT_GT(plant.output(1, c), 15);
        EXPECT_LT(plant.output(1, c), 60);
        EXPECT_GT(plant.currentTenths(1, c), 10);  // heater current while it conducts
    }
    EXPECT_LE(highest, 5) << "overshoot of the heat-up";
    // Heat-up is no alarm: only the mode and no-fault bits were ever shown.
    EXPECT_EQ(seenBits, 0x41);
}

TEST(ZoneControl, ManualAndOffModesDriveTheOutputAsWritten) {
    Plant plant({controller(2)});
    ASSERT_TRUE(plant.setOutput(1, 1, 40));
    ASSERT_TRUE(plant.setMode(1, 1, 1));
    EXPECT_EQ(plant.output(1, 1), 40);
    EXPECT_EQ(plant.statusWord(1, 1), 0x21);
    const int before = plant.actual(1, 1);
    plant.advance(60);
    EXPECT_GE(plant.actual(1, 1), before + 20);
    EXPECT_GT(plant.currentTenths(1, 1), 10);

    ASSERT_TRUE(plant.setMode(1, 1, 0));
    EXPECT_EQ(plant.output(1, 1), 0);
    EXPECT_EQ(plant.statusWord(1, 1), 0x01);
    const int hot = plant.actual(1, 1);
    plant.advance(60);
    EXPECT_LT(plant.actual(1, 1), hot);
    EXPECT_EQ(plant.currentTenths(1, 1), 0);
}

TEST(ZoneControl, WritesOutsideTheLimitsAreRefused) {
    Plant plant({controller(2)});
    EXPECT_FALSE(plant.setSetpoint(1, 1, -1));
    EXPECT_FALSE(plant.setSetpoint(1, 1, 501));  // above "Sollwert max." (500)
    EXPECT_TRUE(plant.setSetpoint(1, 1, 500));
    ASSERT_TRUE(plant.setZoneParameter(1, 1, 10, 300));
    EXPECT_EQ(plant.setpoint(1, 1), 300) << "a lower maximum pulls the setpoint down";
    EXPECT_FALSE(plant.setSetpoint(1, 1, 350));
    EXPECT_FALSE(plant.setOutput(1, 1, 101));
    EXPECT_FALSE(plant.setOutput(1, 1, -1));
    EXPECT_FALSE(plant.setMode(1, 1, 3));
    EXPECT_FALSE(plant.setMode(1, 1, -1));
    EXPECT_FALSE(plant.setZoneParameter(1, 1, 2, 0));     // Xp below 1
    EXPECT_FALSE(plant.setZoneParameter(1, 1, 11, 1));    // read-only
    EXPECT_FALSE(plant.setZoneParameter(1, 1, 0, 1));
    EXPECT_FALSE(plant.setZoneParameter(1, 1, 29, 1));
    EXPECT_FALSE(plant.zoneParameter(1, 1, 27).has_value());  // the family has no parameter 27
    EXPECT_FALSE(plant.setSetpoint(1, 3, 100));           // no channel 3
    EXPECT_FALSE(plant.setSetpoint(2, 1, 100));           // no controller 2
    EXPECT_EQ(plant.actual(2, 1), kNoValue);
    EXPECT_EQ(plant.zoneParameter(1, 2, 26), 2);          // the channel parameter
}

TEST(ZoneControl, OutputLimitAndSoftStartCapTheManualOutput) {
    Plant plant({controller(1)});
    plant.setOutput(1, 1, 90);
    plant.setMode(1, 1, 1);
    ASSERT_TRUE(plant.setZoneParameter(1, 1, 5, 60));
    EXPECT_EQ(plant.output(1, 1), 60);
    ASSERT_TRUE(plant.setZoneParameter(1, 1, 14, 1));     // soft start below 100 degrees
    EXPECT_EQ(plant.output(1, 1), 30);
}

TEST(ZoneControl, SetpointRampLimitsTheRise) {
    Plant plant({controller(1)});
    ASSERT_TRUE(plant.setZoneParameter(1, 1, 1, 30));     // 30 degrees per minute
    plant.setSetpoint(1, 1, 230);
    plant.setMode(1, 1, 2);
    plant.advance(120);
    EXPECT_LE(plant.actual(1, 1), 25 + 60 + 6);
    EXPECT_GE(plant.actual(1, 1), 25 + 60 - 15);
}

TEST(ZoneControl, SelfTuningRunsSetsParametersAndEndsInControl) {
    Plant plant({controller(2)});
    plant.setSetpoint(1, 1, 230);
    ASSERT_TRUE(plant.setTuning(1, 1, true));
    EXPECT_EQ(plant.statusWord(1, 1) & 0x1E0, 0x140);     // tuning running, mode 2
    const int xp = *plant.zoneParameter(1, 1, 2), tn = *plant.zoneParameter(1, 1, 3);
    int seconds = 0;
    while ((plant.statusWord(1, 1) & status::Tuning) && seconds < 900) {
        plant.advance(1.0);
        ++seconds;
    }
    EXPECT_GT(seconds, 120) << "tuning ended implausibly fast";
    EXPECT_LT(seconds, 600);
    EXPECT_EQ(plant.statusWord(1, 1) & (status::Tuning | status::TuningFault), 0);
    EXPECT_EQ(modeBits(plant.statusWord(1, 1)), 2);
    EXPECT_TRUE(*plant.zoneParameter(1, 1, 2) != xp || *plant.zoneParameter(1, 1, 3) != tn);
    EXPECT_GT(*plant.zoneParameter(1, 1, 12), 10) << "nominal current learned";
    EXPECT_GT(*plant.zoneParameter(1, 1, 25), 300) << "heater power in watts";
    plant.advance(300);
    EXPECT_NEAR(plant.actual(1, 1), 230, 2);
    EXPECT_EQ(plant.statusWord(1, 1), 0x41);
}

TEST(ZoneControl, TuningFaultNeedsAcknowledgement) {
    Plant plant({controller(2)});
    plant.setSetpoint(1, 1, 230);
    ASSERT_TRUE(plant.inject(Fault{FaultKind::HeaterOpen, 1, 1}));
    ASSERT_TRUE(plant.setTuning(1, 1, true));
    plant.advance(180);  // no rise after two minutes of full output
    const auto s = plant.statusWord(1, 1);
    EXPECT_EQ(s & (status::Tuning | status::TuningFault), status::TuningFault);
    EXPECT_EQ(s & status::NoFault, 0);
    plant.advance(10);
    EXPECT_TRUE(plant.statusWord(1, 1) & status::TuningFault) << "the fault stays until acknowledged";
    ASSERT_TRUE(plant.ackTuningFault(1, 1));
    EXPECT_EQ(plant.statusWord(1, 1) & status::TuningFault, 0);

    // Without a measured value the run fails at once.
    ASSERT_TRUE(plant.inject(Fault{FaultKind::BrokenSensor, 1, 2}));
    ASSERT_TRUE(plant.setTuning(1, 2, true));
    plant.advance(0.2);
    EXPECT_TRUE(plant.statusWord(1, 2) & status::TuningFault);
}

TEST(ZoneControl, TuningOffStopsWithoutFaultAndRestartStopsItToo) {
    Plant plant({controller(2)});
    plant.setSetpoint(1, 1, 230);
    plant.setSetpoint(1, 2, 230);
    plant.setTuning(1, 1, true);
    plant.setTuning(1, 2, true);
    plant.advance(30);
    ASSERT_TRUE(plant.setTuning(1, 1, false));
    EXPECT_EQ(plant.statusWord(1, 1) & (status::Tuning | status::TuningFault), 0);
    plant.restart(1);
    EXPECT_EQ(plant.statusWord(1, 2) & (status::Tuning | status::TuningFault), 0);
    EXPECT_EQ(plant.setpoint(1, 2), 230) << "a restart keeps the values";
    EXPECT_EQ(modeBits(plant.statusWord(1, 2)), 2);
}

TEST(ZoneControl, MonitorZoneOnlyMeasures) {
    Plant plant({controller(2)});
    ASSERT_TRUE(plant.setZoneParameter(1, 1, 24, 1));
    EXPECT_FALSE(plant.setMode(1, 1, 1));
    EXPECT_FALSE(plant.setOutput(1, 1, 50));
    EXPECT_FALSE(plant.setTuning(1, 1, true));
    EXPECT_EQ(modeBits(plant.statusWord(1, 1)), 0);
    ASSERT_TRUE(plant.setSetpoint(1, 1, 250));
    ASSERT_TRUE(plant.setMode(1, 1, 2));
    EXPECT_EQ(modeBits(plant.statusWord(1, 1)), 3);
    const int before = plant.actual(1, 1);
    plant.advance(120);
    EXPECT_NEAR(plant.actual(1, 1), before, 1) << "a monitor zone never heats";
    EXPECT_EQ(plant.output(1, 1), 0);
    EXPECT_EQ(plant.statusWord(1, 1), 0x61);
    ASSERT_TRUE(plant.setMode(1, 1, 0));
    EXPECT_EQ(modeBits(plant.statusWord(1, 1)), 0);

    // A heating zone that becomes a monitor zone stops heating at once.
    plant.setOutput(1, 2, 80);
    plant.setMode(1, 2, 1);
    ASSERT_TRUE(plant.setZoneParameter(1, 2, 24, 1));
    EXPECT_EQ(plant.output(1, 2), 0);
    EXPECT_EQ(modeBits(plant.statusWord(1, 2)), 3);
}

TEST(ZoneControl, FahrenheitControllerWorksInWholeDegreesFahrenheit) {
    Plant plant({controller(1, true)});
    EXPECT_NEAR(plant.actual(1, 1), 77, 1);                 // 25 degrees C
    EXPECT_EQ(plant.zoneParameter(1, 1, 6), 18);           // 10 K band
    EXPECT_EQ(plant.zoneParameter(1, 1, 10), 932);         // 500 degrees C
    EXPECT_EQ(plant.readGlobal(1, "?HIW"), "0932");
    ASSERT_TRUE(plant.setSetpoint(1, 1, 450));
    ASSERT_TRUE(plant.setMode(1, 1, 2));
    plant.advance(900);
    EXPECT_NEAR(plant.actual(1, 1), 450, 3);
    EXPECT_EQ(plant.statusWord(1, 1), 0x41);
    plant.setActual(1, 1, 480);                             // 30 degrees F above: beyond the 18 band
    EXPECT_TRUE(plant.statusWord(1, 1) & status::DeviationHigh);
    EXPECT_FALSE(plant.statusWord(1, 1) & status::TemperatureHigh);  // the H band is 54
}

TEST(ZoneControl, FactoryDefaultsRestoreParametersButKeepSetpoints) {
    Plant plant({controller(2), controller(2)});
    plant.setSetpoint(1, 1, 210);
    ASSERT_TRUE(plant.setZoneParameter(1, 1, 2, 40));
    ASSERT_TRUE(plant.setZoneParameter(1, 2, 24, 1));
    ASSERT_TRUE(plant.setMode(1, 2, 2));  // measuring
    ASSERT_TRUE(plant.setZoneParameter(2, 1, 2, 40));
    ASSERT_TRUE(plant.writeGlobal(1, "HIW", 300));
    plant.factoryDefaults(1);
    EXPECT_EQ(plant.zoneParameter(1, 1, 2), 12);
    EXPECT_EQ(plant.zoneParameter(1, 2, 24), 0);
    EXPECT_EQ(modeBits(plant.statusWord(1, 2)), 0) << "a former monitor zone does not start heating";
    EXPECT_EQ(plant.readGlobal(1, "HIW"), "0500");
    EXPECT_EQ(plant.setpoint(1, 1), 210);
    EXPECT_EQ(plant.zoneParameter(2, 1, 2), 40) << "another cabinet is not touched";
}

TEST(ZoneControl, SameCallsGiveTheSameValues) {
    auto run = [] {
        Plant plant({controller(8), controller(4)});
        std::vector<int> trace;
        for (int c = 1; c <= 8; ++c) {
            plant.setSetpoint(1, c, 180 + 5 * c);
            plant.setMode(1, c, 2);
        }
        plant.setTuning(2, 1, true);
        plant.setOutput(2, 2, 35);
        plant.setMode(2, 2, 1);
        for (int i = 0; i < 300; ++i) {
            plant.advance(0.7);
            for (int a = 1; a <= 2; ++a)
                for (int c = 1; c <= 4; ++c) {
                    trace.push_back(plant.actual(a, c));
                    trace.push_back(plant.output(a, c));
                    trace.push_back(plant.currentTenths(a, c));
                    trace.push_back(plant.statusWord(a, c));
                }
        }
        return trace;
    };
    EXPECT_EQ(run(), run());
}

TEST(ZoneControl, AdvanceInSmallPiecesEqualsOneLargeStep) {
    Plant a({controller(2)}), b({controller(2)});
    for (Plant* p : {&a, &b}) {
        p->setSetpoint(1, 1, 200);
        p->setMode(1, 1, 2);
    }
    a.advance(100.0);
    for (int i = 0; i < 400; ++i) b.advance(0.25);
    EXPECT_NEAR(a.time(), b.time(), 1e-9);
    EXPECT_EQ(a.actual(1, 1), b.actual(1, 1));
    EXPECT_EQ(a.output(1, 1), b.output(1, 1));
}
