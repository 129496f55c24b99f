// Single commands through the library against the in-process simulator:
// identification, zone and global parameters, every SetValEx code, the clock,
// and what a closed port or a bad argument gives.
#include <gtest/gtest.h>

#include <functional>

#include "bus_fixture.h"
#include "protocol/in_process_bus.h"
#include "zev485.h"

using zevtest::ask;

namespace {

constexpr int kRefused = 1;
constexpr int kPortClosed = 4;
constexpr int kBadArgument = 5;

class Commands : public ::testing::Test {
protected:
    zevsim::InProcessBus bus{zevtest::demoLine()};
};

}  // namespace

TEST_F(Commands, IdentificationAndRefusedTextCommands) {
    const std::pair<const char*, const char*> replies[] = {
        {"G01?KAN=", "0016"}, {"G02?KAN=", "0008"}, {"G01?AZ#=", "0012"}, {"G01?DTP=", "0001"},
        {"G03?DTP=", "0002"}, {"G02?TYP=", "ZEV-8"}, {"G01?UNT=", "0000"},
        {"G01?XYZ=", "\x15"},    // unknown mnemonic
        {"G01KALP27=", "\x15"},  // no channel has parameter 27
    };
    for (const auto& [command, value] : replies)
        EXPECT_EQ(ask(command).value(), value) << command;
    // "G01=0016" + two check characters + ETX.
    const auto reply = ask("G01?KAN=");
    ASSERT_EQ(reply.raw.size(), 11u);
    EXPECT_EQ(reply.raw.substr(0, 8), "G01=0016");
    EXPECT_EQ(reply.raw[10], '\x03');
    // No controller at address 4.
    const auto none = ask("G04?KAN=");
    EXPECT_NE(none.status, 0);
    EXPECT_EQ(none.raw, "");
}

TEST_F(Commands, ZoneParametersOneAndAllChannels) {
    char before[8];
    std::snprintf(before, sizeof before, "%04d", *bus.plant().zoneParameter(1, 3, 5));
    EXPECT_EQ(ask("G01K03P05=").value(), before);
    EXPECT_EQ(ask("G01K03P05=0050").value(), "\x06");
    EXPECT_EQ(bus.plant().zoneParameter(1, 3, 5), 50);
    EXPECT_EQ(ask("G01K03P05=0500").value(), "\x15");  // above the limit of 100 %
    EXPECT_EQ(bus.plant().zoneParameter(1, 3, 5), 50);
    // Four characters per channel.
    ASSERT_TRUE(bus.plant().setZoneParameter(2, 2, 15, -10));
    const std::string all = ask("G02KALP15=").value();
    ASSERT_EQ(all.size(), 4u * 8u);
    EXPECT_EQ(all.substr(0, 8), "0000-010");
}

TEST_F(Commands, SetValExEveryCode) {
    auto& plant = bus.plant();
    auto mode = [&] { return (plant.statusWord(1, 2) & 0x60) >> 5; };
    const std::tuple<int, int, std::function<bool()>> codes[] = {
        {0, 230, [&] { return plant.setpoint(1, 2) == 230; }},
        {2001, 1, [&] { return mode() == 1; }},
        {3000, 40, [&] { return plant.output(1, 2) == 40; }},
        {2001, 2, [&] { return mode() == 2; }},
        {21, 0, [&] { return plant.zoneParameter(1, 2, 21) == 0; }},
        {2002, 1, [&] { return (plant.statusWord(1, 2) & 0x100) != 0; }},
        {2002, 0, [&] { return (plant.statusWord(1, 2) & 0x100) == 0; }},
        {2003, 1, [] { return true; }},
    };
    for (const auto& [code, value, took] : codes) {
        EXPECT_EQ(ZEV485_SetValEx(1, 2, static_cast<int16_t>(code), static_cast<int16_t>(value)), 0) << code;
        EXPECT_TRUE(took()) << code << " = " << value;
    }
    EXPECT_EQ(ZEV485_SetValEx(1, 16, 0, 231), 0);  // a two-digit channel
    EXPECT_EQ(plant.setpoint(1, 16), 231);
}

