// A real broker for the tests: mosquitto on a free localhost port with a small
// configuration in a temporary directory, and a watcher that subscribes to the
// station's topics the way a plant's dashboard would.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct mosquitto;
struct mosquitto_message;

namespace zev::test {

class MqttBroker {
public:
    // extraConfig: more lines of mosquitto.conf (e.g. "allow_anonymous false").
    explicit MqttBroker(QString extraConfig = {});
    ~MqttBroker();
    MqttBroker(const MqttBroker&) = delete;
    MqttBroker& operator=(const MqttBroker&) = delete;

    // Starts the broker (on the same port as before after a stop) and waits
    // until it accepts connections.
    bool start();
    // Ends it as an operator would (SIGTERM: a persistent broker saves its state).
    void stop();
    int port() const { return port_; }
    // The broker's process (0 when it is not running).
    int pid() const { return static_cast<int>(pid_); }

private:
    QTemporaryDir dir_;
    QString extra_;
    int port_ = 0;
    long long pid_ = 0;
};

// A free TCP port on localhost (nothing listens on it when this returns).
int freeLocalPort();

struct MqttMessage {
    std::string topic;
    std::string payload;
    bool retained = false;
};

class MqttWatcher {
public:
    // Subscribes to `filter` with QoS 1. A durable watcher (clientId given,
    // clean session off) gets what was published while it was away.
    explicit MqttWatcher(int port, std::string filter = "zev/#", std::string clientId = {});
    ~MqttWatcher();
    MqttWatcher(const MqttWatcher&) = delete;
    MqttWatcher& operator=(const MqttWatcher&) = delete;

    std::vector<MqttMessage> messages() const;
    std::vector<MqttMessage> on(const std::string& topic) const;
    // Runs the station's events (and `tick`) until `done` holds or the time is up.
    bool waitFor(const std::function<bool()>& done, double seconds, const std::function<void()>& tick = {});
    bool connected() const;

private:
    static void onConnect(mosquitto*, void* self, int rc);
    static void onMessage(mosquitto*, void* self, const mosquitto_message* m);
    mosquitto* mosq_ = nullptr;
    std::string filter_;
    mutable std::mutex mutex_;
    std::vector<MqttMessage> messages_;
    bool connected_ = false;
};

}  // namespace zev::test
