// The tool change with 270 zones online: 18 controllers of 15 zones on the
// emulated RS485 line at 19200 baud, the whole change as the tool manager runs
// it (Stop_Tool, LoadActiveTool, the link started again, the views rebuilt,
// the controller check). Between two tools whose wiring matches the line no
// identification runs (goal: under 2 s); a tool with unknown wiring is
// identified (goal: 2 s plus the identification).
#include "common/emulated_line.h"
#include "sim_bench.h"

#include "base/settings.h"
#include "link/link_session.h"
#include "plant/zone_table.h"
#include "shell/link_restart.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "tools/active_tool.h"

#include <QApplication>
#include <QFile>
#include <benchmark/benchmark.h>
#include <chrono>

namespace {

const QString kStar = QStringLiteral("*");

void change(zev::test::TestContext& t, zev::MainWindow& main, const QString& tool) {
    t.settings->SetIni(QStringLiteral("TOOL"), QStringLiteral("TOOLNAME"), tool, kStar);
    zev::changeTool(*t.ctx, main);
}

void BM_ToolChange270Zones(benchmark::State& state) {
    const bool identify = state.range(0) != 0;
    zev::test::TestContext t;
    zev::test::installDrivers(t);
    {
        zev::Settings::Batch batch(*t.settings);
        zev::LoadActiveTool(*t.ctx);
    }
    zev::bench::EmulatedLine line(zev::bench::EmulatedLine::Options{});
    t.pump.step = 0.0;
    t.answer({QStringLiteral("2")});  // the first start: the wiring is right
    t.link->start(true);
    if (t.ctx->plant.ZoneCount != 270) {
        state.SkipWithError("the line was not identified");
        return;
    }
    const QByteArray wired = t.home.read(QStringLiteral("TOOLS/STANDARD/SETTINGS.INI"));
    t.home.write(QStringLiteral("TOOLS/SAME/SETTINGS.INI"), wired);
    zev::SplashWindow splash;
    zev::MainWindow main(*t.ctx, splash);
    main.InitForms();
    QString next = QStringLiteral("SAME");
    int identified = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (identify) {
            // A tool from another line each time: its wiring is unknown.
            QFile::remove(t.home.file(QStringLiteral("TOOLS/FOREIGN/SETTINGS.INI")));
            next = QStringLiteral("FOREIGN");
            t.answer({QStringLiteral("2")});
        }
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        change(t, main, next);
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        state.PauseTiming();
        if (identify) {
            identified += t.op->remaining() == 0 ? 1 : 0;  // the wiring question was asked
            change(t, main, QStringLiteral("STANDARD"));
        } else {
            next = next == QLatin1String("SAME") ? QStringLiteral("STANDARD") : QStringLiteral("SAME");
        }
        state.ResumeTiming();
    }
    state.counters["identified"] = identified;
    state.counters["zones"] = t.ctx->plant.ZoneCount;
    main.unloadViews();
}
BENCHMARK(BM_ToolChange270Zones)->ArgName("identify")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