TEST_F(Commands, RefusedWritesChangeNothingAndBadArgumentsSendNothing) {
    const int setpoint = bus.plant().setpoint(1, 1);
    EXPECT_EQ(ZEV485_SetValEx(1, 1, 0, 9999), kRefused);
    EXPECT_EQ(ZEV485_SetValEx(1, 1, 11, 1), kRefused);  // read-only parameter
    EXPECT_EQ(ZEV485_SetValEx(1, 1, 2001, 7), kRefused);
    EXPECT_EQ(ZEV485_SetValEx(2, 9, 2003, 1), kRefused);  // the controller has 8 channels
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?UNT", 1), kRefused);  // read-only
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?XYZ", 1), kRefused);
    EXPECT_EQ(bus.plant().setpoint(1, 1), setpoint);

    const auto before = bus.responder().counts().requests;
    EXPECT_EQ(ZEV485_SetValEx(1, 1, 1234, 0), kBadArgument);
    EXPECT_EQ(ZEV485_SetValEx(0, 1, 0, 0), kBadArgument);
    EXPECT_EQ(ZEV485_SetValEx(1, 0, 0, 0), kBadArgument);
    for (const char* name : {"", "?A=B", static_cast<const char*>(nullptr)})
        EXPECT_EQ(ZEV485_SetGlobVal(1, name, 1), kBadArgument);
    for (const char* command : {"", "G1?KAN=", "G01?K\x7f" "N="})
        EXPECT_EQ(ask(command).status, kBadArgument) << command;
    std::vector<char> unterminated(1024, 'G');
    int16_t status = 0;
    ZEV485_Ask(unterminated.data(), &status);
    EXPECT_EQ(status, kBadArgument);
    EXPECT_EQ(unterminated[0], '\0');
    EXPECT_EQ(bus.responder().counts().requests, before);
}

TEST_F(Commands, GlobalValuesRestartAndFactorySettings) {
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?APM", 0), 0);
    EXPECT_EQ(ask("G01?APM=").value(), "0000");
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?HIW", 280), 0);
    EXPECT_EQ(ask("G01?HIW=").value(), "0280");
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?ENA", 0), 0);
    EXPECT_FALSE(bus.plant().outputsOn(1));
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?ENA", 1), 0);
    EXPECT_TRUE(bus.plant().outputsOn(1));

    ASSERT_TRUE(bus.plant().setZoneParameter(1, 1, 5, 33));
    EXPECT_EQ(ask("G01?ENA=0001").value(), "\x06");
    EXPECT_EQ(ask("G01XRES=").value(), "\x06");
    EXPECT_EQ(bus.plant().zoneParameter(1, 1, 5), 33);
    EXPECT_EQ(ask("G01XSTD=").value(), "\x06");
    EXPECT_NE(bus.plant().zoneParameter(1, 1, 5), 33);
}

TEST_F(Commands, BroadcastsAreSentOnceAndNotAnswered) {
    const auto broadcasts = bus.responder().counts().broadcasts;
    ZEV485_Equalize_Clocktime(36000);
    EXPECT_EQ(ask("G01?CLK=").value(), "36000");
    EXPECT_EQ(ask("G03?CLK=").value(), "36000");
    EXPECT_EQ(bus.responder().counts().broadcasts, broadcasts + 1);

    const auto reply = ask("G00K01W=0123");
    EXPECT_EQ(reply.status, 0);
    EXPECT_EQ(reply.raw, "");
    EXPECT_EQ(bus.plant().setpoint(1, 1), 123);
    EXPECT_EQ(bus.plant().setpoint(2, 1), 123);
}

TEST(CommandsWithoutPort, EverythingReportsTheClosedPortAndTheClockWaitsForTheOpen) {
    ZEV485_SetMasterPort(0, 0, 0, 0, 0);
    EXPECT_EQ(ask("G01?KAN=").status, kPortClosed);
    EXPECT_EQ(ZEV485_SetValEx(1, 1, 0, 200), kPortClosed);
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?ENA", 1), kPortClosed);

    ZEV485_Equalize_Clocktime(7200);
    zevsim::InProcessBus bus(zevtest::demoLine());
    EXPECT_EQ(bus.responder().counts().broadcasts, 1u);
    const auto clock = std::stol(ask("G02?CLK=").value());
    EXPECT_GE(clock, 7200);
    EXPECT_LE(clock, 7202);
}

TEST(Version, TextIsCutToTheBuffer) {
    char buffer[32];
    ZEV485_Get_Version(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "2.1.0.40");
    char small[4];
    ZEV485_Get_Version(small, sizeof small);
    EXPECT_STREQ(small, "2.1");
}
