// A setpoint for 270 zones from the parameter view's command batch (through the
// zone commands) on the emulated RS485 line (pseudo-terminal paced at the baud rate, 10 bits per
// byte), with the cyclic scan running as in the program: the total time
// against the time the write telegrams and their answers need on the line.
//
//   build/bin/bench_parameter_setpoints --benchmark_min_time=0.2
#include "test_context.h"

#include "parameters/command_batch.h"
#include "link/link_session.h"
#include "link/zone_commands.h"
#include "plant/zone_table.h"
#include "link/zone_values.h"
#include "protocol/pty_server.h"
#include "zev485.h"
#include "zev485_diag.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <random>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr int kControllers = 18;
constexpr int kChannels = 15;
constexpr int kZones = kControllers * kChannels;

class NoFeedback final : public zev::CommandFeedback {
public:
    void setStatus(const QString&) override {}
    void setProgress(int) override {}
    void setBusy(bool) override {}
};

class Line {
public:
    explicit Line(long baud) : baud_(baud) {
        std::random_device random;
        home_ = fs::temp_directory_path() / ("zev-param-bench-" + std::to_string(random()));
        fs::create_directories(home_);
        ::setenv("ZEV485_PORTS", home_.c_str(), 1);
        plant_ = std::make_unique<zevsim::Plant>(
            std::vector<zevsim::ControllerConfig>(kControllers, zevsim::ControllerConfig{kChannels}));
        for (int a = 1; a <= kControllers; ++a)
            for (int c = 1; c <= kChannels; ++c) {
                plant_->setSetpoint(a, c, 200);
                plant_->setMode(a, c, 2);
            }
        responder_ = std::make_unique<zevsim::Responder>(*plant_);
        responder_->setObserver([this](std::string_view request, std::string_view reply) {
            if (request.find("?BLK") != std::string_view::npos) return;
            writeBytes_ += request.size() + 2 + reply.size();  // STX, ETX around the request
        });
        server_ = std::make_unique<zevsim::PtyServer>(*responder_, zevsim::PtyServerOptions{(home_ / "COM1").string(), baud, 2});
        server_->start();
        if (ZEV485_SetMasterPort(1, 0, baud, 200, 2) != 1) throw std::runtime_error(zev485::lastPortError());
        for (int a = 1; a <= kControllers; ++a) {
            ZEV485_Set_AnzKan(static_cast<uint8_t>(a), kChannels);
            ZEV485_SetOnline(static_cast<uint8_t>(a), 1);
        }
        ZEV485_EnableCyclicScan(1);
        zev485::waitForScans(zev485::completedScans() + 1, 30s);
    }
    ~Line() {
        ZEV485_EnableCyclicScan(0);
        for (int a = 1; a <= kControllers; ++a) ZEV485_SetOnline(static_cast<uint8_t>(a), 0);
        ZEV485_SetMasterPort(0, 0, 0, 0, 0);
        server_->stop();
        ::unsetenv("ZEV485_PORTS");
        std::error_code ec;
        fs::remove_all(home_, ec);
    }
    std::uint64_t writeBytes() const { return writeBytes_; }

private:
    long baud_;
    fs::path home_;
    std::unique_ptr<zevsim::Plant> plant_;
    std::unique_ptr<zevsim::Responder> responder_;
    std::unique_ptr<zevsim::PtyServer> server_;
    std::atomic<std::uint64_t> writeBytes_{0};
};

void BM_Setpoint270Zones(benchmark::State& state) {
    const long baud = state.range(0);
    zev::test::TestContext t;
    zev::AppContext& ctx = *t.ctx;
    ctx.plant.ZoneCount = kZones;
    ctx.plant.ControllerCount = kControllers;
    t.link->SetOnlineBetrieb(true);
    for (int z = 1; z <= kZones; ++z) {
        zev::ZoneRecord& zone = ctx.plant.zone(z);
        zone.BusAddress = static_cast<std::uint8_t>((z - 1) / kChannels + 1);
        zone.Channel = static_cast<std::uint8_t>((z - 1) % kChannels + 1);
        zone.Name = QStringLiteral("ZONE %1").arg(z, 3, 10, QLatin1Char('0'));
    }
    Line line(baud);
    NoFeedback feedback;
    zev::CommandBatch batch(ctx, feedback);
    t.pump.step = 0.0;
    int value = 210;
    std::uint64_t bytes = 0;
    double seconds = 0;
    int failed = 0;
    for (auto _ : state) {
        std::vector<zev::ZoneWrite> writes;
        for (int z = 1; z <= kZones; ++z) writes.push_back({z, value});
        const std::uint64_t before = line.writeBytes();
        const auto start = std::chrono::steady_clock::now();
        failed += static_cast<int>(batch.run(zev::ValueCode::Setpoint, writes, {987, 991, 988, 989},
                                             [](int) { return QString(); }).failed.size());
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(s);
        seconds += s;
        bytes += line.writeBytes() - before;
        value = value == 210 ? 212 : 210;
    }
    const double limit = static_cast<double>(bytes) * 10.0 / static_cast<double>(baud);
    state.counters["write_bytes_per_zone"] = static_cast<double>(bytes) / static_cast<double>(state.iterations()) / kZones;
    state.counters["line_limit_s"] = limit / static_cast<double>(state.iterations());
    state.counters["time_vs_limit"] = seconds / limit;  // goal: at most 1.5
    state.counters["failed"] = failed;
}
BENCHMARK(BM_Setpoint270Zones)->Arg(19200)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace
