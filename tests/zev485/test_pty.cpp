// The serial path end to end: the library opens COM n through the ports
// directory and talks to the simulator over a real pseudo-terminal, in-process
// and with the zevsim program as a child; the port lock; a port that vanishes;
// the slave port answering another master.
#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "bus_fixture.h"
#include "protocol/in_process_bus.h"
#include "protocol/pty_server.h"
#include "wire/block.h"
#include "wire/check.h"
#include "wire/command.h"
#include "wire/frame.h"
#include "zev485.h"
#include "zev485_diag.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

using zevtest::get;
using zevtest::goOffline;
using zevtest::goOnline;

class PtyLine : public ::testing::Test {
protected:
    void SetUp() override {
        plant.setNoise(0.0);
        server.start();
        ZEV485_ResComStatus();
    }
    void TearDown() override {
        goOffline();
        ZEV485_SetMasterPort(0, 0, 0, 0, 0);
        ZEV485_ResComStatus();
    }

    zevtest::TempDir home;
    zevtest::PortsDirectory ports{home.path() / "ports"};
    zevsim::Plant plant{zevtest::demoLine()};
    zevsim::Responder responder{plant};
    zevsim::PtyServer server{responder, {(home.path() / "ports" / "COM2").string(), 0, 2}};
};

}  // namespace

TEST_F(PtyLine, WholePathOverAPseudoTerminal) {
    ASSERT_EQ(ZEV485_SetMasterPort(2, 0, 38400, 200, 2), 1) << zev485::lastPortError();
    EXPECT_EQ(zevtest::ask("G01?KAN=").value(), "0016");
    EXPECT_EQ(zevtest::ask("G03?DTP=").value(), "0002");
    EXPECT_EQ(ZEV485_SetValEx(2, 3, 0, 175), 0);
    EXPECT_EQ(plant.setpoint(2, 3), 175);

    goOnline(plant);
    const auto scans = zev485::completedScans();
    ASSERT_TRUE(zev485::waitForScans(scans + 2, 5s));
    for (int c = 1; c <= 8; ++c) {
        EXPECT_EQ(get(2, c, 1), plant.setpoint(2, c));
        EXPECT_EQ(get(2, c, 2), plant.actual(2, c));
        EXPECT_EQ(get(2, c, 3), plant.statusWord(2, c));
    }
    EXPECT_GT(zevtest::comStatus(1).good, 0);
    EXPECT_EQ(zevtest::comStatus(1).errors, 0);
    EXPECT_GT(responder.counts().blockReads, 0u);
}

