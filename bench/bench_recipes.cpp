// The parameter store and recipes at full size:
// - a full read (ReceiveParameter) of 18 controllers x 26 or 28 parameters and five
//   global parameters on the emulated RS485 line (pseudo-terminal paced at the
//   baud rate) with the cyclic scan running: seconds, telegrams, and the time
//   against the line limit of the read's own telegrams;
// - filling the zone parameter table with 270 zones;
// - saving and loading a 270-zone recipe (goal: each under 100 ms).
//
//   build/bin/bench_recipes --benchmark_min_time=0.2
#include "test_context.h"

#include "parameters/command_batch.h"
#include "parameters/forms/parameter_table.h"
#include "parameters/parameter_reader.h"
#include "parameters/recipe_book.h"
#include "link/link_session.h"
#include "plant/driver.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"
#include "common/emulated_line.h"
#include "common/silent_feedback.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int kControllers = zev::bench::kLineControllers;
constexpr int kChannels = zev::bench::kLineChannels;
constexpr int kZones = kControllers * kChannels;

// Counts the text telegrams the station sends (the cyclic scan is the library's own).
class CountingBus final : public zev::BusLink {
public:
    QByteArray AskRaw(const QByteArray& command, int* status) override {
        ++telegrams;
        return BusLink::AskRaw(command, status);
    }
    int telegrams = 0;
};

// 270 zones on 18 controllers of 15 channels, every controller its own master,
// a driver with `present` zone parameters (the others absent, -2..-2) and five globals.
void buildPlant(zev::AppContext& ctx, int present = zev::kZoneParameterCount) {
    ctx.plant.ZoneCount = kZones;
    ctx.plant.ControllerCount = kControllers;
    ctx.plant.Controllers.resize(kControllers + 1);
    for (int a = 1; a <= kControllers; ++a) {
        ctx.plant.Controllers[static_cast<std::size_t>(a)].MasterAddress = static_cast<std::uint8_t>(a);
        ctx.plant.Controllers[static_cast<std::size_t>(a)].Channels = kChannels;
    }
    for (int z = 1; z <= kZones; ++z) {
        zev::ZoneRecord& zone = ctx.plant.zone(z);
        zone.BusAddress = static_cast<std::uint8_t>((z - 1) / kChannels + 1);
        zone.Channel = static_cast<std::uint8_t>((z - 1) % kChannels + 1);
        zone.Name = QStringLiteral("ZONE %1").arg(z, 3, 10, QLatin1Char('0'));
        zone.StatusWord = 0x40;
        zone.Mode = 2;
    }
    for (int p = 1; p <= zev::kZoneParameterCount; ++p) {
        zev::ZoneParameter& param = ctx.driver.ZoneParameters[static_cast<std::size_t>(p)];
        param.Name = QStringLiteral("Parameter %1").arg(p);
        param.Min = static_cast<std::int16_t>(p <= present ? 0 : -2);
        param.Max = static_cast<std::int16_t>(p <= present ? 999 : -2);
        param.Writable = p <= present;
        for (int z = 1; z <= kZones; ++z) param.Value[static_cast<std::size_t>(z)] = static_cast<std::int16_t>((z * p) % 1000);
    }
    for (const char* code : {"?HIW", "?APM", "?ENA", "?UNT", "?KAN"})
        ctx.driver.GlobalParameters.push_back({QString::fromLatin1(code), 0, 999, QString::fromLatin1(code), 1, zev::kNoValue, 0, true});
    ctx.driver.DriverLoaded = true;
}

void BM_FullParameterRead(benchmark::State& state) {
    const long baud = state.range(0);
    CountingBus bus;
    zev::test::TestContext t(1, &bus);
    zev::AppContext& ctx = *t.ctx;
    buildPlant(ctx, static_cast<int>(state.range(1)));
    t.link->SetOnlineBetrieb(true);
    zev::bench::EmulatedLine::Options options;
    options.baud = baud;
    options.countBlockReads = false;  // the read's own telegrams and answers
    zev::bench::EmulatedLine line(options);
    zev::bench::SilentFeedback feedback;
    zev::ParameterReader reader(ctx, feedback);
    t.pump.step = 0.0;
    std::uint64_t bytes = 0;
    double seconds = 0;
    int errors = 0;
    bus.telegrams = 0;
    for (auto _ : state) {
        const std::uint64_t before = line.lineBytes();
        const auto start = std::chrono::steady_clock::now();
        errors += reader.ReceiveParameter();
        const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(s);
        seconds += s;
        bytes += line.lineBytes() - before;
    }
    const double n = static_cast<double>(state.iterations());
    const double limit = static_cast<double>(bytes) * 10.0 / static_cast<double>(baud);
    state.counters["seconds"] = seconds / n;
    state.counters["telegrams"] = bus.telegrams / n;
    state.counters["line_limit_s"] = limit / n;
    state.counters["time_vs_limit"] = seconds / limit;
    state.counters["errors"] = errors;
}
// 26: the shipped driver (the controllers have no parameters 27 and 28); 28:
// all asked, the controllers refuse the two blocks and they are read zone by zone.
BENCHMARK(BM_FullParameterRead)->Args({19200, 26})->Args({19200, 28})->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_FillZoneTable270(benchmark::State& state) {
    zev::test::TestContext t;
    buildPlant(*t.ctx);
    zev::ParameterTable table(*t.ctx, zev::ParameterTable::Kind::ZoneRecipe, QStringLiteral("Grid_Recipe1"));
    table.resize(1000, 600);
    const std::vector<bool> all(kZones + 1, true);
    for (auto _ : state) table.fill(all);
    state.counters["columns"] = table.columnCount();
}
BENCHMARK(BM_FillZoneTable270)->Unit(benchmark::kMillisecond);

void BM_SaveRecipe270(benchmark::State& state) {
    zev::test::TestContext t;
    buildPlant(*t.ctx);
    t.ctx->tool.RecipeDir = t.home.file(QStringLiteral("parameter/"));
    zev::bench::SilentFeedback feedback;
    zev::RecipeBook book(*t.ctx, feedback);
    for (auto _ : state)
        if (!book.doSaveRecipe(QStringLiteral("BENCH"))) state.SkipWithError("not stored");
}
BENCHMARK(BM_SaveRecipe270)->Unit(benchmark::kMillisecond);

void BM_LoadRecipe270(benchmark::State& state) {
    zev::test::TestContext t;
    buildPlant(*t.ctx);
    t.ctx->tool.RecipeDir = t.home.file(QStringLiteral("parameter/"));
    zev::bench::SilentFeedback feedback;
    zev::RecipeBook book(*t.ctx, feedback);
    if (!book.doSaveRecipe(QStringLiteral("BENCH"))) state.SkipWithError("not stored");
    for (auto _ : state)
        if (!book.doLoadRecipe(QStringLiteral("BENCH"))) state.SkipWithError("not loaded");
}
BENCHMARK(BM_LoadRecipe270)->Unit(benchmark::kMillisecond);

}  // namespace
