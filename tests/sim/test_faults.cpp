// Every injectable fault: the status bits it raises and what it does physically,
// the way the wiring diagnosis and the alarm list will see it.
#include "plant/plant.h"

#include <gtest/gtest.h>

using namespace zevsim;

namespace {

Plant plantOf(int channels) {
    ControllerConfig c;
    c.channels = channels;
    return Plant({c});
}

// The diagnosis' starting point: manual mode with a fixed output.
void manual(Plant& plant, int a, int c, int percent) {
    ASSERT_TRUE(plant.setOutput(a, c, percent));
    ASSERT_TRUE(plant.setMode(a, c, 1));
}

void settle(Plant& plant, int a, int c, int setpoint) {
    ASSERT_TRUE(plant.setSetpoint(a, c, setpoint));
    ASSERT_TRUE(plant.setMode(a, c, 2));
    plant.advance(600);
    ASSERT_NEAR(plant.actual(a, c), setpoint, 2);
}

}  // namespace

TEST(Faults, ShortedTriacHeatsAtZeroOutputAndShowsSsr) {
    Plant plant = plantOf(4);
    manual(plant, 1, 2, 0);
    const int start = plant.actual(1, 2);
    ASSERT_TRUE(plant.inject(Fault{FaultKind::ShortedTriac, 1, 2}));
    plant.advance(20);
    EXPECT_GE(plant.actual(1, 2) - start, 5) << "heats although the output is 0";
    EXPECT_EQ(plant.output(1, 2), 0);
    EXPECT_GT(plant.currentTenths(1, 2), 10);
    EXPECT_TRUE(plant.statusWord(1, 2) & status::SsrShorted);
    EXPECT_FALSE(plant.statusWord(1, 2) & status::NoFault);
    EXPECT_EQ(plant.statusWord(1, 1), 0x01) << "the neighbour is not affected";

    ASSERT_TRUE(plant.clear(Fault{FaultKind::ShortedTriac, 1, 2}));
    plant.advance(1);
    EXPECT_EQ(plant.statusWord(1, 2), 0x21);
}

TEST(Faults, CrossedSensorsShowTheHeatOnThePartner) {
    Plant plant = plantOf(4);
    ASSERT_TRUE(plant.inject(Fault{FaultKind::CrossedSensors, 1, 1, 1, 3}));
    const int own = plant.actual(1, 1), partner = plant.actual(1, 3);
    manual(plant, 1, 1, 50);
    plant.advance(30);
    EXPECT_GE(plant.actual(1, 3) - partner, 5) << "the partner's reading rises";
    EXPECT_LE(plant.actual(1, 1) - own, 1) << "the heated zone's own reading stays";
}

TEST(Faults, CrossedHeatersHeatThePartnerZone) {
    Plant plant = plantOf(4);
    ASSERT_TRUE(plant.inject(Fault{FaultKind::CrossedHeaters, 1, 1, 1, 4}));
    const int own = plant.actual(1, 1), partner = plant.actual(1, 4);
    manual(plant, 1, 1, 50);
    plant.advance(30);
    EXPECT_GE(plant.actual(1, 4) - partner, 5);
    EXPECT_LE(plant.actual(1, 1) - own, 1);
    EXPECT_GT(plant.currentTenths(1, 1), 10) << "current flows through zone 1's output stage";
    EXPECT_EQ(plant.currentTenths(1, 4), 0);
}

TEST(Faults, ReversedThermocoupleFallsWhileHeating) {
    Plant plant = plantOf(2);
    ASSERT_TRUE(plant.inject(Fault{FaultKind::ReversedSensor, 1, 1}));
    const int start = plant.actual(1, 1);
    manual(plant, 1, 1, 50);
    plant.advance(30);
    EXPECT_LE(plant.actual(1, 1), start - 5);
    EXPECT_EQ(plant.statusWord(1, 1), 0x21) << "the controller cannot tell";
}

