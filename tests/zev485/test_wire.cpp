// Frame, command and block codecs of the wire protocol: exact bytes, and the
// damaged inputs each decoder must refuse.
#include <gtest/gtest.h>

#include "wire/block.h"
#include "wire/check.h"
#include "wire/command.h"
#include "wire/frame.h"

using namespace zev485::wire;
using namespace std::string_literals;

namespace {

std::vector<std::string> split(std::string_view bytes, FrameSplitter& splitter) {
    std::vector<std::string> frames;
    splitter.feed(bytes, frames);
    return frames;
}

Block sampleBlock() {
    Block b;
    b.outputsOn = true;
    b.zones = {{250, 248, 0x41, 35, 27}, {-10024, -10024, 0x49, 0, 0}};
    return b;
}

}  // namespace

TEST(WireCheck, StandardCheckValues) {
    EXPECT_EQ(crc8("123456789", 0), 0xF4);
    EXPECT_EQ(crc16("123456789"), 0x29B1);
}

TEST(WireFrame, RequestAndReplyExactBytes) {
    EXPECT_EQ(encodeFrame("G01?KAN=", 0), "\x02G01?KAN=FF\x03"s);
    // The reply is checked from the request's check value 0xFF.
    EXPECT_EQ(encodeFrame("G01=0016", 0xFF), "\x02G01=001604\x03"s);
    EXPECT_EQ(encodeFrame("G01\x06", 0xFF), "\x02G01\x06"s + "37\x03");
}

TEST(WireFrame, ParsesReplyOfTheRightRequestAndAddress) {
    Reply reply;
    ASSERT_EQ(parseReply("G01=001604", 0xFF, 1, reply), FrameError::None);
    EXPECT_EQ(reply.kind, Reply::Kind::Value);
    EXPECT_EQ(reply.value, "0016");
    ASSERT_EQ(parseReply("G01\x06" "37", 0xFF, 1, reply), FrameError::None);
    EXPECT_EQ(reply.kind, Reply::Kind::Ack);
}

TEST(WireFrame, RefusesDamagedOrForeignReplies) {
    Reply reply;
    EXPECT_EQ(parseReply("G01=001605", 0xFF, 1, reply), FrameError::BadCheck);
    EXPECT_EQ(parseReply("G01=00160x", 0xFF, 1, reply), FrameError::BadCheck);
    EXPECT_EQ(parseReply("G01=001604", 0xFF, 2, reply), FrameError::WrongAddress);
    EXPECT_EQ(parseReply("G0", 0xFF, 1, reply), FrameError::TooShort);
    const std::string body = "G01?0016";
    EXPECT_EQ(parseReply(body + checkText(crc8(body, 0xFF)), 0xFF, 1, reply), FrameError::BadShape);
    const std::string longNak = "G01\x15X";
    EXPECT_EQ(parseReply(longNak + checkText(crc8(longNak, 0xFF)), 0xFF, 1, reply),
              FrameError::BadShape);
    const std::string control = "G01=00\x01" "6";
    EXPECT_EQ(parseReply(control + checkText(crc8(control, 0xFF)), 0xFF, 1, reply),
              FrameError::BadCharacter);
}

TEST(WireFrame, LateReplyToAnEarlierRequestFailsTheCheck) {
    // "G01?AZ#=" timed out, its reply arrives while "G01?KAN=" waits.
    const std::uint8_t earlier = crc8("G01?AZ#=", 0);
    const std::string late = encodeFrame("G01=0012", earlier);
    Reply reply;
    EXPECT_EQ(parseReply(late.substr(1, late.size() - 2), crc8("G01?KAN=", 0), 1, reply),
              FrameError::BadCheck);
}

TEST(WireFrame, RequestParsing) {
    Request request;  // views into the content
    const std::string content = "G07K03P05=0250" + checkText(crc8("G07K03P05=0250", 0));
    ASSERT_EQ(parseRequest(content, request), FrameError::None);
    EXPECT_EQ(request.address, 7);
    EXPECT_EQ(request.command, "K03P05=0250");
    EXPECT_EQ(request.check, crc8("G07K03P05=0250", 0));
    EXPECT_EQ(parseRequest("X07?KAN=" + checkText(crc8("X07?KAN=", 0)), request), FrameError::BadShape);
    const std::string binary = "G01?K\x80N=";
    EXPECT_EQ(parseRequest(binary + checkText(crc8(binary, 0)), request), FrameError::BadCharacter);
}

