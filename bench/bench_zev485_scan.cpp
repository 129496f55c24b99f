// The cyclic scan on the emulated RS485 line (pseudo-terminal, 10 bits per
// byte): time for a complete refresh of 270 zones (18 controllers x 15
// channels) against the time the protocol's own bytes need on the line, and
// the latency of one ZEV485_SetValEx while the scan runs.
//
//   build/bin/bench_zev485_scan --benchmark_min_time=0.2
#include <benchmark/benchmark.h>

#include "common/emulated_line.h"

using namespace std::chrono_literals;
using zev::bench::EmulatedLine;

namespace {

constexpr int kControllers = zev::bench::kLineControllers;
constexpr int kChannels = zev::bench::kLineChannels;

// Zones near their setpoints after a warm-up: typical values, not a cold start's zeros.
EmulatedLine::Options warmLine(long baud) {
    EmulatedLine::Options o;
    o.baud = baud;
    o.setpoint = [](int, int c) { return 200 + 2 * c; };
    o.warmSeconds = 900.0;
    return o;
}

void BM_FullScan270Zones(benchmark::State& state) {
    const long baud = state.range(0);
    EmulatedLine line(warmLine(baud));
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
    EmulatedLine line(warmLine(baud));
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
