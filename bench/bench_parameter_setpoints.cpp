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
#include "common/emulated_line.h"
#include "common/silent_feedback.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int kControllers = zev::bench::kLineControllers;
constexpr int kChannels = zev::bench::kLineChannels;
constexpr int kZones = kControllers * kChannels;

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
    zev::bench::EmulatedLine::Options options;
    options.baud = baud;
    options.countBlockReads = false;  // the writes and their answers only
    zev::bench::EmulatedLine line(options);
    zev::bench::SilentFeedback feedback;
    zev::CommandBatch batch(ctx, feedback);
    t.pump.step = 0.0;
    int value = 210;
    std::uint64_t bytes = 0;
    double seconds = 0;
    int failed = 0;
    for (auto _ : state) {
        std::vector<zev::ZoneWrite> writes;
        for (int z = 1; z <= kZones; ++z) writes.push_back({z, value});
        const std::uint64_t before = line.lineBytes();
        const auto start = std::chrono::steady_clock::now();
        failed += static_cast<int>(batch.run(zev::ValueCode::Setpoint, writes, {987, 991, 988, 989},
                                             [](int) { return QString(); }).failed.size());
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(s);
        seconds += s;
        bytes += line.lineBytes() - before;
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
