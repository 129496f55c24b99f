// What the master does with bad bytes on the line, one named case each: the
// peer below answers every request with bytes made for the case.
#include <gtest/gtest.h>

#include <functional>

#include "bus_fixture.h"
#include "wire/block.h"
#include "wire/check.h"
#include "wire/frame.h"
#include "zev485.h"
#include "zev485_loopback.h"

using namespace std::string_literals;
namespace wire = zev485::wire;

namespace {

constexpr int kDamaged = 3;

class ScriptedPeer final : public zev485::LoopbackPeer {
public:
    using Script = std::function<std::string(const std::string& body, std::uint8_t check)>;
    explicit ScriptedPeer(Script script) : script_(std::move(script)) {}
    std::string exchange(std::string_view written) override {
        const std::string body(written.substr(1, written.size() - 4));
        if (body.rfind("G00", 0) == 0)
            return {};  // the clock broadcast sent when the port opens
        ++requests;
        return script_(body, wire::crc8(body, 0));
    }
    int requests = 0;

private:
    Script script_;
};

// Opens the master port on a peer running the script; two tries per telegram.
class LineFaults : public ::testing::Test {
protected:
    void use(ScriptedPeer::Script script) {
        peer = std::make_shared<ScriptedPeer>(std::move(script));
        zev485::installLoopbackPeer(peer);
        ASSERT_EQ(ZEV485_SetMasterPort(1, 0, 19200, 200, 1), 1);
        ZEV485_ResComStatus();
    }
    void TearDown() override {
        ZEV485_EnableCyclicScan(0);
        ZEV485_SetOnline(1, 0);
        ZEV485_Set_AnzKan(1, 0);
        ZEV485_SetMasterPort(0, 0, 0, 0, 0);
        zev485::removeLoopbackPeer();
        ZEV485_ResComStatus();
    }
    int32_t errors() {
        int32_t good = 0, bad = 0;
        ZEV485_GetComStatus(1, &good, &bad);
        return bad;
    }
    int32_t good() {
        int32_t g = 0, bad = 0;
        ZEV485_GetComStatus(1, &g, &bad);
        return g;
    }
    std::shared_ptr<ScriptedPeer> peer;
};

std::string reply(const std::string& body, std::uint8_t check) { return wire::encodeFrame(body, check); }

// The scan has read address 1 and found it failing (never read is -10024).
bool failing() {
    const int32_t status = ZEV485_GetVal(1, 1, 3);
    return status < 0 && status != -10024;
}

}  // namespace

TEST_F(LineFaults, EchoedRequestIsSkipped) {
    use([](const std::string& body, std::uint8_t check) {
        return wire::encodeFrame(body, 0) + reply("G01=0016", check);
    });
    EXPECT_EQ(zevtest::ask("G01?KAN=").value(), "0016");
    EXPECT_EQ(good(), 1);
    EXPECT_EQ(errors(), 0);
}

TEST_F(LineFaults, NoiseBeforeTheReplyIsIgnored) {
    use([](const std::string&, std::uint8_t check) { return "\xff\x00\x7fzz\x03"s + reply("G01=0016", check); });
    EXPECT_EQ(zevtest::ask("G01?KAN=").value(), "0016");
}

TEST_F(LineFaults, OnlyNoiseIsDamagedNotSilent) {
    use([](const std::string&, std::uint8_t) { return "\xff\x00garbage"s; });
    EXPECT_EQ(zevtest::ask("G01?KAN=").status, kDamaged);
    EXPECT_EQ(errors(), 2);
}

TEST_F(LineFaults, OverlongFrameIsDamaged) {
    use([](const std::string&, std::uint8_t) { return "\x02G01=" + std::string(400, '7') + "\x03"; });
    EXPECT_EQ(zevtest::ask("G01?KAN=").status, kDamaged);
    EXPECT_EQ(peer->requests, 2);
}

TEST_F(LineFaults, ShortFrameIsDamaged) {
    use([](const std::string&, std::uint8_t) { return "\x02G0\x03"s; });
    EXPECT_EQ(zevtest::ask("G01?KAN=").status, kDamaged);
}

TEST_F(LineFaults, WrongCheckCharactersAreDamaged) {
    use([](const std::string&, std::uint8_t check) {
        std::string frame = reply("G01=0016", check);
        frame[frame.size() - 2] = frame[frame.size() - 2] == '0' ? '1' : '0';
        return frame;
    });
    EXPECT_EQ(zevtest::ask("G01?KAN=").status, kDamaged);
    EXPECT_EQ(errors(), 2);
}

TEST_F(LineFaults, ReplyFromAnotherAddressIsDamaged) {
    use([](const std::string&, std::uint8_t check) { return reply("G02=0016", check); });
    EXPECT_EQ(zevtest::ask("G01?KAN=").status, kDamaged);
}

TEST_F(LineFaults, LateReplyToAnEarlierTelegramIsDamaged) {
    use([](const std::string&, std::uint8_t) { return reply("G01=0012", wire::crc8("G01?AZ#=", 0)); });
    EXPECT_EQ(zevtest::ask("G01?KAN=").status, kDamaged);
}

TEST_F(LineFaults, SecondTryRepairsAFirstDamagedReply) {
    use([this](const std::string&, std::uint8_t check) {
        return peer->requests == 1 ? "\x02G01=00"s : reply("G01=0016", check);
    });
    EXPECT_EQ(zevtest::ask("G01?KAN=").value(), "0016");
    EXPECT_EQ(good(), 1);
    EXPECT_EQ(errors(), 1);
}

TEST_F(LineFaults, ValueReplyToAWriteIsNotAnAcknowledgement) {
    use([](const std::string&, std::uint8_t check) { return reply("G01=0230", check); });
    EXPECT_EQ(ZEV485_SetValEx(1, 1, 0, 230), kDamaged);
    EXPECT_EQ(peer->requests, 2);
}

TEST_F(LineFaults, AcknowledgedBlockReadIsNotCached) {
    use([](const std::string&, std::uint8_t check) { return reply("G01\x06", check); });
    ZEV485_SetOnline(1, 1);
    ZEV485_EnableCyclicScan(1);
    ASSERT_TRUE(zevtest::eventually(failing));
    EXPECT_EQ(ZEV485_GetVal(1, 1, 3), -2);
    EXPECT_EQ(ZEV485_GetVal(1, 1, 1), -10024);
}

TEST_F(LineFaults, RefusedBlockReadIsReportedAsRefusal) {
    use([](const std::string&, std::uint8_t check) { return reply("G01\x15", check); });
    ZEV485_SetOnline(1, 1);
    ZEV485_EnableCyclicScan(1);
    ASSERT_TRUE(zevtest::eventually(failing));
    EXPECT_EQ(ZEV485_GetVal(1, 1, 3), -3);
}

TEST_F(LineFaults, BlockWithDamagedPayloadUnderAGoodFrameCheckIsNotCached) {
    use([](const std::string&, std::uint8_t check) {
        wire::Block block;
        block.zones = {{200, 201, 0x41, 10, 20}, {200, 199, 0x41, 12, 21}};
        std::string payload = wire::encodeBlock(block);
        payload[4] = static_cast<char>(payload[4] ^ 0x01);
        return reply("G01=" + payload, check);
    });
    ZEV485_Set_AnzKan(1, 2);
    ZEV485_SetOnline(1, 1);
    ZEV485_EnableCyclicScan(1);
    ASSERT_TRUE(zevtest::eventually(failing));
    EXPECT_EQ(ZEV485_GetVal(1, 1, 2), -10024);
    EXPECT_EQ(ZEV485_GetVal(1, 2, 2), -10024);
}
