// What the master does with bad bytes on the line, one named case each: the
// peer below answers every request with bytes made for the case.
#include <gtest/gtest.h>

#include <functional>

#include "bus_fixture.h"
#include "wire/block.h"
#include "wire/check.h"
#include "wire/frame.h"
#include "zev485.h"

using namespace std::string_literals;
namespace wire = zev485::wire;

namespace {

constexpr int kDamaged = 3;

// The request number (from 1, the clock broadcast at the opening not counted)
// and the request's check value give the bytes on the line.
using Script = std::function<std::string(int request, std::uint8_t check)>;

class ScriptedPeer final : public zev485::LoopbackPeer {
public:
    explicit ScriptedPeer(Script script) : script_(std::move(script)) {}
    std::string exchange(std::string_view written) override {
        const std::string body(written.substr(1, written.size() - 4));
        if (body.rfind("G00", 0) == 0)
            return {};
        return script_(++requests, wire::crc8(body, 0));
    }
    int requests = 0;

private:
    Script script_;
};

std::string reply(const std::string& body, std::uint8_t check) { return wire::encodeFrame(body, check); }

struct Case {
    const char* name;
    Script script;
    int status;     // of ZEV485_Ask("G01?KAN=")
    int requests;   // telegrams sent (two tries at most)
    int good, errors;
};

}  // namespace

TEST(LineFaults, TextCommandOnABadLine) {
    const Case cases[] = {
        {"echoed request skipped", [](int, std::uint8_t c) { return wire::encodeFrame("G01?KAN=", 0) + reply("G01=0016", c); },
         0, 1, 1, 0},
        {"noise before the reply ignored", [](int, std::uint8_t c) { return "\xff\x00\x7fzz\x03"s + reply("G01=0016", c); },
         0, 1, 1, 0},
        {"second try repairs a damaged reply",
         [](int n, std::uint8_t c) { return n == 1 ? "\x02G01=00"s : reply("G01=0016", c); }, 0, 2, 1, 1},
        {"only noise", [](int, std::uint8_t) { return "\xff\x00garbage"s; }, kDamaged, 2, 0, 2},
        {"overlong frame", [](int, std::uint8_t) { return "\x02G01=" + std::string(400, '7') + "\x03"; }, kDamaged, 2, 0, 2},
        {"short frame", [](int, std::uint8_t) { return "\x02G0\x03"s; }, kDamaged, 2, 0, 2},
        {"wrong check characters",
         [](int, std::uint8_t c) {
             std::string frame = reply("G01=0016", c);
             frame[frame.size() - 2] = frame[frame.size() - 2] == '0' ? '1' : '0';
             return frame;
         },
         kDamaged, 2, 0, 2},
        {"reply of another address", [](int, std::uint8_t c) { return reply("G02=0016", c); }, kDamaged, 2, 0, 2},
        {"late reply to an earlier telegram",
         [](int, std::uint8_t) { return reply("G01=0012", wire::crc8("G01?AZ#=", 0)); }, kDamaged, 2, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto peer = std::make_shared<ScriptedPeer>(c.script);
        zevtest::PeerLine line(peer, 1);
        ASSERT_TRUE(line.opened);
        const auto answer = zevtest::ask("G01?KAN=");
        EXPECT_EQ(answer.status, c.status);
        if (c.status == 0) {
            EXPECT_EQ(answer.value(), "0016");
        }
        EXPECT_EQ(peer->requests, c.requests);
        EXPECT_EQ(zevtest::comStatus(1).good, c.good);
        EXPECT_EQ(zevtest::comStatus(1).errors, c.errors);
    }
}

TEST(LineFaults, ValueReplyToAWriteIsNotAnAcknowledgement) {
    auto peer = std::make_shared<ScriptedPeer>([](int, std::uint8_t c) { return reply("G01=0230", c); });
    zevtest::PeerLine line(peer, 1);
    EXPECT_EQ(ZEV485_SetValEx(1, 1, 0, 230), kDamaged);
    EXPECT_EQ(peer->requests, 2);
}

// Block reads the scan must not cache: the status word tells why (-2 damaged,
// -3 refused), the values stay unknown.
TEST(LineFaults, BadBlockReadsAreNotCached) {
    auto damagedPayload = [](int, std::uint8_t c) {
        wire::Block block;
        block.zones = {{200, 201, 0x41, 10, 20}, {200, 199, 0x41, 12, 21}};
        std::string payload = wire::encodeBlock(block);
        payload[4] = static_cast<char>(payload[4] ^ 0x01);
        return reply("G01=" + payload, c);  // under a good frame check
    };
    const std::tuple<const char*, Script, int32_t> cases[] = {
        {"acknowledged", [](int, std::uint8_t c) { return reply("G01\x06", c); }, -2},
        {"refused", [](int, std::uint8_t c) { return reply("G01\x15", c); }, -3},
        {"damaged payload", damagedPayload, -2},
    };
    for (const auto& [name, script, status] : cases) {
        SCOPED_TRACE(name);
        zevtest::PeerLine line(std::make_shared<ScriptedPeer>(script), 1);
        ZEV485_Set_AnzKan(1, 2);
        ZEV485_SetOnline(1, 1);
        ZEV485_EnableCyclicScan(1);
        // The scan has read address 1 and found it failing (never read is -10024).
        ASSERT_TRUE(zevtest::eventually([] { return zevtest::get(1, 1, 3) < 0 && zevtest::get(1, 1, 3) != -10024; }));
        EXPECT_EQ(zevtest::get(1, 1, 3), status);
        for (int kind : {1, 2})
            for (int channel : {1, 2})
                EXPECT_EQ(zevtest::get(1, channel, kind), -10024);
    }
}
