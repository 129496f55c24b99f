// The cyclic scan on the emulated RS485 line (pseudo-terminal, 10 bits per
// byte): time for a complete refresh of 270 zones (18 controllers x 15
// channels) against the time the protocol's own bytes need on the line, and
// the latency of one ZEV485_SetValEx while the scan runs.
//
//   build/bin/bench_zev485_scan --benchmark_min_time=0.2
#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <random>

#include "protocol/pty_server.h"
#include "zev485.h"
#include "zev485_diag.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr int kControllers = 18;
constexpr int kChannels = 15;

// A plant of 270 zones in closed-loop control near their setpoints, served on
// a pty at the given baud rate, with the library scanning it.
class EmulatedLine {
public:
    explicit EmulatedLine(long baud) {
        std::random_device random;
        home_ = fs::temp_directory_path() / ("zev485-bench-" + std::to_string(random()));
        fs::create_directories(home_);
        ::setenv("ZEV485_PORTS", home_.c_str(), 1);

        plant_ = std::make_unique<zevsim::Plant>(
            std::vector<zevsim::ControllerConfig>(kControllers, zevsim::ControllerConfig{kChannels}));
        for (int a = 1; a <= kControllers; ++a)
            for (int c = 1; c <= kChannels; ++c) {
                plant_->setSetpoint(a, c, 200 + 2 * c);
                plant_->setMode(a, c, 2);
            }
        plant_->advance(900.0);  // warm: typical values, not a cold start's zeros
        responder_ = std::make_unique<zevsim::Responder>(*plant_);
        responder_->setObserver([this](std::string_view request, std::string_view reply) {
            lineBytes_ += request.size() + 2 + reply.size();  // STX, ETX around the request
        });
        server_ = std::make_unique<zevsim::PtyServer>(*responder_,
                                                      zevsim::PtyServerOptions{(home_ / "COM1").string(), baud, 2});
        server_->start();
        if (ZEV485_SetMasterPort(1, 0, baud, 200, 2) != 1)
            throw std::runtime_error(zev485::lastPortError());
        for (int a = 1; a <= kControllers; ++a) {
            ZEV485_Set_AnzKan(static_cast<uint8_t>(a), kChannels);
            ZEV485_SetOnline(static_cast<uint8_t>(a), 1);
        }
        ZEV485_EnableCyclicScan(1);
        zev485::waitForScans(zev485::completedScans() + 1, 30s);
    }

    ~EmulatedLine() {
        ZEV485_EnableCyclicScan(0);
        for (int a = 1; a <= kControllers; ++a)
            ZEV485_SetOnline(static_cast<uint8_t>(a), 0);
        ZEV485_SetMasterPort(0, 0, 0, 0, 0);
        server_->stop();
        ::unsetenv("ZEV485_PORTS");
        std::error_code ec;
        fs::remove_all(home_, ec);
    }

    std::uint64_t lineBytes() const { return lineBytes_; }

private:
    fs::path home_;
    std::unique_ptr<zevsim::Plant> plant_;
    std::unique_ptr<zevsim::Responder> responder_;
    std::unique_ptr<zevsim::PtyServer> server_;
    std::atomic<std::uint64_t> lineBytes_{0};
};

void BM_FullScan270Zones(benchmark::State& state) {
    const long baud = state.range(0);
    EmulatedLine line(baud);
    // Start timing at a scan boundary.
    std::uint64_t scans = zev485::completedScans();
    zev485::waitForScans(scans + 1, 30s);
    scans = zev485::completedScans();
    const std::uint64_t bytesAtStart = line.lineBytes();
    std::uint64_t measured = 0;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        zev485::waitForScans(scans + 1, 30s);
        scans = zev485::completedScans();
        const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(t);
        seconds += t;
        ++measured;
    }
    const double bytesPerScan = static_cast<double>(line.lineBytes() - bytesAtStart) / static_cast<double>(measured);
    const double limit = bytesPerScan * 10.0 / static_cast<double>(baud);
    state.counters["bytes_per_scan"] = bytesPerScan;
    state.counters["bytes_per_zone"] = bytesPerScan / (kControllers * kChannels);
    state.counters["line_limit_s"] = limit;
    // 1.00 would be a line that never rests; the target is at most 1.25.
    state.counters["scan_vs_limit"] = seconds / static_cast<double>(measured) / limit;
}
BENCHMARK(BM_FullScan270Zones)->Arg(9600)->Arg(19200)->Arg(38400)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_SetValExDuringScan(benchmark::State& state) {
    const long baud = state.range(0);
    EmulatedLine line(baud);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> address(1, kControllers);
    std::uniform_int_distribution<int> channel(1, kChannels);
    // Requests arrive at random moments of a telegram, as an operator's do: the
    // pause spans two block telegrams (about 150 bytes each).
    std::uniform_int_distribution<int> pauseMs(0, static_cast<int>(2 * 150 * 10 * 1000 / baud));
    int failures = 0;
    double worst = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs(random)));
        state.ResumeTiming();
        const auto a = static_cast<uint8_t>(address(random));
        const auto c = static_cast<uint8_t>(channel(random));
        const auto start = std::chrono::steady_clock::now();
        if (ZEV485_SetValEx(a, c, 0, 210) != 0)
            ++failures;
        worst = std::max(worst, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["failures"] = failures;
    state.counters["worst_ms"] = worst;
}
BENCHMARK(BM_SetValExDuringScan)->Arg(19200)->Arg(38400)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