TEST(WireSplitter, NoiseBeforeAFrameIsCountedAndSkipped) {
    FrameSplitter s;
    const auto frames = split("\xff\x00zz\x02G01=001604\x03trailing"s, s);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], "G01=001604");
    EXPECT_EQ(s.counts().noiseBytes, 4u + 8u);
}

TEST(WireSplitter, StxInsideAFrameRestartsIt) {
    FrameSplitter s;
    const auto frames = split("\x02G01=00\x02G01=001604\x03"s, s);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], "G01=001604");
    EXPECT_EQ(s.counts().brokenFrames, 1u);
}

TEST(WireSplitter, FrameSplitAcrossReadsIsJoined) {
    FrameSplitter s;
    EXPECT_TRUE(split("\x02G01=00"s, s).empty());
    EXPECT_TRUE(s.partial());
    const auto frames = split("1604\x03"s, s);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], "G01=001604");
}

TEST(WireSplitter, OverlongFrameIsDroppedNotGrown) {
    FrameSplitter s;
    const std::string flood = "\x02" + std::string(kMaxFrame + 10, '7') + "\x03";
    EXPECT_TRUE(split(flood, s).empty());
    EXPECT_EQ(s.counts().brokenFrames, 1u);
    EXPECT_FALSE(s.partial());
}

TEST(WireCommand, ParsesEveryShape) {
    auto c = parseCommand("G01?KAN=");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->kind, Command::Kind::Controller);
    EXPECT_EQ(c->mnemonic, "?KAN");
    EXPECT_FALSE(c->write);

    c = parseCommand("G02?HIW=0350");
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->write);
    EXPECT_EQ(c->value, 350);

    c = parseCommand("G03K12P05=-010");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->kind, Command::Kind::Zone);
    EXPECT_EQ(c->channel, 12);
    EXPECT_EQ(c->item, 'P');
    EXPECT_EQ(c->parameter, 5);
    EXPECT_EQ(c->value, -10);

    c = parseCommand("G01K03W=0250");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->item, 'W');
    EXPECT_EQ(c->value, 250);

    c = parseCommand("G04KALP21=");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->kind, Command::Kind::AllChannels);
    EXPECT_EQ(c->parameter, 21);

    c = parseCommand("G05?BLK=");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->kind, Command::Kind::Block);

    c = parseCommand("G01XRES=");
    ASSERT_TRUE(c);
    EXPECT_EQ(c->mnemonic, "XRES");
}

TEST(WireCommand, RefusesMalformedCommands) {
    for (const char* bad : {"G01?KAN", "G1?KAN=", "G01K00W=1", "G01K3W=1", "G01K03Z=1",
                            "G01K03P00=", "G01K03W=12a", "G01K03W=--1", "G01=", "G01?TOOLONGMN=",
                            "G01KALP0=", "G01?HIW=1234567890"})
        EXPECT_FALSE(parseCommand(bad)) << bad;
}

TEST(WireCommand, ValueTexts) {
    EXPECT_EQ(formatValue(250), "0250");
    EXPECT_EQ(formatValue(-10), "-010");
    EXPECT_EQ(formatValue(-10024), "-10024");
    EXPECT_EQ(formatValue(12345), "12345");
    EXPECT_EQ(formatField4(9999), "9999");
    EXPECT_FALSE(formatField4(-1000));
    EXPECT_FALSE(formatField4(10000));
    EXPECT_EQ(parseValue("0250"), 250);
    EXPECT_EQ(parseValue("-010"), -10);
    EXPECT_FALSE(parseValue("-"));
    EXPECT_FALSE(parseValue(""));
    EXPECT_FALSE(parseValue("+1"));
}

