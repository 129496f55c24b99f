// The load of a plant on one broker: N publishers (default 50) each sending a
// batch of 270 zones once a second, as the stations do, to a mosquitto this
// program starts on a free localhost port (the tests' broker helper); one subscriber of zev/+/zones
// measures the latency from publishing to receiving. Not 50 stations: the same
// payloads (plantlink/payloads.h) from one process, spread over the second.
//
//   plant_fleet [--publishers N] [--zones Z] [--seconds S]
//
// Prints messages sent and received, the latency p50/p95/p99 and the broker's
// CPU as a share of one core.
#include "mqtt_broker.h"
#include "plant/zone_table.h"
#include "plantlink/payloads.h"

#include <mosquitto.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

long long nowUs() {
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch()).count();
}

// utime + stime of a process in clock ticks.
long long cpuTicks(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(f, line);
    const auto close = line.rfind(')');
    if (close == std::string::npos) return 0;
    std::vector<std::string> fields;
    std::string field;
    for (std::size_t i = close + 2; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == ' ') {
            fields.push_back(field);
            field.clear();
        } else {
            field += line[i];
        }
    }
    return fields.size() > 12 ? std::atoll(fields[11].c_str()) + std::atoll(fields[12].c_str()) : 0;
}

struct Receiver {
    std::mutex mutex;
    std::vector<double> latencyMs;
};

void onMessage(mosquitto*, void* obj, const mosquitto_message* m) {
    auto* r = static_cast<Receiver*>(obj);
    // The batch's "time" carries the sending moment in microseconds.
    const std::string payload(static_cast<const char*>(m->payload), static_cast<std::size_t>(m->payloadlen));
    const auto at = payload.find("\"time\":\"");
    if (at == std::string::npos) return;
    const long long sent = std::atoll(payload.c_str() + at + 8);
    std::lock_guard lock(r->mutex);
    r->latencyMs.push_back(static_cast<double>(nowUs() - sent) / 1000.0);
}

double percentile(std::vector<double>& v, int p) {
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, v.size() * static_cast<std::size_t>(p) / 100)];
}

}  // namespace

int main(int argc, char** argv) {
    int publishers = 50, zones = 270, seconds = 20;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        const int v = std::atoi(argv[i + 1]);
        if (a == "--publishers") publishers = std::max(1, v);
        else if (a == "--zones") zones = std::clamp(v, 1, zev::kMaxZones);
        else if (a == "--seconds") seconds = std::max(1, v);
    }
    zev::test::MqttBroker mqtt(QStringLiteral("max_queued_messages 10000"));
    if (!mqtt.start()) {
        std::fprintf(stderr, "mosquitto could not be started\n");
        return 1;
    }
    const int port = mqtt.port();
    const pid_t broker = mqtt.pid();
    mosquitto_lib_init();

    Receiver receiver;
    mosquitto* sub = mosquitto_new("fleet-watcher", true, &receiver);
    mosquitto_message_callback_set(sub, onMessage);
    mosquitto_connect(sub, "127.0.0.1", port, 30);
    mosquitto_subscribe(sub, nullptr, "zev/+/zones", 0);
    mosquitto_loop_start(sub);

    zev::PlantData plant;
    plant.ZoneCount = zones;
    for (int z = 1; z <= zones; ++z) {
        zev::ZoneRecord& r = plant.zone(z);
        r.Name = QStringLiteral("Düse %1").arg(z);
        r.ActualValue = static_cast<std::int16_t>(200 + z % 40);
        r.Setpoint = 230;
        r.OutputRate = static_cast<std::int16_t>(z % 100);
        r.Current = 2.5F;
        r.Mode = 2;
    }
    std::vector<mosquitto*> clients;
    for (int i = 0; i < publishers; ++i) {
        mosquitto* c = mosquitto_new(("fleet-" + std::to_string(i)).c_str(), true, nullptr);
        mosquitto_int_option(c, MOSQ_OPT_TCP_NODELAY, 1);  // as the station does
        mosquitto_connect(c, "127.0.0.1", port, 30);
        mosquitto_loop_start(c);
        clients.push_back(c);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    const long long ticks0 = cpuTicks(broker);
    const auto start = Clock::now();
    long long sent = 0;
    std::size_t payloadBytes = 0;
    // Publisher i sends at i/N of every second, so the batches are spread as
    // the stations' independent clocks spread them.
    for (int s = 0; s < seconds; ++s) {
        for (int i = 0; i < publishers; ++i) {
            std::this_thread::sleep_until(start + std::chrono::microseconds(s * 1000000LL + i * 1000000LL / publishers));
            const QByteArray payload = zev::zonesPayload(plant, QString::number(nowUs()));
            payloadBytes = static_cast<std::size_t>(payload.size());
            const std::string topic = "zev/press-" + std::to_string(i) + "/zones";
            if (mosquitto_publish(clients[static_cast<std::size_t>(i)], nullptr, topic.c_str(), static_cast<int>(payload.size()),
                                  payload.constData(), 0, false) == MOSQ_ERR_SUCCESS)
                ++sent;
        }
    }
    std::this_thread::sleep_until(start + std::chrono::seconds(seconds) + std::chrono::milliseconds(500));
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    const double brokerCpu = static_cast<double>(cpuTicks(broker) - ticks0) / static_cast<double>(sysconf(_SC_CLK_TCK)) / elapsed;

    for (mosquitto* c : clients) {
        mosquitto_disconnect(c);
        mosquitto_loop_stop(c, false);
        mosquitto_destroy(c);
    }
    mosquitto_disconnect(sub);
    mosquitto_loop_stop(sub, false);
    mosquitto_destroy(sub);
    mqtt.stop();

    std::lock_guard lock(receiver.mutex);
    std::printf("publishers %d, zones %d, payload %zu bytes, %d s\n", publishers, zones, payloadBytes, seconds);
    std::printf("sent %lld, received %zu\n", sent, receiver.latencyMs.size());
    std::printf("latency ms: p50 %.2f  p95 %.2f  p99 %.2f\n", percentile(receiver.latencyMs, 50),
                percentile(receiver.latencyMs, 95), percentile(receiver.latencyMs, 99));
    std::printf("broker CPU: %.1f %% of one core\n", brokerCpu * 100.0);
    mosquitto_lib_cleanup();
    return 0;
}
