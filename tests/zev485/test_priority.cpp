// A command of the station waits at most for the telegram on the line, never
// for the rest of a scan: a line held inside one block read, a command queued
// meanwhile, and the order in which the telegrams then reach the controllers.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "bus_fixture.h"
#include "protocol/responder.h"
#include "zev485.h"

namespace {

// Passes the line to the responder, but holds the first block read until released.
class GatedPeer final : public zev485::LoopbackPeer {
public:
    explicit GatedPeer(zevsim::Responder& responder) : responder_(responder) {}

    std::string exchange(std::string_view written) override {
        const std::string body(written.substr(1, written.size() - 4));
        {
            std::unique_lock lock(mutex_);
            log_.push_back(body);
            if (body.find("?BLK") != std::string::npos && !held_) {
                held_ = true;
                changed_.notify_all();
                changed_.wait(lock, [&] { return released_; });
            }
        }
        std::string line;
        for (const std::string& reply : responder_.receive(written))
            line += reply;
        return line;
    }

    void waitUntilHolding() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return held_; });
    }
    void release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    std::vector<std::string> log() {
        std::lock_guard lock(mutex_);
        return log_;
    }

private:
    zevsim::Responder& responder_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool held_ = false;
    bool released_ = false;
    std::vector<std::string> log_;
};

}  // namespace

TEST(LinePriority, CommandGoesBeforeTheRestOfTheScan) {
    zevsim::Plant plant(zevtest::demoLine());
    zevsim::Responder responder(plant);
    auto peer = std::make_shared<GatedPeer>(responder);
    zevtest::PeerLine line(peer, 2);
    ASSERT_TRUE(line.opened);
    zevtest::goOnline(plant);
    peer->waitUntilHolding();  // the scan is inside the block read of address 1

    zevtest::AskReply reply;
    std::thread station([&] { reply = zevtest::ask("G03?KAN="); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the command queues for the line
    peer->release();
    station.join();

    EXPECT_EQ(reply.value(), "0004");
    auto log = peer->log();
    std::erase_if(log, [](const std::string& body) { return body.rfind("G00", 0) == 0; });  // clock
    ASSERT_GE(log.size(), 2u);
    EXPECT_EQ(log[0], "G01?BLK=");
    EXPECT_EQ(log[1], "G03?KAN=");
}
