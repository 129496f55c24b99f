// Single commands through the library against the in-process simulator:
// identification, zone and global parameters, every SetValEx code, the clock,
// and what a closed port or a bad argument gives.
#include <gtest/gtest.h>

#include <cstring>

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

TEST_F(Commands, IdentificationReplies) {
    EXPECT_EQ(ask("G01?KAN=").value(), "0016");
    EXPECT_EQ(ask("G02?KAN=").value(), "0008");
    EXPECT_EQ(ask("G01?AZ#=").value(), "0012");
    EXPECT_EQ(ask("G01?DTP=").value(), "0001");
    EXPECT_EQ(ask("G03?DTP=").value(), "0002");
    EXPECT_EQ(ask("G02?TYP=").value(), "ZEV-8");
    EXPECT_EQ(ask("G01?UNT=").value(), "0000");
}

TEST_F(Commands, RawReplyHasTheDocumentedShape) {
    const auto reply = ask("G01?KAN=");
    ASSERT_EQ(reply.status, 0);
    // "G01=0016" + two check characters + ETX.
    ASSERT_EQ(reply.raw.size(), 11u);
    EXPECT_EQ(reply.raw.substr(0, 8), "G01=0016");
    EXPECT_EQ(reply.raw[10], '\x03');
}

TEST_F(Commands, NoControllerMeansNonZeroStatus) {
    const auto reply = ask("G04?KAN=");
    EXPECT_NE(reply.status, 0);
    EXPECT_EQ(reply.value(), "?");
    EXPECT_EQ(reply.raw, "");
}

TEST_F(Commands, UnknownMnemonicIsRefusedWithNak) {
    const auto reply = ask("G01?XYZ=");
    ASSERT_EQ(reply.status, 0);
    EXPECT_EQ(reply.raw.substr(0, 4), "G01\x15");
}

TEST_F(Commands, ZoneParameterReadWriteOnTheTextPath) {
    const int before = *bus.plant().zoneParameter(1, 3, 5);
    char expected[8];
    std::snprintf(expected, sizeof expected, "%04d", before);
    EXPECT_EQ(ask("G01K03P05=").value(), expected);

    EXPECT_EQ(ask("G01K03P05=0050").value(), "\x06");
    EXPECT_EQ(bus.plant().zoneParameter(1, 3, 5), 50);
    EXPECT_EQ(ask("G01K03P05=0500").value(), "\x15");  // above the limit of 100 %
    EXPECT_EQ(bus.plant().zoneParameter(1, 3, 5), 50);
}

TEST_F(Commands, AllChannelsParameterCarriesFourCharactersPerChannel) {
    ASSERT_TRUE(bus.plant().setZoneParameter(2, 2, 15, -10));
    const std::string value = ask("G02KALP15=").value();
    ASSERT_EQ(value.size(), 4u * 8u);
    EXPECT_EQ(value.substr(4, 4), "-010");
    EXPECT_EQ(value.substr(0, 4), "0000");
}

TEST_F(Commands, AllChannelsOfAnAbsentParameterIsRefused) {
    EXPECT_EQ(ask("G01KALP27=").value(), "\x15");
}

TEST_F(Commands, SetValExEveryCode) {
    auto& plant = bus.plant();
    EXPECT_EQ(ZEV485_SetValEx(1, 2, 0, 230), 0);
    EXPECT_EQ(plant.setpoint(1, 2), 230);

    EXPECT_EQ(ZEV485_SetValEx(1, 2, 2001, 1), 0);
    EXPECT_EQ((plant.statusWord(1, 2) & 0x60) >> 5, 1);
    EXPECT_EQ(ZEV485_SetValEx(1, 2, 3000, 40), 0);
    EXPECT_EQ(plant.output(1, 2), 40);

    EXPECT_EQ(ZEV485_SetValEx(1, 2, 2001, 2), 0);
    EXPECT_EQ((plant.statusWord(1, 2) & 0x60) >> 5, 2);

    EXPECT_EQ(ZEV485_SetValEx(1, 2, 21, 0), 0);
    EXPECT_EQ(plant.zoneParameter(1, 2, 21), 0);

    EXPECT_EQ(ZEV485_SetValEx(1, 2, 2002, 1), 0);
    EXPECT_TRUE(plant.statusWord(1, 2) & 0x100);
    EXPECT_EQ(ZEV485_SetValEx(1, 2, 2002, 0), 0);
    EXPECT_FALSE(plant.statusWord(1, 2) & 0x100);
    EXPECT_EQ(ZEV485_SetValEx(1, 2, 2003, 1), 0);
    EXPECT_EQ(ZEV485_SetValEx(2, 9, 2003, 1), kRefused);  // the controller has 8 channels
}

