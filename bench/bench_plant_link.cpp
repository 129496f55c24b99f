// The station publishing 270 zones to a local mosquitto (started here on a
// free localhost port):
//   ZonesBatch:        one batch of 270 zones built and handed to the
//                      connection (what a pass costs the station's thread);
//                      cpu_per_s: the process's CPU (both threads) for one
//                      batch a second, as a share of one core (no subscriber:
//                      the broker's work is the fleet program's subject)
//   PassToSubscriber:  from the pass that publishes to a subscriber holding the
//                      message: p50 and p95 over 300 batches
//   StalledBroker:     a pass while the broker is stopped (SIGSTOP): the pass
//                      never waits for the network
// Run: bench_plant_link --benchmark_min_time=0.2
#include "mqtt_broker.h"
#include "test_context.h"

#include "plant/zone_table.h"
#include "plantlink/plant_publisher.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>
#include <vector>

namespace {

using namespace zev;

double processCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Station {
    explicit Station(int port) {
        const QString s = QStringLiteral("MQTT"), ini = QStringLiteral("*");
        t.settings->SetIni(s, QStringLiteral("Enabled"), QStringLiteral("1"), ini);
        t.settings->SetIni(s, QStringLiteral("Host"), QStringLiteral("127.0.0.1"), ini);
        t.settings->SetIni(s, QStringLiteral("Port"), QString::number(port), ini);
        t.settings->SetIni(s, QStringLiteral("Station"), QStringLiteral("bench"), ini);
        t.plant.ZoneCount = kMaxZones;
        for (int z = 1; z <= kMaxZones; ++z) {
            ZoneRecord& r = t.plant.zone(z);
            r.Name = QStringLiteral("Düse %1").arg(z);
            r.ActualValue = static_cast<std::int16_t>(200 + z % 40);
            r.Setpoint = 230;
            r.OutputRate = static_cast<std::int16_t>(z % 100);
            r.Current = 2.5F;
            r.Mode = 2;
            r.StatusWord = 0x41;
        }
        publisher = std::make_unique<PlantPublisher>(*t.ctx);
        for (int i = 0; i < 500 && publisher->status().state != LinkState::Connected; ++i) {
            QCoreApplication::processEvents();
            QThread::msleep(10);
        }
    }
    // One pass a second later than the last: a batch is due.
    void pass() {
        t.clock.advance(1.0);
        publisher->onValuesRead();
    }
    test::TestContext t;
    std::unique_ptr<PlantPublisher> publisher;
};

void ZonesBatch(benchmark::State& state) {
    test::MqttBroker broker;
    broker.start();
    Station station(broker.port());
    const double cpu0 = processCpuSeconds();
    for (auto _ : state) {
        station.pass();
        state.PauseTiming();
        // The connection's thread sends it; its delivery frees the next batch.
        QThread::msleep(2);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    // Both threads of the station (and the idle waits, which cost next to nothing).
    state.counters["cpu_per_s"] = (processCpuSeconds() - cpu0) / static_cast<double>(state.iterations());
}
BENCHMARK(ZonesBatch)->Unit(benchmark::kMicrosecond);

void PassToSubscriber(benchmark::State& state) {
    test::MqttBroker broker;
    broker.start();
    Station station(broker.port());
    test::MqttWatcher watch(broker.port(), "zev/bench/zones");
    std::vector<double> ms;
    for (auto _ : state) {
        for (int n = 0; n < 300; ++n) {
            const std::size_t before = watch.messages().size();
            QElapsedTimer clock;
            clock.start();
            station.pass();
            while (watch.messages().size() == before && clock.elapsed() < 2000) QCoreApplication::processEvents();
            ms.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
            QCoreApplication::processEvents();  // the delivery: the next batch may go
        }
    }
    std::sort(ms.begin(), ms.end());
    state.counters["p50_ms"] = ms[ms.size() / 2];
    state.counters["p95_ms"] = ms[ms.size() * 95 / 100];
}
BENCHMARK(PassToSubscriber)->Iterations(1)->Unit(benchmark::kMillisecond);

void StalledBroker(benchmark::State& state) {
    test::MqttBroker broker;
    broker.start();
    Station station(broker.port());
    const pid_t pid = broker.pid();
    ::kill(pid, SIGSTOP);
    for (auto _ : state) {
        station.pass();
        QCoreApplication::processEvents();
    }
    ::kill(pid, SIGCONT);
}
BENCHMARK(StalledBroker)->Unit(benchmark::kMicrosecond);

}  // namespace