TEST(WireCommand, BuildersProduceWhatTheParserReads) {
    EXPECT_EQ(zoneCommand(1, 3, kItemParameter, 5, 250), "G01K03P05=0250");
    EXPECT_EQ(zoneCommand(12, 16, kItemMode, 0, 2), "G12K16M=0002");
    EXPECT_EQ(zoneCommand(2, 1, kItemActual, 0, std::nullopt), "G02K01X=");
    EXPECT_EQ(controllerCommand(1, "?ENA", 1), "G01?ENA=0001");
    EXPECT_EQ(controllerCommand(0, kClockMnemonic, 43200), "G00?CLK=43200");
    EXPECT_EQ(allChannelsCommand(3, 7), "G03KALP07=");
    EXPECT_EQ(blockCommand(18), "G18?BLK=");
}

TEST(WireBlock, ExactBytes) {
    // count 2, outputs on; zone 1: 250 248 0x41 35 27 as differences from 0,
    // zone 2: -10024 -10024 0x49 0 0 as differences from zone 1; CRC-16.
    EXPECT_EQ(encodeBlock(sampleBlock()),
              "\x42\x41"                                  // count 2, flags 1
              "\xf4\x43" "\xf0\x43" "\x82\x41" "\xc6\x40" "\x76"  // zz 500, 496, 130, 70, 54
              "\xc3\xa0\x41" "\xbf\xa0\x41" "\x50" "\xc5\x40" "\x75"  // zz 20547, 20543, 16, 69, 53
              "\x74\x62\x4e"s);                          // CRC-16
}

TEST(WireBlock, RoundTripKeepsExtremes) {
    Block b;
    b.zones = {{-32768, 32767, INT32_MIN, -1, 0}, {0, 0, INT32_MAX, 100, 32767}};
    Block back;
    ASSERT_EQ(decodeBlock(encodeBlock(b), back), BlockError::None);
    EXPECT_EQ(back, b);
}

TEST(WireBlock, NoPayloadByteCanBeTakenForAControlCharacter) {
    Block b;
    for (int i = 0; i < 32; ++i)
        b.zones.push_back({static_cast<std::int16_t>(i * 1000 - 16000), static_cast<std::int16_t>(i),
                           i * 0x11111, static_cast<std::int16_t>(i), static_cast<std::int16_t>(-i)});
    for (unsigned char c : encodeBlock(b))
        EXPECT_GE(c, 0x40);
}

TEST(WireBlock, EveryDamageIsRefused) {
    const std::string good = encodeBlock(sampleBlock());
    Block out;
    // Every single changed byte and every cut must be detected.
    for (std::size_t i = 0; i < good.size(); ++i) {
        for (unsigned char flip : {0x01, 0x02, 0x10, 0x20, 0x80}) {
            std::string bad = good;
            bad[i] = static_cast<char>(bad[i] ^ flip);
            EXPECT_NE(decodeBlock(bad, out), BlockError::None) << "byte " << i << " flip " << int(flip);
        }
        EXPECT_NE(decodeBlock(good.substr(0, i), out), BlockError::None) << "cut at " << i;
    }
    EXPECT_EQ(decodeBlock(good + "\x40", out), BlockError::BadCheck);
}

TEST(WireBlock, RefusesImpossibleCountsUnderAValidCheck) {
    auto withCheck = [](std::string data) {
        const std::uint16_t c = crc16(data);
        data += static_cast<char>(0x40 | (c & 0x3F));
        data += static_cast<char>(0x40 | ((c >> 6) & 0x3F));
        data += static_cast<char>(0x40 | (c >> 12));
        return data;
    };
    Block out;
    EXPECT_EQ(decodeBlock(withCheck("\x40\x40"), out), BlockError::BadCount);       // 0 channels
    EXPECT_EQ(decodeBlock(withCheck("\xa1\x40\x40"), out), BlockError::BadCount);   // 33 channels
    EXPECT_EQ(decodeBlock(withCheck("\x41\x42"), out), BlockError::OutOfRange);     // unknown flag
    EXPECT_EQ(decodeBlock(withCheck("\x41\x40\x40\x40"), out), BlockError::Truncated);
    // A 16-bit field holding 0x10000.
    EXPECT_EQ(decodeBlock(withCheck("\x41\x40\x80\x80\x44\x40\x40\x40\x40"), out),
              BlockError::OutOfRange);
}
