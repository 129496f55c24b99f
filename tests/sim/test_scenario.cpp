// Scenario files and live command lines: parsing good and damaged input, timing
// of the player, and what applying does to the plant.
#include "plant/scenario.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>

using namespace zevsim;

namespace {

Plant twoControllers() {
    ControllerConfig c;
    c.channels = 4;
    return Plant({c, c});
}

}  // namespace

TEST(ScenarioParser, ReadsEveryCommandWithItsTime) {
    const auto parsed = parseScenario(
        "# training: a sensor breaks and is repaired\r\n"
        "at 30s fault broken-sensor 1.3\r\n"
        "at 2m clear broken-sensor 1.3\r\n"
        "at 10s setpoint 2.1 210   # the second controller\r\n"
        "\r\n"
        "at 1m30s fault crossed-heaters 1.1 1.2\n"
        "at 1h mode 1.* control\n"
        "at 1.5s output * 20\n"
        "at 500ms outputs 1 off\n"
        "at 90 global 2 ?hiw 320\n"
        "AT 2M TUNING 2.4 ON\n"
        "param 1.2 21 0\n"
        "at 5s clock 12:30\n"
        "at 5s clear all\n");
    EXPECT_TRUE(parsed.warnings.empty()) << parsed.warnings.front().message;
    ASSERT_EQ(parsed.events.size(), 12u);
    // Sorted by time, file order kept for equal times.
    std::vector<std::pair<double, int>> order;
    for (const auto& e : parsed.events) order.emplace_back(e.time, e.line);
    const std::vector<std::pair<double, int>> expected{{0, 12}, {0.5, 9}, {1.5, 8}, {5, 13}, {5, 14}, {10, 4},
                                                        {30, 2}, {90, 6}, {90, 10}, {120, 3}, {120, 11}, {3600, 7}};
    EXPECT_EQ(order, expected);

    const auto& crossed = parsed.events[7].action;
    EXPECT_EQ(crossed.command, ScenarioCommand::Fault);
    EXPECT_EQ(crossed.fault, FaultKind::CrossedHeaters);
    EXPECT_EQ(crossed.partner.channel, 2);
    const auto& global = parsed.events[8].action;
    EXPECT_EQ(global.code, "HIW");
    EXPECT_EQ(global.value, 320);
    EXPECT_EQ(parsed.events[3].action.value, 12 * 3600 + 30 * 60);
    EXPECT_EQ(parsed.events[11].action.zone.channel, 0) << "1.* is every channel";
}

TEST(ScenarioParser, DamagedLinesBecomeTypedWarningsAndTheRestIsKept) {
    struct Case {
        const char* line;
        ScenarioIssue issue;
    };
    const Case cases[] = {
        {"at", ScenarioIssue::BadTime},
        {"at soon fault broken-sensor 1.1", ScenarioIssue::BadTime},
        {"at -5s setpoint 1.1 200", ScenarioIssue::BadTime},
        {"at 3x setpoint 1.1 200", ScenarioIssue::BadTime},
        {"at 10s", ScenarioIssue::MissingArgument},
        {"explode 1.1", ScenarioIssue::UnknownCommand},
        {"fault melted 1.1", ScenarioIssue::UnknownFault},
        {"setpoint 1.1", ScenarioIssue::MissingArgument},
        {"setpoint 1.1 200 300", ScenarioIssue::ExtraArgument},
        {"setpoint 1-1 200", ScenarioIssue::BadZone},
        {"setpoint 28.1 200", ScenarioIssue::BadZone},
        {"setpoint 1.33 200", ScenarioIssue::BadZone},
        {"setpoint 1.1 2e2", ScenarioIssue::BadNumber},
        {"output 1.1 150", ScenarioIssue::BadNumber},
        {"mode 1.1 turbo", ScenarioIssue::BadNumber},
        {"tuning 1.1 maybe", ScenarioIssue::BadNumber},
        {"param 1.1 29 5", ScenarioIssue::BadNumber},
        {"fault crossed-sensors 1.* 1.2", ScenarioIssue::BadZone},
        {"fault crossed-sensors 1.1", ScenarioIssue::MissingArgument},
        {"fault silent 1.1", ScenarioIssue::BadZone},
        {"ambient hot", ScenarioIssue::BadNumber},
        {"clock 25:00", ScenarioIssue::BadNumber},
        {"clock 12:30:00:00", ScenarioIssue::BadNumber},
        {"\x01\x02\xff\xfe setpoint", ScenarioIssue::UnknownCommand},
    };
    std::string text = "at 1s setpoint 1.1 200\n";
    for (const Case& c : cases) text += std::string(c.line) + "\n";
    text += std::string(kMaxLineLength + 1, 'x') + "\n";
    text += "at 2s setpoint 1.2 210";  // last line without a line end
    const auto parsed = parseScenario(text);
    ASSERT_EQ(parsed.warnings.size(), std::size(cases) + 1);
    for (size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(parsed.warnings[i].line, static_cast<int>(i) + 2) << cases[i].line;
        EXPECT_EQ(parsed.warnings[i].issue, cases[i].issue) << cases[i].line << ": " << parsed.warnings[i].message;
        EXPECT_FALSE(parsed.warnings[i].message.empty());
    }
    EXPECT_EQ(parsed.warnings.back().issue, ScenarioIssue::LineTooLong);
    ASSERT_EQ(parsed.events.size(), 2u);
    EXPECT_EQ(parsed.events[1].line, static_cast<int>(std::size(cases)) + 3);
}

