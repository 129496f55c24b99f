// Loading a tool's settings file with 270 zones: the ~1,150 GetIni calls of the
// tool loading (8 groups with their keys and the two common keys, then NAME,
// GROUP, 485ADR and 485ZON of every zone).
//   first load:  from an empty file, every read writes its default;
//                once with each write durable on its own, once inside a Batch
//   second load: from the full file, with a new store (one parse) and with a
//                store that has the file cached already
// Run: bench_settings --benchmark_min_time=0.2 ; the medians are the figures.
#include "base/settings.h"
#include "temp_home.h"

#include <QFile>
#include <benchmark/benchmark.h>

#include <ctime>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace {

constexpr int kZones = 270;
constexpr int kGroups = 8;
constexpr unsigned kGroupColours[kGroups] = {0xFF8080, 0xFFFF80, 0x80FF80, 0x80FFFF,
                                             0x80C0FF, 0xC0E0FF, 0xC0FFC0, 0xFFC0C0};

QString numbered(const char* prefix, int n) {
    return QLatin1String(prefix) + QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

void loadTool(zev::Settings& s, const QString& ini) {
    for (int g = 1; g <= kGroups; ++g) {
        const QString section = numbered("GROUP_", g);
        benchmark::DoNotOptimize(s.GetIni(section, "NAME", "Gruppe " + QString::number(g), ini));
        benchmark::DoNotOptimize(s.GetIni(section, "COLOR", QString::number(kGroupColours[g - 1]), ini));
        benchmark::DoNotOptimize(s.GetIni(section, "USE", "True", ini));
        benchmark::DoNotOptimize(s.GetIni(section, "LOCK_W", "False", ini));
        benchmark::DoNotOptimize(s.GetIni("ALLGROUPS", "STARTTEMP", "100", ini));
        benchmark::DoNotOptimize(s.GetIni(section, "DIAGTIME", "0", ini));
        benchmark::DoNotOptimize(s.GetIni(section, "DIAGPOWER", "60", ini));
        benchmark::DoNotOptimize(s.GetIni("ALLGROUPS", "BOOSTTIME", "120", ini));
        benchmark::DoNotOptimize(s.GetIni(section, "BOOSTPOWER", "15", ini));
    }
    for (int z = 1; z <= kZones; ++z) {
        const QString section = numbered("ZONE_", z);
        benchmark::DoNotOptimize(s.GetIni(section, "NAME", numbered("ZONE ", z), ini));
        benchmark::DoNotOptimize(s.GetIni(section, "GROUP", "0", ini));
        benchmark::DoNotOptimize(s.GetIni(section, "485ADR", "0", ini));
        benchmark::DoNotOptimize(s.GetIni(section, "485ZON", "0", ini));
    }
}

void firstLoad(benchmark::State& state, bool batched) {
    zev::test::TempHome home;
    const QString ini = home.file("TOOLS/STANDARD/SETTINGS.INI");
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(ini);
        auto settings = std::make_unique<zev::Settings>(home.path());
        state.ResumeTiming();
        if (batched) {
            zev::Settings::Batch batch(*settings);
            loadTool(*settings, ini);
        } else {
            loadTool(*settings, ini);
        }
        state.PauseTiming();
        settings.reset();
        state.ResumeTiming();
    }
    state.counters["file_bytes"] = static_cast<double>(home.read("TOOLS/STANDARD/SETTINGS.INI").size());
}

void BM_FirstLoadEachWriteDurable(benchmark::State& state) { firstLoad(state, false); }
void BM_FirstLoadInBatch(benchmark::State& state) { firstLoad(state, true); }

// A full settings file, last changed an hour ago as a tool's file usually is.
void fillTool(const zev::test::TempHome& home, const QString& ini) {
    {
        zev::Settings settings(home.path());
        zev::Settings::Batch batch(settings);
        loadTool(settings, ini);
    }
    timespec t {};
    clock_gettime(CLOCK_REALTIME, &t);
    t.tv_sec -= 3600;
    const timespec times[2] = {t, t};
    utimensat(AT_FDCWD, QFile::encodeName(ini).constData(), times, 0);
}

void BM_SecondLoadNewStore(benchmark::State& state) {
    zev::test::TempHome home;
    const QString ini = home.file("TOOLS/STANDARD/SETTINGS.INI");
    fillTool(home, ini);
    for (auto _ : state) {
        state.PauseTiming();
        auto settings = std::make_unique<zev::Settings>(home.path());
        state.ResumeTiming();
        loadTool(*settings, ini);
        state.PauseTiming();
        settings.reset();
        state.ResumeTiming();
    }
}

void BM_SecondLoadCached(benchmark::State& state) {
    zev::test::TempHome home;
    const QString ini = home.file("TOOLS/STANDARD/SETTINGS.INI");
    fillTool(home, ini);
    zev::Settings settings(home.path());
    loadTool(settings, ini);
    for (auto _ : state)
        loadTool(settings, ini);
}

}  // namespace

BENCHMARK(BM_FirstLoadEachWriteDurable)->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);
BENCHMARK(BM_FirstLoadInBatch)->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);
BENCHMARK(BM_SecondLoadNewStore)->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);
BENCHMARK(BM_SecondLoadCached)->Unit(benchmark::kMillisecond)->Repetitions(5)->DisplayAggregatesOnly(true);
