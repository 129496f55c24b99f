// CPU cost of the bus library at 270 zones: the poller thread scanning the
// zevsim program over a pseudo-terminal (the simulator runs in its own
// process, so this process's CPU time is the library's), the day-file logger's
// one record per second, and the block codec of one controller.
//
//   build/bin/bench_zev485_cpu --benchmark_min_time=0.2
#include <benchmark/benchmark.h>

#include <csignal>
#include <ctime>
#include <filesystem>
#include <random>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "core/file_logger.h"
#include "wire/block.h"
#include "zev485.h"
#include "zev485_diag.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr int kControllers = 18;
constexpr int kChannels = 15;

double processCpuSeconds() {
    timespec ts {};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

fs::path tempHome() {
    std::random_device random;
    const fs::path home = fs::temp_directory_path() / ("zev485-cpu-" + std::to_string(random()));
    fs::create_directories(home);
    return home;
}

// zevsim with 18 x 15 zones as a child process, its line at `baud`.
class SimulatorProcess {
public:
    explicit SimulatorProcess(long baud) : home_(tempHome()) {
        const fs::path program = fs::read_symlink("/proc/self/exe").parent_path() / "zevsim";
        std::string layout;
        for (int a = 0; a < kControllers; ++a)
            layout += (a ? "," : "") + std::to_string(kChannels);
        const std::string link = (home_ / "COM1").string();
        const std::string baudText = std::to_string(baud);
        pid_ = ::fork();
        if (pid_ == 0) {
            ::execl(program.c_str(), "zevsim", "--port-link", link.c_str(), "--baud", baudText.c_str(),
                    "--controllers", layout.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        for (int i = 0; i < 400 && !fs::is_symlink(link); ++i)
            std::this_thread::sleep_for(5ms);
        ::setenv("ZEV485_PORTS", home_.c_str(), 1);
    }
    ~SimulatorProcess() {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        ::unsetenv("ZEV485_PORTS");
        std::error_code ec;
        fs::remove_all(home_, ec);
    }

private:
    fs::path home_;
    pid_t pid_ = -1;
};

void BM_PollerCpuPerSecond(benchmark::State& state) {
    const long baud = state.range(0);
    SimulatorProcess simulator(baud);
    if (ZEV485_SetMasterPort(1, 0, baud, 200, 2) != 1) {
        state.SkipWithError(zev485::lastPortError().c_str());
        return;
    }
    for (int a = 1; a <= kControllers; ++a) {
        ZEV485_Set_AnzKan(static_cast<uint8_t>(a), kChannels);
        ZEV485_SetOnline(static_cast<uint8_t>(a), 1);
    }
    ZEV485_EnableCyclicScan(1);
    zev485::waitForScans(zev485::completedScans() + 1, 30s);

    double cpu = 0;
    double wall = 0;
    const auto scansBefore = zev485::completedScans();
    for (auto _ : state) {
        const double c0 = processCpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(1s);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        cpu += processCpuSeconds() - c0;
        wall += seconds;
        state.SetIterationTime(seconds);
    }
    state.counters["cpu_ms_per_s"] = 1000.0 * cpu / wall;
    state.counters["scans_per_s"] = static_cast<double>(zev485::completedScans() - scansBefore) / wall;

    ZEV485_EnableCyclicScan(0);
    for (int a = 1; a <= kControllers; ++a)
        ZEV485_SetOnline(static_cast<uint8_t>(a), 0);
    ZEV485_SetMasterPort(0, 0, 0, 0, 0);
}
BENCHMARK(BM_PollerCpuPerSecond)->Arg(19200)->Arg(38400)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// One day-file record of 270 zones: what the logger thread does once a second.
void BM_DayFileRecord(benchmark::State& state) {
    const fs::path home = tempHome();
    std::vector<zev485::wire::ZoneSample> zones(270, {230, 229, 0x41, 35, 42});
    zev485::FileLogger logger([&](std::vector<zev485::wire::ZoneSample>& out) { out = zones; });
    logger.setDirectory(home.string());
    logger.setEnabled(true);
    std::tm day {};
    day.tm_year = 2024 - 1900;
    day.tm_mon = 2;
    day.tm_mday = 5;
    day.tm_hour = 8;
    day.tm_isdst = -1;
    auto when = std::chrono::system_clock::from_time_t(std::mktime(&day));
    for (auto _ : state) {
        if (!logger.tick(when))
            state.SkipWithError("record not written");
        when += 1s;
    }
    state.counters["records"] = static_cast<double>(state.iterations());
    std::error_code ec;
    fs::remove_all(home, ec);
}
BENCHMARK(BM_DayFileRecord)->Unit(benchmark::kMicrosecond);

zev485::wire::Block controllerBlock() {
    zev485::wire::Block block;
    block.outputsOn = true;
    for (int c = 0; c < kChannels; ++c)
        block.zones.push_back({static_cast<std::int16_t>(200 + c), static_cast<std::int16_t>(199 + c), 0x41,
                               static_cast<std::int16_t>(20 + c), static_cast<std::int16_t>(30 + c)});
    return block;
}

void BM_EncodeBlock(benchmark::State& state) {
    const auto block = controllerBlock();
    for (auto _ : state)
        benchmark::DoNotOptimize(zev485::wire::encodeBlock(block));
}
BENCHMARK(BM_EncodeBlock);

void BM_DecodeBlock(benchmark::State& state) {
    const std::string payload = zev485::wire::encodeBlock(controllerBlock());
    zev485::wire::Block out;
    for (auto _ : state)
        benchmark::DoNotOptimize(zev485::wire::decodeBlock(payload, out));
    state.counters["payload_bytes"] = static_cast<double>(payload.size());
}
BENCHMARK(BM_DecodeBlock);

}  // namespace

BENCHMARK_MAIN();
