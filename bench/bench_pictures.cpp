// A process picture's RefreshValues with 270 value fields (15 columns of 18,
// the four kinds in turn), offscreen, the view shown at 1000x640, as after
// every poll of the main cycle: with nothing changed (the goal is under 2 ms),
// and with every actual value changed.
// Run: bench_pictures --benchmark_min_time=0.2 ; the medians are the figures.
#include "test_context.h"

#include "base/app_context.h"
#include "pictures/forms/picture_canvas.h"
#include "pictures/forms/picture_view.h"
#include "pictures/picture_layout.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"

#include <QApplication>
#include <QDir>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

struct Station {
    zev::test::TestContext tc;
    zev::AppContext& ctx = *tc.ctx;
    std::unique_ptr<zev::PictureView> view;

    Station() {
        ctx.plant.ZoneCount = zev::kMaxZones;
        ctx.link->SetOnlineBetrieb(true);
        for (int z = 1; z <= zev::kMaxZones; ++z) {
            zev::ZoneRecord& r = ctx.plant.zone(z);
            r.Name = QStringLiteral("ZONE %1").arg(z);
            r.Mode = 2;
            r.Setpoint = 220;
            r.ActualValue = 218;
            r.OutputRate = 35;
            r.Current = 2.5F;
            r.CurrentText = QStringLiteral("2.5");
            r.StatusWord = 0;
        }
        ctx.tool.PicsDir = tc.home.file(QStringLiteral("PICS"));
        QDir().mkpath(ctx.tool.PicsDir);
        zev::PictureLayout l;
        l.name = QStringLiteral("Alle");
        for (int z = 1; z <= zev::kMaxZones; ++z)
            l.values.push_back({z, (z - 1) % 4, QRect(((z - 1) / 18) * 52, ((z - 1) % 18) * 30, 50, 26)});
        zev::writeLayout(ctx.tool.PicsDir + QStringLiteral("/BILD000.INI"), l);
        view = std::make_unique<zev::PictureView>(ctx);
        view->resize(1000, 640);
        view->show();
        view->RefreshValues();
        QApplication::processEvents();
    }
};

void BM_RefreshUnchanged(benchmark::State& state) {
    Station s;
    if (s.view->canvas()->valueFields().size() != 270) state.SkipWithError("the layout did not load");
    for (auto _ : state) s.view->RefreshValues();
}
BENCHMARK(BM_RefreshUnchanged)->Unit(benchmark::kMillisecond);

void BM_RefreshAllActualValuesChanged(benchmark::State& state) {
    Station s;
    int step = 0;
    for (auto _ : state) {
        ++step;
        for (int z = 1; z <= zev::kMaxZones; ++z) s.ctx.plant.zone(z).ActualValue = static_cast<std::int16_t>(218 + step % 2);
        s.view->RefreshValues();
    }
}
BENCHMARK(BM_RefreshAllActualValuesChanged)->Unit(benchmark::kMillisecond);

}  // namespace
