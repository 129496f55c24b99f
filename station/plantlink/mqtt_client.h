// One connection to the broker on a thread of its own, so that the station's
// thread never waits for the network: connecting, TLS, the broker's answers and
// the reconnection back-off all happen there. The station's thread only hands
// messages over (publish) and hears of the connection through queued signals.
//
// Every connection attempt uses a fresh client of the library: nothing queued
// for a broken connection is sent again on the next one (the publisher decides
// what to send after a reconnection).
#pragma once

#include "plantlink/mqtt_config.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

struct mosquitto;

namespace zev {

enum class LinkState { Off, Connecting, Connected, Waiting };
// Why the last attempt failed.
enum class LinkFailure { None, Unreachable, LoginRefused, Tls, Refused };

struct LinkStatus {
    LinkState state = LinkState::Off;
    LinkFailure failure = LinkFailure::None;
    QString detail;      // the library's or the system's words, for the service technician
    int retryIn = 0;     // seconds still to wait for the next attempt (Waiting), counted down
};

// The next pause of the back-off: doubled, within first..last.
int nextRetryDelay(int current, int first, int last);

class MqttClient final : public QObject {
    Q_OBJECT
public:
    explicit MqttClient(QObject* parent = nullptr);
    ~MqttClient() override;

    // Connects (again and again with the back-off; once only with `once`, for
    // the configuration page's test). The last will is set on every connection.
    void start(const MqttConfig& config, const QByteArray& willTopic, const QByteArray& willPayload, bool once = false);
    // Waits up to a second for the acknowledgements still due, disconnects
    // cleanly (the broker keeps the last will to itself) and ends the thread.
    void stop();

    bool isConnected() const { return connected_; }
    // Hands one message to the connection; the message id, or -1 when there is
    // no connection (the message is dropped).
    int publish(const QByteArray& topic, const QByteArray& payload, int qos, bool retain);
    LinkStatus status() const;

signals:
    void statusChanged();
    void connected();
    // A message of this connection left (QoS 0) or was acknowledged (QoS 1).
    void delivered(int mid);
    void connectionLost();

private:
    void run(MqttConfig config, QByteArray willTopic, QByteArray willPayload, bool once);
    bool session(const MqttConfig& config, const QByteArray& willTopic, const QByteArray& willPayload);
    void setStatus(LinkState state, LinkFailure failure = LinkFailure::None, const QString& detail = {}, int retryIn = 0);
    static void onConnect(mosquitto*, void* self, int rc);
    static void onPublish(mosquitto*, void* self, int mid);

    std::thread thread_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> connected_{false};
    std::atomic<int> connack_{-1};
    mutable std::mutex mutex_;       // mosq_, status_, unacked_
    std::condition_variable wake_;
    mosquitto* mosq_ = nullptr;
    LinkStatus status_;
    std::chrono::steady_clock::time_point retryAt_;  // of the next attempt, while Waiting
    std::set<int> unacked_;          // QoS 1 messages not yet acknowledged
};

}  // namespace zev
