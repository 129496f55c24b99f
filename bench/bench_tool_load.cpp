// Loading a tool of 270 zones: the first load (a new tool: every group and zone
// key is written with its default) and a second load (everything is there).
#include "test_context.h"

#include "base/settings.h"
#include "tools/active_tool.h"

#include <QApplication>
#include <QFile>
#include <benchmark/benchmark.h>

namespace {

void loadTool(zev::test::TestContext& tc) {
    zev::Settings::Batch batch(*tc.settings);
    zev::LoadActiveTool(*tc.ctx);
}

void BM_LoadActiveTool_First(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        zev::test::TestContext tc;
        state.ResumeTiming();
        loadTool(tc);
    }
}
BENCHMARK(BM_LoadActiveTool_First)->Unit(benchmark::kMillisecond);

void BM_LoadActiveTool_Second(benchmark::State& state) {
    zev::test::TestContext tc;
    loadTool(tc);
    for (auto _ : state) loadTool(tc);
}
BENCHMARK(BM_LoadActiveTool_Second)->Unit(benchmark::kMillisecond);

// A second load by a fresh program start: the file is parsed from disk.
void BM_LoadActiveTool_SecondFreshStart(benchmark::State& state) {
    zev::test::TestContext first;
    loadTool(first);
    const QByteArray ini = first.home.read(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI"));
    for (auto _ : state) {
        state.PauseTiming();
        zev::test::TestContext tc;
        tc.home.write(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI"), ini);
        state.ResumeTiming();
        loadTool(tc);
    }
}
BENCHMARK(BM_LoadActiveTool_SecondFreshStart)->Unit(benchmark::kMillisecond);

}  // namespace