TEST_F(Commands, RefusedWritesLeaveThePlantAlone) {
    const int setpoint = bus.plant().setpoint(1, 1);
    EXPECT_EQ(ZEV485_SetValEx(1, 1, 0, 9999), kRefused);
    EXPECT_EQ(bus.plant().setpoint(1, 1), setpoint);
    EXPECT_EQ(ZEV485_SetValEx(1, 1, 11, 1), kRefused);  // read-only parameter
    EXPECT_EQ(ZEV485_SetValEx(1, 1, 2001, 7), kRefused);
}

TEST_F(Commands, BadArgumentsSendNothing) {
    const auto before = bus.responder().counts().requests;
    EXPECT_EQ(ZEV485_SetValEx(1, 1, 1234, 0), kBadArgument);
    EXPECT_EQ(ZEV485_SetValEx(0, 1, 0, 0), kBadArgument);
    EXPECT_EQ(ZEV485_SetValEx(1, 0, 0, 0), kBadArgument);
    EXPECT_EQ(ZEV485_SetGlobVal(1, "", 1), kBadArgument);
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?A=B", 1), kBadArgument);
    EXPECT_EQ(ZEV485_SetGlobVal(1, nullptr, 1), kBadArgument);
    EXPECT_EQ(ask("").status, kBadArgument);
    EXPECT_EQ(ask("G1?KAN=").status, kBadArgument);
    EXPECT_EQ(ask("G01?K\x7f" "N=").status, kBadArgument);
    EXPECT_EQ(bus.responder().counts().requests, before);
}

TEST_F(Commands, AskWithoutTerminatingNulIsRefused) {
    std::vector<char> buffer(1024, 'G');
    int16_t status = 0;
    ZEV485_Ask(buffer.data(), &status);
    EXPECT_EQ(status, kBadArgument);
    EXPECT_EQ(buffer[0], '\0');
}

TEST_F(Commands, GlobalValues) {
    auto& plant = bus.plant();
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?APM", 0), 0);
    EXPECT_EQ(ask("G01?APM=").value(), "0000");
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?HIW", 280), 0);
    EXPECT_EQ(ask("G01?HIW=").value(), "0280");
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?ENA", 0), 0);
    EXPECT_FALSE(plant.outputsOn(1));
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?ENA", 1), 0);
    EXPECT_TRUE(plant.outputsOn(1));
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?UNT", 1), kRefused);  // read-only
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?XYZ", 1), kRefused);
}

TEST_F(Commands, RestartAndFactorySettings) {
    ASSERT_TRUE(bus.plant().setZoneParameter(1, 1, 5, 33));
    EXPECT_EQ(ask("G01?ENA=0001").value(), "\x06");
    EXPECT_EQ(ask("G01XRES=").value(), "\x06");
    EXPECT_EQ(bus.plant().zoneParameter(1, 1, 5), 33);
    EXPECT_EQ(ask("G01XSTD=").value(), "\x06");
    EXPECT_NE(bus.plant().zoneParameter(1, 1, 5), 33);
}

TEST_F(Commands, ClockIsBroadcastToEveryController) {
    const auto broadcasts = bus.responder().counts().broadcasts;
    ZEV485_Equalize_Clocktime(36000);
    // A broadcast is not answered; the next telegram is.
    EXPECT_EQ(ask("G01?CLK=").value(), "36000");
    EXPECT_EQ(ask("G03?CLK=").value(), "36000");
    EXPECT_EQ(bus.responder().counts().broadcasts, broadcasts + 1);
}

TEST_F(Commands, BroadcastThroughAskIsSentAndNotAnswered) {
    const auto reply = ask("G00K01W=0123");
    EXPECT_EQ(reply.status, 0);
    EXPECT_EQ(reply.raw, "");
    EXPECT_EQ(bus.plant().setpoint(1, 1), 123);
    EXPECT_EQ(bus.plant().setpoint(2, 1), 123);
}

TEST(CommandsWithoutPort, EverythingReportsTheClosedPort) {
    ZEV485_SetMasterPort(0, 0, 0, 0, 0);
    EXPECT_EQ(ask("G01?KAN=").status, kPortClosed);
    EXPECT_EQ(ask("G01?KAN=").value(), "?");
    EXPECT_EQ(ZEV485_SetValEx(1, 1, 0, 200), kPortClosed);
    EXPECT_EQ(ZEV485_SetGlobVal(1, "?ENA", 1), kPortClosed);
}

TEST(CommandsWithoutPort, ClockSetBeforeTheOpenIsSentAtTheOpen) {
    ZEV485_Equalize_Clocktime(7200);
    zevsim::InProcessBus bus(zevtest::demoLine());
    EXPECT_EQ(bus.responder().counts().broadcasts, 1u);
    const auto clock = std::stol(ask("G02?CLK=").value());
    EXPECT_GE(clock, 7200);
    EXPECT_LE(clock, 7202);
}

TEST(Version, MarkerAndFunctionAgree) {
    char buffer[32];
    ZEV485_Get_Version(buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "2.1.0.40");
    char small[4];
    ZEV485_Get_Version(small, sizeof small);
    EXPECT_STREQ(small, "2.1");
}
