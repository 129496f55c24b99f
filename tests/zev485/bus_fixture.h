// Helpers shared by the bus library tests: the usual demo line, a temporary
// directory, shortcuts around the C interface, and a line on a test's own peer.
#pragma once

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "plant/plant.h"
#include "zev485.h"
#include "zev485_loopback.h"

namespace zevtest {

// Three controllers of 16, 8 and 4 channels; the third is a slave of the second.
std::vector<zevsim::ControllerConfig> demoLine();

// The raw reply of ZEV485_Ask and its status.
struct AskReply {
    std::string raw;
    int status = -1;
    // Value between "=" and the check characters, or the ACK/NAK character, or "?".
    std::string value() const;
};
AskReply ask(const std::string& command);

// ZEV485_GetVal and ZEV485_GetComStatus with plain numbers.
int32_t get(int address, int channel, int kind);
struct ComStatus {
    int32_t good = 0;
    int32_t errors = 0;
};
ComStatus comStatus(int address);

// The plant's channel counts into the library, every controller online, scan on.
void goOnline(const zevsim::Plant& plant);
// Scan off, every address offline without channels.
void goOffline();

// Master port 1 opened on the peer with `retries` repetitions; the end of the
// object leaves the library as loaded (offline, port closed, statistics cleared).
class PeerLine {
public:
    PeerLine(std::shared_ptr<zev485::LoopbackPeer> peer, int retries);
    ~PeerLine();
    bool opened = false;
};

// Polls pred every 5 ms until it holds or the limit passes.
template <typename Pred>
bool eventually(Pred pred, std::chrono::milliseconds limit = std::chrono::seconds(2)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// A fresh directory below the system's temporary directory, removed at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

// Sets ZEV485_PORTS for the lifetime of the object.
class PortsDirectory {
public:
    explicit PortsDirectory(const std::filesystem::path& dir);
    ~PortsDirectory();
};

}  // namespace zevtest