TEST(ScenarioParser, RandomBytesNeverThrow) {
    std::mt19937 random(20240611);
    const std::string words[] = {"at", "1s", "fault", "clear", "setpoint", "1.1", "*", "2.*", "on", "-3",
                                 "crossed-heaters", "global", "?HIW", "99999999999999999999", "1h2m", ":"};
    for (int i = 0; i < 3000; ++i) {
        std::string line;
        const int n = static_cast<int>(random() % 8);
        for (int k = 0; k < n; ++k) {
            if (random() % 3 == 0) line += static_cast<char>(random() % 256);
            else line += words[random() % std::size(words)];
            line += ' ';
        }
        EXPECT_NO_THROW(parseScenario(line));
    }
}

TEST(ScenarioPlayer, EventsActExactlyWhenDue) {
    Plant plant = twoControllers();
    auto parsed = parseScenario(
        "at 30s fault broken-sensor 1.3\n"
        "at 2m clear broken-sensor 1.3\n"
        "at 10s setpoint 2.1 210\n"
        "at 10s mode 2.1 control\n");
    ASSERT_TRUE(parsed.warnings.empty());
    ScenarioPlayer player(parsed.events);
    EXPECT_EQ(player.nextTime(), 10.0);
    EXPECT_TRUE(player.advance(plant, 9.9).empty());
    EXPECT_EQ(plant.setpoint(2, 1), 0);
    player.advance(plant, 0.1);
    EXPECT_EQ(plant.setpoint(2, 1), 210);
    EXPECT_EQ(plant.statusWord(2, 1) & status::ModeMask, 0x40);
    player.advance(plant, 19.9);
    EXPECT_NE(plant.actual(1, 3), kNoValue);
    player.advance(plant, 0.1);
    EXPECT_EQ(plant.actual(1, 3), kNoValue);
    // One long advance stops at the clearing event on its way.
    player.advance(plant, 600);
    EXPECT_NE(plant.actual(1, 3), kNoValue);
    EXPECT_TRUE(player.finished());
    EXPECT_NEAR(plant.time(), 630.0, 1e-6);
    EXPECT_NEAR(plant.actual(2, 1), 210, 3) << "the zone was controlled meanwhile";
}

TEST(ScenarioPlayer, CountsFromItsStartTime) {
    Plant plant = twoControllers();
    plant.advance(100);
    ScenarioPlayer player(parseScenario("at 5s setpoint 1.1 150").events, plant.time());
    player.advance(plant, 4.9);
    EXPECT_EQ(plant.setpoint(1, 1), 0);
    player.advance(plant, 0.1);
    EXPECT_EQ(plant.setpoint(1, 1), 150);
}

