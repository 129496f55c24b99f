// The overview's RefreshValues for 270 zones (offscreen, view shown at
// 1024x640, as after every poll of the main cycle):
//   Total view and Detail view, each with unchanged values and with every
//   value changed (actual values alternate between two readings);
//   "AndPaint" adds the event loop's repaint that follows a refresh; "Ten"
//   changes the actual values of ten zones only, the usual case between polls.
// Run: bench_overview --benchmark_min_time=0.2 ; the medians are the figures.
#include "test_context.h"

#include "base/app_context.h"
#include "views/overview_view.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

#include <QApplication>
#include <QTabBar>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

using zev::OverviewView;

struct Station {
    zev::test::TestContext tc;
    zev::AppContext& ctx = *tc.ctx;
    std::unique_ptr<OverviewView> view;

    explicit Station(int tab) {
        ctx.plant.ZoneCount = zev::kMaxZones;
        ctx.link->SetOnlineBetrieb(true);
        for (int g = 0; g <= zev::kGroupCount; ++g) {
            ctx.tool.Groups[static_cast<std::size_t>(g)].Color = 0x80FF80;
            ctx.tool.Groups[static_cast<std::size_t>(g)].Use = true;
        }
        for (int z = 1; z <= zev::kMaxZones; ++z) {
            zev::ZoneRecord& r = ctx.plant.zone(z);
            r.BusAddress = static_cast<std::uint8_t>((z - 1) / 15 + 1);
            r.Channel = static_cast<std::uint8_t>((z - 1) % 15 + 1);
            r.Name = QStringLiteral("ZONE %1").arg(z);
            r.Group = static_cast<std::uint8_t>(z % 9);
            r.Mode = 2;
            r.Setpoint = 220;
            r.ActualValue = 218;
            r.OutputRate = 35;
            r.Current = 2.5F;
            r.CurrentText = QStringLiteral("2.5");
            r.StatusWord = 0;
        }
        view = std::make_unique<OverviewView>(ctx);
        view->resize(1024, 640);
        view->show();
        view->tabOverview()->setCurrentIndex(tab);
        view->RefreshValues();
        QApplication::processEvents();
    }
    void change(int step, int zones) {
        for (int z = 1; z <= zones; ++z) ctx.plant.zone(z * zev::kMaxZones / zones).ActualValue =
            static_cast<std::int16_t>(218 + step % 2);
    }
};

void refresh(benchmark::State& state, int tab, int changed, bool paint) {
    Station s(tab);
    int step = 0;
    for (auto _ : state) {
        if (changed > 0) s.change(++step, changed);
        s.view->RefreshValues();
        if (paint) QApplication::processEvents();
    }
    state.counters["zones"] = zev::kMaxZones;
}

constexpr int kAll = zev::kMaxZones;

void BM_TotalUnchanged(benchmark::State& st) { refresh(st, OverviewView::kTabTotal, 0, false); }
void BM_TotalAllChanged(benchmark::State& st) { refresh(st, OverviewView::kTabTotal, kAll, false); }
void BM_TotalAllChangedAndPaint(benchmark::State& st) { refresh(st, OverviewView::kTabTotal, kAll, true); }
void BM_TotalTenChangedAndPaint(benchmark::State& st) { refresh(st, OverviewView::kTabTotal, 10, true); }
void BM_DetailUnchanged(benchmark::State& st) { refresh(st, OverviewView::kTabDetail, 0, false); }
void BM_DetailAllChanged(benchmark::State& st) { refresh(st, OverviewView::kTabDetail, kAll, false); }
void BM_DetailAllChangedAndPaint(benchmark::State& st) { refresh(st, OverviewView::kTabDetail, kAll, true); }

BENCHMARK(BM_TotalUnchanged)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TotalAllChanged)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TotalAllChangedAndPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TotalTenChangedAndPaint)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DetailUnchanged)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DetailAllChanged)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DetailAllChangedAndPaint)->Unit(benchmark::kMicrosecond);

}  // namespace
