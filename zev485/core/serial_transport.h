// A serial device in raw mode, 8N1, locked against other programs.
//
// Modes: 0 a converter that switches the RS485 direction by itself (USB or
// plug-in), 6 a Bluetooth serial link (an rfcomm device behind the same COM
// link; it buffers, so replies are given more time), -1 the kernel's RS485
// mode (TIOCSRS485: the driver switches RTS around each transmission); a
// device without that mode fails to open.
#pragma once

#include <atomic>
#include <memory>
#include <string>

#include "transport.h"

namespace zev485 {

inline constexpr int kModeConverter = 0;
inline constexpr int kModeBluetooth = 6;
inline constexpr int kModeKernelRs485 = -1;

struct SerialSettings {
    std::string device;
    int mode = kModeConverter;
    long baud = 19200;
};

class SerialTransport final : public Transport {
public:
    // nullptr on failure; error then says why.
    static std::unique_ptr<SerialTransport> open(const SerialSettings& settings, std::string& error);
    ~SerialTransport() override;

    IoResult send(std::string_view bytes, SteadyClock::time_point deadline) override;
    IoResult receive(std::string& out, SteadyClock::time_point deadline) override;
    void discardInput() override;
    void interrupt() override;
    std::chrono::nanoseconds byteTime() const override { return byteTime_; }
    std::chrono::milliseconds extraLatency() const override;
    bool recover() override;

private:
    SerialTransport(SerialSettings settings, int fd, int wakeFd);
    static int openDevice(const SerialSettings& settings, std::string& error);

    SerialSettings settings_;
    int fd_ = -1;
    int wakeFd_ = -1;
    std::chrono::nanoseconds byteTime_;
    std::atomic<bool> interrupted_{false};
    bool failed_ = false;
    SteadyClock::time_point lastRecovery_{};
};

}  // namespace zev485