TEST(ScenarioApply, WildcardsReachEveryZoneTheyName) {
    Plant plant = twoControllers();
    EXPECT_TRUE(applyScenarioLine(plant, "setpoint 1.* 180").empty());
    EXPECT_TRUE(applyScenarioLine(plant, "mode * manual").empty());
    for (int c = 1; c <= 4; ++c) EXPECT_EQ(plant.setpoint(1, c), 180);
    EXPECT_EQ(plant.setpoint(2, 1), 0);
    for (int a = 1; a <= 2; ++a)
        for (int c = 1; c <= 4; ++c) EXPECT_EQ(plant.statusWord(a, c) & status::ModeMask, 0x20);
    EXPECT_TRUE(applyScenarioLine(plant, "fault heater-open 2.*").empty());
    EXPECT_EQ(plant.faults().size(), 4u);
    EXPECT_TRUE(applyScenarioLine(plant, "clear all").empty());
    EXPECT_TRUE(plant.faults().empty());
}

TEST(ScenarioApply, PlantRefusalsAndMissingTargetsAreReported) {
    Plant plant = twoControllers();
    auto w = applyScenarioLine(plant, "setpoint 3.1 200", 7);
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].issue, ScenarioIssue::NoSuchTarget);
    EXPECT_EQ(w[0].line, 7);
    w = applyScenarioLine(plant, "setpoint 1.* 9999");
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].issue, ScenarioIssue::Refused);
    EXPECT_NE(w[0].message.find("1.4"), std::string::npos);
    w = applyScenarioLine(plant, "global 1 UNT 1");
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].issue, ScenarioIssue::Refused);
    w = applyScenarioLine(plant, "at 5s setpoint 1.1 200");
    ASSERT_EQ(w.size(), 1u);
    EXPECT_EQ(w[0].issue, ScenarioIssue::BadTime) << "timed lines are not live commands";
    EXPECT_TRUE(applyScenarioLine(plant, "   # only a comment").empty());
}

TEST(ScenarioApply, ControllerAndEnvironmentCommands) {
    Plant plant = twoControllers();
    EXPECT_TRUE(applyScenarioLine(plant, "outputs 2 off").empty());
    EXPECT_FALSE(plant.outputsOn(2));
    EXPECT_TRUE(applyScenarioLine(plant, "fault silent 2").empty());
    EXPECT_TRUE(plant.silent(2));
    EXPECT_TRUE(applyScenarioLine(plant, "clear silent 2").empty());
    EXPECT_FALSE(plant.silent(2));
    EXPECT_TRUE(applyScenarioLine(plant, "temperature 1.2 180").empty());
    EXPECT_EQ(plant.actual(1, 2), 180);
    EXPECT_TRUE(applyScenarioLine(plant, "ambient 40").empty());
    EXPECT_DOUBLE_EQ(plant.ambient(), 40.0);
    EXPECT_TRUE(applyScenarioLine(plant, "clock 06:00:10").empty());
    EXPECT_EQ(plant.clock(), 6 * 3600 + 10);
    EXPECT_TRUE(applyScenarioLine(plant, "param 1.1 2 30").empty());
    EXPECT_TRUE(applyScenarioLine(plant, "defaults 1").empty());
    EXPECT_EQ(plant.zoneParameter(1, 1, 2), 12);
}

// The demo of ./run shows what the README promises: a broken sensor that comes
// and goes and a shorted triac that stays.
TEST(ScenarioPlayer, TheDemoBreaksASensorAndATriac) {
    std::ifstream in(std::string(ZEV_SOURCE_DATA_DIR) + "/demo.scenario", std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(text.empty());
    const ScenarioParse parsed = parseScenario(text);
    EXPECT_TRUE(parsed.warnings.empty());
    ControllerConfig c;
    c.channels = 16;
    Plant plant({c, c, c});
    ScenarioPlayer player(parsed.events);
    auto has = [&](FaultKind kind, int address, int channel) {
        const auto faults = plant.faults();
        return std::any_of(faults.begin(), faults.end(), [&](const Fault& f) {
            return f.kind == kind && f.address == address && f.channel == channel;
        });
    };
    EXPECT_TRUE(player.advance(plant, 10).empty());
    EXPECT_TRUE(plant.faults().empty()) << "the plant starts without faults";
    EXPECT_TRUE(player.advance(plant, 20).empty());
    EXPECT_TRUE(has(FaultKind::BrokenSensor, 1, 3));
    EXPECT_TRUE(has(FaultKind::ShortedTriac, 2, 5));
    EXPECT_TRUE(player.advance(plant, 60).empty());
    EXPECT_FALSE(has(FaultKind::BrokenSensor, 1, 3));
    EXPECT_TRUE(has(FaultKind::ShortedTriac, 2, 5));
}