TEST(Faults, BrokenSensorHasNoValueAndHoldsTheAverageOutput) {
    Plant plant = plantOf(2);
    settle(plant, 1, 1, 220);
    settle(plant, 1, 2, 220);
    plant.advance(60);
    const int average = plant.output(1, 1);
    ASSERT_TRUE(plant.inject(Fault{FaultKind::BrokenSensor, 1, 1}));
    EXPECT_EQ(plant.actual(1, 1), kNoValue);
    EXPECT_EQ(plant.statusWord(1, 1) & ~status::ModeMask, status::SensorBroken);
    plant.advance(5);
    EXPECT_NEAR(plant.output(1, 1), average, 8) << "auto power mode holds the output";

    ASSERT_TRUE(plant.writeGlobal(1, "?APM", 0));
    plant.advance(1);
    EXPECT_EQ(plant.output(1, 1), 0) << "without auto power mode: the break output (0 %)";
    ASSERT_TRUE(plant.setZoneParameter(1, 1, 17, 25));
    plant.advance(1);
    EXPECT_EQ(plant.output(1, 1), 25);

    ASSERT_TRUE(plant.clear(Fault{FaultKind::BrokenSensor, 1, 1}));
    EXPECT_NE(plant.actual(1, 1), kNoValue);
}

TEST(Faults, ShortedSensorReadsTheTerminalTemperature) {
    Plant plant = plantOf(2);
    ASSERT_TRUE(plant.inject(Fault{FaultKind::ShortedSensor, 1, 1}));
    manual(plant, 1, 1, 60);
    plant.advance(60);
    EXPECT_NEAR(plant.actual(1, 1), 25, 1);
    EXPECT_TRUE(plant.statusWord(1, 1) & status::SensorShorted);
}

TEST(Faults, OpenHeaterGivesNoCurrentAndACurrentAlarmWhenSupervised) {
    Plant plant = plantOf(2);
    ASSERT_TRUE(plant.inject(Fault{FaultKind::HeaterOpen, 1, 1}));
    const int start = plant.actual(1, 1);
    manual(plant, 1, 1, 60);
    plant.advance(30);
    EXPECT_LE(plant.actual(1, 1) - start, 1);
    EXPECT_EQ(plant.currentTenths(1, 1), 0);
    EXPECT_TRUE(plant.statusWord(1, 1) & status::CurrentAlarm);
    ASSERT_TRUE(plant.setZoneParameter(1, 1, 21, 0));  // current supervision off
    EXPECT_EQ(plant.statusWord(1, 1), 0x21);
    ASSERT_TRUE(plant.setZoneParameter(1, 1, 21, 1));
    ASSERT_TRUE(plant.setMode(1, 1, 0));
    EXPECT_EQ(plant.statusWord(1, 1), 0x01) << "switched off: no current expected, at once";
}

TEST(Faults, CurrentLimitsAndDeviationFollowTheirParameters) {
    Plant plant = plantOf(1);
    manual(plant, 1, 1, 30);
    plant.advance(2);
    const int measured = plant.currentTenths(1, 1);
    ASSERT_GT(measured, 10);
    struct Case {
        int parameter, value;
        std::int32_t bit;
    };
    const Case cases[] = {
        {12, measured * 14 / 10, status::CurrentDeviationLow},   // about 28 % below nominal
        {12, measured * 3 / 4, status::CurrentDeviationHigh},    // about 35 % above nominal
        {12, measured * 3, status::CurrentAlarm},                // far off: alarm
        {22, measured - 3, status::CurrentHigh},
        {23, measured + 3, status::CurrentLow},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.parameter);
        ASSERT_TRUE(plant.setZoneParameter(1, 1, c.parameter, c.value));
        EXPECT_EQ(plant.statusWord(1, 1) & ~status::ModeMask, c.bit);
        ASSERT_TRUE(plant.setZoneParameter(1, 1, 21, 0));
        EXPECT_EQ(plant.statusWord(1, 1), 0x21) << "supervision off: no current bits";
        ASSERT_TRUE(plant.setZoneParameter(1, 1, 21, 1));
        ASSERT_TRUE(plant.setZoneParameter(1, 1, c.parameter, 0));
        EXPECT_EQ(plant.statusWord(1, 1), 0x21);
    }
}

TEST(Faults, LeakageCurrentEndsWhenTheHeaterHasDried) {
    Plant plant = plantOf(1);
    ASSERT_TRUE(plant.inject(Fault{FaultKind::LeakageCurrent, 1, 1}));
    EXPECT_EQ(plant.statusWord(1, 1), 0x01) << "no voltage, no leakage";
    plant.setSetpoint(1, 1, 200);
    plant.setMode(1, 1, 2);
    plant.advance(1);
    EXPECT_TRUE(plant.statusWord(1, 1) & status::Leakage);
    plant.advance(600);
    EXPECT_FALSE(plant.statusWord(1, 1) & status::Leakage);
    EXPECT_TRUE(plant.faults().empty());
}

