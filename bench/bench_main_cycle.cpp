// One reading pass plus one evaluation pass of the main cycle for 270 zones
// (two ticks of mainTimer), with the alarm log writing into a real database:
//   RealLibrary/NoChange:  the bus library's cache filled by its cyclic scan of
//                          the in-process simulator (18 controllers of 15 zones),
//                          the plant settled, nothing changes
//   StandIn/NoChange:      the same on a stand-in cache (a plain table)
//   StandIn/AllChanging:   every zone changes its status in every pass: 270
//                          alarms closed and 270 opened, one transaction a pass
//   RefreshTopTen:         the fault-time ranking of 270 zones (once a second)
// Run: bench_main_cycle --benchmark_min_time=0.2 ; the medians are the figures.
#include "sim_bench.h"

#include "alarms/alarm_log.h"
#include "alarms/forms/top_ten_panel.h"
#include "link/bus_link.h"
#include "shell/main_cycle.h"
#include "shell/main_window.h"
#include "shell/splash_window.h"
#include "plant/zone_table.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

using namespace zev;
using zev::test::TestContext;

constexpr int kControllers = 18;
constexpr int kChannels = 15;
constexpr int kZones = kControllers * kChannels;

// The library's cache as a plain table: what GetVal costs without the library.
class StandInBus final : public BusLink {
public:
    StandInBus() : values(static_cast<std::size_t>(kZones + 1) * 6, 0) {}
    std::int32_t GetVal(int address, int channel, int kind) override {
        const int zone = (address - 1) * kChannels + channel;
        if (zone < 1 || zone > kZones || kind < 1 || kind > 5) return kind == 6 ? 1 : kNoValue;
        return values[static_cast<std::size_t>(zone) * 6 + static_cast<std::size_t>(kind)];
    }
    void set(int zone, int kind, std::int32_t v) { values[static_cast<std::size_t>(zone) * 6 + static_cast<std::size_t>(kind)] = v; }
    std::vector<std::int32_t> values;
};

// A station of 270 zones with its main window, the main cycle and the alarm log.
struct Station {
    explicit Station(BusLink* bus) : t(1, bus) {
        PlantData& p = t.ctx->plant;
        t.link->SetOnlineBetrieb(true);
        p.ControllerCount = kControllers;
        p.ZoneCount = kZones;
        for (int z = 1; z <= kZones; ++z) {
            p.zone(z).BusAddress = static_cast<std::uint8_t>((z - 1) / kChannels + 1);
            p.zone(z).Channel = static_cast<std::uint8_t>((z - 1) % kChannels + 1);
            p.zone(z).Name = QStringLiteral("ZONE %1").arg(z, 3, 10, QLatin1Char('0'));
        }
        t.ctx->tool.LogFileDir = t.home.file(QStringLiteral("TOOLS/B/LOGFILES/"));
        log = std::make_unique<AlarmLog>(*t.ctx, t.ctx->tool.LogFileDir);
        t.ctx->alarmLog = log.get();
        main = std::make_unique<MainWindow>(*t.ctx, splash);
        cycle = new MainCycle(*t.ctx, *main);
    }
    ~Station() {
        t.ctx->alarmLog = nullptr;
        main.reset();
    }
    void passes() {
        for (int i = 0; i < 2; ++i) {
            t.clock.advance(0.25);
            cycle->mainTimer_Timer();
        }
    }
    TestContext t;
    SplashWindow splash;
    std::unique_ptr<AlarmLog> log;
    std::unique_ptr<MainWindow> main;
    MainCycle* cycle = nullptr;
};

void BM_Passes_RealLibrary_NoChange(benchmark::State& state) {
    std::vector<zevsim::ControllerConfig> configs(kControllers);
    for (auto& c : configs) c.channels = kChannels;
    zevsim::InProcessBus sim(configs);
    sim.plant().setNoise(0.0);
    for (int a = 1; a <= kControllers; ++a)
        for (int c = 1; c <= kChannels; ++c) {
            sim.plant().setMode(a, c, 2);
            sim.plant().setSetpoint(a, c, 200);
        }
    sim.advance(3600.0);  // heated up and settled
    sim.startScan();
    sim.waitForScan();
    Station s(nullptr);
    s.passes();  // the first reading fills the table
    s.passes();
    if (s.t.ctx->plant.zone(kZones).Setpoint != 200 || s.t.ctx->plant.zone(kZones).StatusWord < 0) {
        state.SkipWithError("the library's cache holds no values of the plant");
        return;
    }
    for (auto _ : state) s.passes();
    state.counters["zones"] = kZones;
}
BENCHMARK(BM_Passes_RealLibrary_NoChange)->Unit(benchmark::kMicrosecond);

void fillStandIn(StandInBus& bus, std::int32_t status) {
    for (int z = 1; z <= kZones; ++z) {
        bus.set(z, 1, 200);
        bus.set(z, 2, 199);
        bus.set(z, 3, status);
        bus.set(z, 4, 35);
        bus.set(z, 5, 42);
    }
}

void BM_Passes_StandIn_NoChange(benchmark::State& state) {
    StandInBus bus;
    fillStandIn(bus, 0x41);
    Station s(&bus);
    s.passes();
    for (auto _ : state) s.passes();
}
BENCHMARK(BM_Passes_StandIn_NoChange)->Unit(benchmark::kMicrosecond);

void BM_Passes_StandIn_AllChanging(benchmark::State& state) {
    StandInBus bus;
    fillStandIn(bus, 0x41);
    Station s(&bus);
    s.passes();
    bool broken = false;
    for (auto _ : state) {
        broken = !broken;
        state.PauseTiming();
        fillStandIn(bus, broken ? 0x48 : 0x44);  // broken sensor, temperature high, ...
        state.ResumeTiming();
        s.passes();
    }
    state.counters["alarms_closed_and_opened"] = kZones;
}
BENCHMARK(BM_Passes_StandIn_AllChanging)->Unit(benchmark::kMicrosecond);

void BM_RefreshTopTen(benchmark::State& state) {
    StandInBus bus;
    Station s(&bus);
    for (int z = 1; z <= kZones; ++z) s.t.ctx->plant.zone(z).AlarmSeconds = (z * 7919) % 5000;
    TopTenPanel panel(*s.t.ctx);
    int i = 0;
    for (auto _ : state) {
        s.t.ctx->plant.zone(i % kZones + 1).AlarmSeconds += 0.5;  // the ranking moves
        panel.RefreshTopTen();
        ++i;
    }
}
BENCHMARK(BM_RefreshTopTen)->Unit(benchmark::kMicrosecond);

}  // namespace
