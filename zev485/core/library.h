// The one instance behind the C interface: master and slave port, the
// controller table, the value cache, the cyclic scan, the day-file logger and
// the clock. Every method may be called from any thread.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "com_stats.h"
#include "controller_table.h"
#include "file_logger.h"
#include "master_port.h"
#include "poller.h"
#include "slave_port.h"
#include "value_cache.h"
#include "zev485_loopback.h"

namespace zev485 {

struct PortRequest {
    int port = 0;
    int mode = 0;
    long baud = 0;
    int timeoutMs = 0;
    int retries = 0;
};

struct AskResult {
    std::int16_t status = kResultPortClosed;
    std::string reply;  // raw reply: body, check characters, ETX
};

class Library {
public:
    static Library& instance();
    ~Library();

    bool openMasterPort(const PortRequest& request);
    bool openSlavePort(const PortRequest& request, int firstAddress);
    bool comPortAvailable(int port);

    AskResult ask(std::string_view command);
    std::int16_t setZoneValue(int address, int channel, int parameter, int value);
    std::int16_t setGlobalValue(int address, const char* name, std::int32_t value);
    std::int32_t value(int address, int channel, int kind) const;

    void setOnline(int address, bool online);
    void enableScan(bool on);
    void setChannels(int address, int channels);
    void setMaster(int address, int master);
    void readStats(int address, std::int32_t& good, std::int32_t& errors) const;
    void resetStats();

    void setLogDirectory(const std::string& directory);
    void enableLogging(bool on);
    void equalizeClock(std::int32_t secondsSinceMidnight);

    void installPeer(std::shared_ptr<LoopbackPeer> peer);
    std::uint64_t completedScans() const;
    std::uint32_t scansSinceChange() const;
    bool waitForScans(std::uint64_t count, std::chrono::milliseconds timeout);
    std::string lastPortError() const;

private:
    Library();
    std::unique_ptr<Transport> openTransport(const PortRequest& request, bool allowLoopback,
                                             bool& loopback);
    Exchange command(int address, const std::string& body, const ReplyCheck& accept, bool& open);
    void sendClock(MasterLink& link);

    ComStats stats_;
    ControllerTable table_;
    ValueCache cache_;
    MasterPort port_;
    Poller poller_;
    FileLogger logger_;
    SlavePort slave_;

    std::mutex portConfigMutex_;  // one port change at a time
    mutable std::mutex mutex_;    // guards the members below
    std::shared_ptr<LoopbackPeer> peer_;
    int masterPortNumber_ = 0;
    bool masterOnLoopback_ = false;
    std::string lastPortError_;
    std::optional<std::int32_t> clockSeconds_;
    SteadyClock::time_point clockSetAt_{};
};

}  // namespace zev485
