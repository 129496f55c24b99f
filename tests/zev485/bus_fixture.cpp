#include "bus_fixture.h"

#include <cstdlib>
#include <random>

namespace zevtest {

std::vector<zevsim::ControllerConfig> demoLine() {
    zevsim::ControllerConfig first;
    first.channels = 16;
    zevsim::ControllerConfig second;
    second.channels = 8;
    second.type = "ZEV-8";
    zevsim::ControllerConfig third;
    third.channels = 4;
    third.slave = true;
    third.type = "ZEV-4";
    return {first, second, third};
}

std::string AskReply::value() const {
    if (status != 0 || raw.size() < 4)
        return "?";
    if (raw[3] == '\x06' || raw[3] == '\x15')
        return std::string(1, raw[3]);
    if (raw[3] != '=')
        return "?";
    const auto etx = raw.find('\x03');
    if (etx == std::string::npos || etx < 6)
        return "?";
    return raw.substr(4, etx - 2 - 4);
}

AskReply ask(const std::string& command) {
    std::vector<char> buffer(1024, '\0');
    command.copy(buffer.data(), std::min<std::size_t>(command.size(), 1023));
    int16_t status = -1;
    ZEV485_Ask(buffer.data(), &status);
    return {std::string(buffer.data()), status};
}

int32_t get(int a, int c, int kind) {
    return ZEV485_GetVal(static_cast<uint8_t>(a), static_cast<uint8_t>(c), static_cast<uint8_t>(kind));
}

ComStatus comStatus(int address) {
    ComStatus s;
    ZEV485_GetComStatus(static_cast<uint8_t>(address), &s.good, &s.errors);
    return s;
}

void goOnline(const zevsim::Plant& plant) {
    for (int a = 1; a <= plant.controllerCount(); ++a) {
        ZEV485_Set_AnzKan(static_cast<uint8_t>(a), static_cast<uint8_t>(plant.config(a).channels));
        ZEV485_SetOnline(static_cast<uint8_t>(a), 1);
    }
    ZEV485_EnableCyclicScan(1);
}

void goOffline() {
    ZEV485_EnableCyclicScan(0);
    for (int a = 1; a <= 27; ++a) {
        ZEV485_SetOnline(static_cast<uint8_t>(a), 0);
        ZEV485_Set_AnzKan(static_cast<uint8_t>(a), 0);
    }
}

PeerLine::PeerLine(std::shared_ptr<zev485::LoopbackPeer> peer, int retries) {
    zev485::installLoopbackPeer(std::move(peer));
    opened = ZEV485_SetMasterPort(1, 0, 19200, 200, static_cast<int16_t>(retries)) == 1;
    ZEV485_ResComStatus();
}

PeerLine::~PeerLine() {
    goOffline();
    ZEV485_SetMasterPort(0, 0, 0, 0, 0);
    zev485::removeLoopbackPeer();
    ZEV485_ResComStatus();
}

TempDir::TempDir() {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("zev485-test-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

PortsDirectory::PortsDirectory(const std::filesystem::path& dir) {
    ::setenv("ZEV485_PORTS", dir.c_str(), 1);
}

PortsDirectory::~PortsDirectory() { ::unsetenv("ZEV485_PORTS"); }

}  // namespace zevtest