TEST(Faults, BandAlarmsFollowTheTemperatureOnceSettled) {
    Plant plant = plantOf(1);
    settle(plant, 1, 1, 230);
    struct Case {
        int forced;
        std::int32_t bits;
    };
    // Bands: DEV 10 either side, temperature alarms 30.
    for (const Case& c : {Case{245, status::DeviationHigh}, Case{265, status::DeviationHigh | status::TemperatureHigh},
                          Case{215, status::DeviationLow}, Case{195, status::DeviationLow | status::TemperatureLow},
                          Case{238, 0}}) {
        plant.setActual(1, 1, c.forced);
        EXPECT_EQ(plant.statusWord(1, 1) & ~(status::ModeMask | status::NoFault), c.bits) << c.forced;
    }
    plant.setActual(1, 1, 200);
    plant.advance(300);
    EXPECT_EQ(plant.statusWord(1, 1), 0x41) << "back in the band";
}

TEST(Faults, OutputRateDeviationAgainstTheLearnedReference) {
    Plant plant = plantOf(1);
    ASSERT_TRUE(plant.setZoneParameter(1, 1, 18, 8));
    settle(plant, 1, 1, 230);
    plant.advance(200);
    const int reference = *plant.zoneParameter(1, 1, 19);
    EXPECT_NEAR(reference, 34, 6) << "learned once settled";
    EXPECT_EQ(plant.statusWord(1, 1), 0x41);
    plant.setAmbient(110);  // the mould got hot: much less output needed
    plant.advance(300);
    EXPECT_TRUE(plant.statusWord(1, 1) & status::OutputDeviation);
}

TEST(Faults, SilentAndGarbledAreControllerFlags) {
    Plant plant({ControllerConfig{}, ControllerConfig{}});
    ASSERT_TRUE(plant.inject(Fault{FaultKind::ControllerSilent, 2}));
    ASSERT_TRUE(plant.inject(Fault{FaultKind::GarbledReplies, 1}));
    EXPECT_TRUE(plant.silent(2));
    EXPECT_FALSE(plant.silent(1));
    EXPECT_TRUE(plant.garbled(1));
    EXPECT_FALSE(plant.garbled(2));
    plant.clearAllFaults();
    EXPECT_FALSE(plant.silent(2));
    EXPECT_FALSE(plant.garbled(1));
}

TEST(Faults, InjectAndClearCheckWhatTheyAreGiven) {
    Plant plant = plantOf(4);
    EXPECT_FALSE(plant.inject(Fault{FaultKind::BrokenSensor, 1, 5}));
    EXPECT_FALSE(plant.inject(Fault{FaultKind::BrokenSensor, 2, 1}));
    EXPECT_FALSE(plant.inject(Fault{FaultKind::ControllerSilent, 3}));
    EXPECT_FALSE(plant.inject(Fault{FaultKind::CrossedSensors, 1, 1, 1, 1}));
    EXPECT_FALSE(plant.inject(Fault{FaultKind::CrossedSensors, 1, 1, 0, 0}));
    ASSERT_TRUE(plant.inject(Fault{FaultKind::CrossedHeaters, 1, 1, 1, 2}));
    EXPECT_FALSE(plant.inject(Fault{FaultKind::CrossedHeaters, 1, 2, 1, 1})) << "the same crossing";
    EXPECT_FALSE(plant.clear(Fault{FaultKind::BrokenSensor, 1, 1}));
    EXPECT_TRUE(plant.clear(Fault{FaultKind::CrossedHeaters, 1, 2})) << "named from the partner, no partner given";
    EXPECT_TRUE(plant.faults().empty());
}

// The station reads 0x20000 also as "the controller runs its own diagnosis": a
// healthy plant in every operating state must never show it.
TEST(Faults, HealthyPlantNeverRaisesCurrentHigh) {
    Plant plant({ControllerConfig{}, ControllerConfig{}, ControllerConfig{}});
    for (int a = 1; a <= 3; ++a)
        for (int c = 1; c <= 16; ++c) {
            plant.setSetpoint(a, c, 150 + 7 * c);
            if (c % 4 == 0) plant.setTuning(a, c, true);
            else if (c % 4 == 1) {
                plant.setOutput(a, c, 20 + c);
                plant.setMode(a, c, 1);
            } else plant.setMode(a, c, 2);
        }
    std::int32_t seen = 0;
    for (int i = 0; i < 600; ++i) {
        plant.advance(1.0);
        for (int a = 1; a <= 3; ++a)
            for (int c = 1; c <= 16; ++c) seen |= plant.statusWord(a, c);
    }
    EXPECT_EQ(seen & status::CurrentHigh, 0);
    EXPECT_EQ(seen & status::TuningFault, 0);
}
