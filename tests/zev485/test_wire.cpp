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

// The body followed by its check characters, seeded with `seed`.
std::string checked(const std::string& body, std::uint8_t seed) { return body + checkText(crc8(body, seed)); }

Block sampleBlock() {
    Block b;
    b.outputsOn = true;
    b.zones = {{250, 248, 0x41, 35, 27}, {-10024, -10024, 0x49, 0, 0}};
    return b;
}

}  // namespace

TEST(WireFrame, RequestAndReplyExactBytes) {
    EXPECT_EQ(encodeFrame("G01?KAN=", 0), "\x02G01?KAN=FF\x03"s);
    // The reply is checked from the request's check value 0xFF.
    EXPECT_EQ(encodeFrame("G01=0016", 0xFF), "\x02G01=001604\x03"s);
    EXPECT_EQ(encodeFrame("G01\x06", 0xFF), "\x02G01\x06"s + "37\x03");
    Reply reply;
    ASSERT_EQ(parseReply("G01=001604", 0xFF, 1, reply), FrameError::None);
    EXPECT_EQ(reply.kind, Reply::Kind::Value);
    EXPECT_EQ(reply.value, "0016");
}

TEST(WireFrame, RefusesDamagedOrForeignReplies) {
    const std::pair<std::string, FrameError> cases[] = {
        {"G01=001605", FrameError::BadCheck},
        {"G01=00160x", FrameError::BadCheck},
        {"G0", FrameError::TooShort},
        {checked("G01?0016", 0xFF), FrameError::BadShape},
        {checked("G01\x15X", 0xFF), FrameError::BadShape},  // a NAK carries nothing
        {checked("G01=00\x01" "6", 0xFF), FrameError::BadCharacter},
    };
    Reply reply;
    for (const auto& [content, error] : cases)
        EXPECT_EQ(parseReply(content, 0xFF, 1, reply), error) << content;
    EXPECT_EQ(parseReply("G01=001604", 0xFF, 2, reply), FrameError::WrongAddress);
}

// Requests the simulator and the slave port read are parsed on every telegram
// of the line tests; here what must be refused.
TEST(WireFrame, RefusesMalformedRequests) {
    Request request;
    EXPECT_EQ(parseRequest(checked("X07?KAN=", 0), request), FrameError::BadShape);
    EXPECT_EQ(parseRequest(checked("G01?K\x80N=", 0), request), FrameError::BadCharacter);
}

TEST(WireSplitter, FramesOutOfNoiseCutsAndRestarts) {
    struct Case {
        const char* name;
        std::vector<std::string> reads;
        std::size_t frames;
        int noise;  // -1: not looked at
        std::size_t broken;
    };
    const Case cases[] = {
        {"noise before a frame", {"\xff\x00zz\x02G01=001604\x03trailing"s}, 1, 4 + 8, 0},
        {"STX inside a frame restarts it", {"\x02G01=00\x02G01=001604\x03"s}, 1, 0, 1},
        {"frame split across reads", {"\x02G01=00"s, "1604\x03"s}, 1, 0, 0},
        {"overlong frame dropped, not grown", {"\x02" + std::string(kMaxFrame + 10, '7') + "\x03"}, 0, -1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FrameSplitter s;
        std::vector<std::string> frames;
        for (const std::string& bytes : c.reads) {
            EXPECT_TRUE(frames.empty());
            s.feed(bytes, frames);
            EXPECT_EQ(s.partial(), frames.empty() && c.frames > 0);
        }
        ASSERT_EQ(frames.size(), c.frames);
        if (c.frames) {
            EXPECT_EQ(frames[0], "G01=001604");
        }
        if (c.noise >= 0) {
            EXPECT_EQ(s.counts().noiseBytes, static_cast<std::size_t>(c.noise));
        }
        EXPECT_EQ(s.counts().brokenFrames, c.broken);
    }
}

// The shapes the controllers and the slave port read are parsed on every
// telegram of the simulator tests; here what must be refused.
TEST(WireCommand, RefusesMalformedCommands) {
    for (const char* bad : {"G01?KAN", "G1?KAN=", "G01K00W=1", "G01K3W=1", "G01K03Z=1",
                            "G01K03P00=", "G01K03W=12a", "G01K03W=--1", "G01=", "G01?TOOLONGMN=",
                            "G01KALP0=", "G01?HIW=1234567890"})
        EXPECT_FALSE(parseCommand(bad)) << bad;
}

TEST(WireCommand, ValueTexts) {
    for (const auto& [value, text] : {std::pair{250, "0250"}, {-10, "-010"}, {-10024, "-10024"}, {12345, "12345"}})
        EXPECT_EQ(formatValue(value), text);
    EXPECT_EQ(formatField4(9999), "9999");
    EXPECT_FALSE(formatField4(-1000));
    EXPECT_FALSE(formatField4(10000));
    EXPECT_EQ(parseValue("0250"), 250);
    EXPECT_EQ(parseValue("-010"), -10);
    for (const char* bad : {"-", "", "+1"})
        EXPECT_FALSE(parseValue(bad)) << bad;
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

TEST(WireBlock, RoundTripKeepsExtremesAndNoByteLooksLikeAControlCharacter) {
    Block b;
    b.zones = {{-32768, 32767, INT32_MIN, -1, 0}, {0, 0, INT32_MAX, 100, 32767}};
    for (int i = 0; i < 30; ++i)
        b.zones.push_back({static_cast<std::int16_t>(i * 1000 - 16000), static_cast<std::int16_t>(i),
                           i * 0x11111, static_cast<std::int16_t>(i), static_cast<std::int16_t>(-i)});
    const std::string bytes = encodeBlock(b);
    for (unsigned char c : bytes)
        EXPECT_GE(c, 0x40);
    Block back;
    ASSERT_EQ(decodeBlock(bytes, back), BlockError::None);
    EXPECT_EQ(back, b);
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

TEST(WireBlock, RefusesImpossibleContentUnderAValidCheck) {
    auto withCheck = [](std::string data) {
        const std::uint16_t c = crc16(data);
        data += static_cast<char>(0x40 | (c & 0x3F));
        data += static_cast<char>(0x40 | ((c >> 6) & 0x3F));
        data += static_cast<char>(0x40 | (c >> 12));
        return data;
    };
    const std::pair<std::string, BlockError> cases[] = {
        {"\x40\x40", BlockError::BadCount},      // 0 channels
        {"\xa1\x40\x40", BlockError::BadCount},  // 33 channels
        {"\x41\x42", BlockError::OutOfRange},    // unknown flag
        {"\x41\x40\x40\x40", BlockError::Truncated},
        {"\x41\x40\x80\x80\x44\x40\x40\x40\x40", BlockError::OutOfRange},  // a 16-bit field holding 0x10000
    };
    Block out;
    for (const auto& [data, error] : cases)
        EXPECT_EQ(decodeBlock(withCheck(data), out), error);
}
