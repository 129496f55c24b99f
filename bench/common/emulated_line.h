// The emulated RS485 line of the benchmarks: a simulated plant of 18
// controllers x 15 channels in closed-loop control, served on a pseudo-terminal
// paced at the baud rate (10 bits per byte), with the bus library scanning it.
// It counts the bytes the telegrams put on the line.
#pragma once

#include "protocol/pty_server.h"
#include "zev485.h"
#include "zev485_diag.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zev::bench {

constexpr int kLineControllers = 18;
constexpr int kLineChannels = 15;

class EmulatedLine {
public:
    struct Options {
        long baud = 19200;
        std::function<int(int address, int channel)> setpoint = [](int, int) { return 200; };
        double warmSeconds = 0.0;         // plant time run before the line opens
        bool countBlockReads = true;      // false: only the other telegrams count
    };

    explicit EmulatedLine(const Options& options) {
        using namespace std::chrono_literals;
        std::random_device random;
        home_ = std::filesystem::temp_directory_path() / ("zev-bench-line-" + std::to_string(random()));
        std::filesystem::create_directories(home_);
        ::setenv("ZEV485_PORTS", home_.c_str(), 1);
        plant_ = std::make_unique<zevsim::Plant>(
            std::vector<zevsim::ControllerConfig>(kLineControllers, zevsim::ControllerConfig{kLineChannels}));
        for (int a = 1; a <= kLineControllers; ++a)
            for (int c = 1; c <= kLineChannels; ++c) {
                plant_->setSetpoint(a, c, options.setpoint(a, c));
                plant_->setMode(a, c, 2);
            }
        if (options.warmSeconds > 0) plant_->advance(options.warmSeconds);
        responder_ = std::make_unique<zevsim::Responder>(*plant_);
        const bool blocks = options.countBlockReads;
        responder_->setObserver([this, blocks](std::string_view request, std::string_view reply) {
            if (!blocks && request.find("?BLK") != std::string_view::npos) return;
            lineBytes_ += request.size() + 2 + reply.size();  // STX, ETX around the request
        });
        server_ = std::make_unique<zevsim::PtyServer>(
            *responder_, zevsim::PtyServerOptions{(home_ / "COM1").string(), options.baud, 2});
        server_->start();
        if (ZEV485_SetMasterPort(1, 0, options.baud, 200, 2) != 1) throw std::runtime_error(zev485::lastPortError());
        for (int a = 1; a <= kLineControllers; ++a) {
            ZEV485_Set_AnzKan(static_cast<uint8_t>(a), kLineChannels);
            ZEV485_SetOnline(static_cast<uint8_t>(a), 1);
        }
        ZEV485_EnableCyclicScan(1);
        zev485::waitForScans(zev485::completedScans() + 1, 30s);
    }

    ~EmulatedLine() {
        ZEV485_EnableCyclicScan(0);
        for (int a = 1; a <= kLineControllers; ++a) ZEV485_SetOnline(static_cast<uint8_t>(a), 0);
        ZEV485_SetMasterPort(0, 0, 0, 0, 0);
        server_->stop();
        ::unsetenv("ZEV485_PORTS");
        std::error_code ec;
        std::filesystem::remove_all(home_, ec);
    }

    EmulatedLine(const EmulatedLine&) = delete;
    EmulatedLine& operator=(const EmulatedLine&) = delete;

    std::uint64_t lineBytes() const { return lineBytes_; }

private:
    std::filesystem::path home_;
    std::unique_ptr<zevsim::Plant> plant_;
    std::unique_ptr<zevsim::Responder> responder_;
    std::unique_ptr<zevsim::PtyServer> server_;
    std::atomic<std::uint64_t> lineBytes_{0};
};

}  // namespace zev::bench