TEST_F(PtyLine, PortIsLockedWhileOpen) {
    EXPECT_EQ(ComPortAvailable(2), 1);
    ASSERT_EQ(ZEV485_SetMasterPort(2, 0, 19200, 200, 2), 1);
    EXPECT_EQ(ComPortAvailable(2), 0);
    ZEV485_SetMasterPort(0, 0, 0, 0, 0);
    EXPECT_EQ(ComPortAvailable(2), 1);

    // Another program holding the line keeps us off it.
    const int other = ::open((home.path() / "ports" / "COM2").c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(ComPortAvailable(2), 0);
    EXPECT_EQ(ZEV485_SetMasterPort(2, 0, 19200, 200, 2), 0);
    EXPECT_NE(zev485::lastPortError().find("in use"), std::string::npos);
    ::close(other);
    EXPECT_EQ(ZEV485_SetMasterPort(2, 0, 19200, 200, 2), 1);
}

TEST_F(PtyLine, BadPortSettingsFailClearly) {
    // A pty has no kernel RS485 mode (-1).
    const std::tuple<int, int, int, const char*> refused[] = {
        {2, 3, 19200, "mode"}, {2, 0, 12345, "baud"}, {2, -1, 19200, "RS485"}, {19, 0, 19200, ""}};
    for (const auto& [port, mode, baud, reason] : refused) {
        EXPECT_EQ(ZEV485_SetMasterPort(static_cast<uint8_t>(port), static_cast<int16_t>(mode), baud, 200, 2), 0) << reason;
        EXPECT_NE(zev485::lastPortError().find(reason), std::string::npos) << zev485::lastPortError();
    }
    EXPECT_EQ(ComPortAvailable(0), 0);
    EXPECT_EQ(ComPortAvailable(19), 0);
    // Bluetooth mode is a serial device with more patience.
    EXPECT_EQ(ZEV485_SetMasterPort(2, 6, 19200, 200, 2), 1);
    EXPECT_EQ(zevtest::ask("G02?KAN=").value(), "0008");
}

TEST_F(PtyLine, VanishedPortCountsErrorsAndReopens) {
    ASSERT_EQ(ZEV485_SetMasterPort(2, 0, 38400, 200, 2), 1);
    goOnline(plant);
    ASSERT_TRUE(zev485::waitForScans(zev485::completedScans() + 1, 5s));
    ZEV485_ResComStatus();
    server.stop();  // the other end closes: reads give EIO
    ASSERT_TRUE(zevtest::eventually([] { return get(1, 1, 3) == -1; }));
    EXPECT_EQ(get(1, 1, 2), -10024);
    EXPECT_GT(zevtest::comStatus(1).errors, 0);
    EXPECT_NE(zevtest::ask("G01?KAN=").status, 0);

    zevsim::PtyServer again(responder, {(home.path() / "ports" / "COM2").string(), 0, 2});
    again.start();
    ASSERT_EQ(ZEV485_SetMasterPort(2, 0, 38400, 200, 2), 1);
    EXPECT_EQ(zevtest::ask("G01?KAN=").value(), "0016");
}

namespace {

// The other master's end of the slave port.
class ForeignMaster {
public:
    explicit ForeignMaster(const fs::path& link) {
        fd_ = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(fd_);
        ::unlockpt(fd_);
        termios tio {};
        ::tcgetattr(fd_, &tio);
        ::cfmakeraw(&tio);
        ::tcsetattr(fd_, TCSANOW, &tio);
        fs::create_directories(link.parent_path());
        fs::create_symlink(::ptsname(fd_), link);
    }
    ~ForeignMaster() { ::close(fd_); }

    // Sends the request; returns the reply frame content, or "" after 150 ms of silence.
    std::string request(const std::string& body) {
        check_ = zev485::wire::crc8(body, 0);
        const std::string frame = zev485::wire::encodeFrame(body, 0);
        [[maybe_unused]] auto n = ::write(fd_, frame.data(), frame.size());
        zev485::wire::FrameSplitter splitter;
        std::vector<std::string> frames;
        while (frames.empty()) {
            pollfd p{fd_, POLLIN, 0};
            if (::poll(&p, 1, 150) <= 0)
                return {};
            char buf[512];
            const ssize_t got = ::read(fd_, buf, sizeof buf);
            if (got <= 0)
                return {};
            splitter.feed(std::string_view(buf, static_cast<std::size_t>(got)), frames);
        }
        return frames[0];
    }
    std::uint8_t check() const { return check_; }

private:
    int fd_ = -1;
    std::uint8_t check_ = 0;
};

}  // namespace

TEST(SlavePort, AnswersAnotherMasterFromTheCacheAndRefusesWrites) {
    zevsim::InProcessBus bus(zevtest::demoLine());
    bus.plant().setNoise(0.0);
    bus.startScan();
    ZEV485_EnableCyclicScan(0);  // keep the cache still while we compare

    zevtest::TempDir home;
    zevtest::PortsDirectory ports(home.path());
    ForeignMaster master(home.path() / "COM5");
    ASSERT_EQ(ZEV485_SetSlavePort(5, 0, 19200, 200, 2, 10), 1) << zev485::lastPortError();

    namespace wire = zev485::wire;
    // Address 10 is our controller 1, 11 is our 2.
    std::string content = master.request("G10?BLK=");
    wire::Reply reply;
    ASSERT_EQ(wire::parseReply(content, master.check(), 10, reply), wire::FrameError::None);
    wire::Block block;
    ASSERT_EQ(wire::decodeBlock(reply.value, block), wire::BlockError::None);
    ASSERT_EQ(block.zones.size(), 16u);
    EXPECT_EQ(block.zones[4].actual, get(1, 5, 2));
    EXPECT_EQ(block.zones[4].status, get(1, 5, 3));

    content = master.request("G11K02X=");
    ASSERT_EQ(wire::parseReply(content, master.check(), 11, reply), wire::FrameError::None);
    EXPECT_EQ(std::string(reply.value), wire::formatValue(get(2, 2, 2)));

    content = master.request("G11?KAN=");
    ASSERT_EQ(wire::parseReply(content, master.check(), 11, reply), wire::FrameError::None);
    EXPECT_EQ(reply.value, "0008");

    for (const char* refused : {"G10K01W=0100", "G10?HIW=", "G10K01P05=", "G10?ENA=0000", "G10X"}) {
        content = master.request(refused);
        ASSERT_EQ(wire::parseReply(content, master.check(), 10, reply), wire::FrameError::None) << refused;
        EXPECT_EQ(reply.kind, wire::Reply::Kind::Nak) << refused;
    }
    EXPECT_NE(bus.plant().setpoint(1, 1), 100);
    // Addresses below the first and beyond our controllers stay silent.
    EXPECT_EQ(master.request("G09?KAN="), "");
    EXPECT_EQ(master.request("G13?KAN="), "");

    EXPECT_EQ(ZEV485_SetSlavePort(0, 0, 0, 0, 0, 0), 0);
    EXPECT_EQ(master.request("G10?KAN="), "");
}

TEST(ZevsimProgram, ServesTheLineTakesControlLinesAndCleansUp) {
    const char* program = std::getenv("ZEVSIM_PROGRAM");
    const fs::path zevsim = program ? fs::path(program)
                                    : fs::read_symlink("/proc/self/exe").parent_path() / "zevsim";
    ASSERT_TRUE(fs::exists(zevsim)) << zevsim;
    zevtest::TempDir home;
    const fs::path link = home.path() / "ports" / "COM3";
    const fs::path control = home.path() / "control";

    const pid_t child = ::fork();
    if (child == 0) {
        ::execl(zevsim.c_str(), "zevsim", "--port-link", link.c_str(), "--baud", "0", "--controllers",
                "8,4", "--control", control.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ASSERT_GT(child, 0);
    ASSERT_TRUE(zevtest::eventually([&] { return fs::is_symlink(link) && fs::exists(control); }));

    {
        zevtest::PortsDirectory ports(home.path() / "ports");
        ASSERT_EQ(ZEV485_SetMasterPort(3, 0, 19200, 50, 1), 1) << zev485::lastPortError();
        EXPECT_EQ(zevtest::ask("G01?KAN=").value(), "0008");
        EXPECT_EQ(zevtest::ask("G02?KAN=").value(), "0004");
        ZEV485_Set_AnzKan(1, 8);
        ZEV485_Set_AnzKan(2, 4);
        ZEV485_SetOnline(1, 1);
        ZEV485_SetOnline(2, 1);
        ZEV485_EnableCyclicScan(1);
        ASSERT_TRUE(zevtest::eventually([] { return get(2, 4, 3) >= 0; }));

        {
            const int fifo = ::open(control.c_str(), O_WRONLY);
            ASSERT_GE(fifo, 0);
            const std::string line = "fault silent 2\n";
            ASSERT_EQ(::write(fifo, line.data(), line.size()), static_cast<ssize_t>(line.size()));
            ::close(fifo);
        }
        EXPECT_TRUE(zevtest::eventually([] { return get(2, 1, 3) == -1; }));
        EXPECT_GE(get(1, 1, 3), 0);
        goOffline();
        ZEV485_SetMasterPort(0, 0, 0, 0, 0);
    }

    ::kill(child, SIGTERM);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_FALSE(fs::exists(control));
}
