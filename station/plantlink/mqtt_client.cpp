#include "plantlink/mqtt_client.h"

#include <QMetaObject>
#include <mosquitto.h>

#include <cerrno>
#include <algorithm>
#include <chrono>
#include <cstring>

namespace zev {

namespace {
using Clock = std::chrono::steady_clock;
constexpr int kLoopMs = 100;                       // the thread looks at stop_ this often
constexpr auto kConnectTimeout = std::chrono::seconds(10);
constexpr auto kFlushTimeout = std::chrono::seconds(1);

void initLibrary() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

QString failureText(int rc) {
    if (rc == MOSQ_ERR_ERRNO) return QString::fromLocal8Bit(std::strerror(errno));
    return QString::fromUtf8(mosquitto_strerror(rc));
}
}  // namespace

int nextRetryDelay(int current, int first, int last) {
    if (current < first) return first;
    return current >= last / 2 ? last : current * 2;
}

MqttClient::MqttClient(QObject* parent) : QObject(parent) { initLibrary(); }

MqttClient::~MqttClient() { stop(); }

void MqttClient::start(const MqttConfig& config, const QByteArray& willTopic, const QByteArray& willPayload,
                       bool once) {
    stop();
    stop_ = false;
    setStatus(LinkState::Connecting);
    thread_ = std::thread([=, this] { run(config, willTopic, willPayload, once); });
}

void MqttClient::stop() {
    if (!thread_.joinable()) return;
    stop_ = true;
    wake_.notify_all();
    thread_.join();
    setStatus(LinkState::Off);
}

LinkStatus MqttClient::status() const {
    std::lock_guard lock(mutex_);
    LinkStatus s = status_;
    if (s.state == LinkState::Waiting && s.retryIn > 0) {
        // The seconds still to wait, rounded up, so the page never shows a stale count.
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(retryAt_ - Clock::now()).count();
        s.retryIn = static_cast<int>(std::max<long long>(0, (left + 999) / 1000));
    }
    return s;
}

void MqttClient::setStatus(LinkState state, LinkFailure failure, const QString& detail, int retryIn) {
    {
        std::lock_guard lock(mutex_);
        status_ = {state, failure, detail, retryIn};
    }
    QMetaObject::invokeMethod(this, [this] { emit statusChanged(); }, Qt::QueuedConnection);
}

int MqttClient::publish(const QByteArray& topic, const QByteArray& payload, int qos, bool retain) {
    std::lock_guard lock(mutex_);
    if (!mosq_ || !connected_) return -1;
    int mid = 0;
    if (mosquitto_publish(mosq_, &mid, topic.constData(), static_cast<int>(payload.size()), payload.constData(), qos,
                          retain) != MOSQ_ERR_SUCCESS)
        return -1;
    if (qos > 0) unacked_.insert(mid);
    return mid;
}

void MqttClient::onConnect(mosquitto*, void* self, int rc) {
    auto* c = static_cast<MqttClient*>(self);
    c->connack_ = rc;
    if (rc != 0) return;
    c->connected_ = true;
    c->setStatus(LinkState::Connected);
    QMetaObject::invokeMethod(c, [c] { emit c->connected(); }, Qt::QueuedConnection);
}

void MqttClient::onPublish(mosquitto*, void* self, int mid) {
    auto* c = static_cast<MqttClient*>(self);
    {
        std::lock_guard lock(c->mutex_);
        c->unacked_.erase(mid);
    }
    QMetaObject::invokeMethod(c, [c, mid] { emit c->delivered(mid); }, Qt::QueuedConnection);
}

void MqttClient::run(MqttConfig config, QByteArray willTopic, QByteArray willPayload, bool once) {
    int delay = config.retryFirst;
    while (!stop_) {
        const bool wasConnected = session(config, willTopic, willPayload);
        if (wasConnected) {
            QMetaObject::invokeMethod(this, [this] { emit connectionLost(); }, Qt::QueuedConnection);
            delay = config.retryFirst;
        }
        if (stop_ || once) break;
        {
            std::lock_guard lock(mutex_);
            status_.state = LinkState::Waiting;
            status_.retryIn = delay;
            retryAt_ = Clock::now() + std::chrono::seconds(delay);
        }
        QMetaObject::invokeMethod(this, [this] { emit statusChanged(); }, Qt::QueuedConnection);
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, std::chrono::seconds(delay), [this] { return stop_.load(); });
        lock.unlock();
        delay = nextRetryDelay(delay, config.retryFirst, config.retryLast);
        if (!stop_) setStatus(LinkState::Connecting);
    }
}

// One connection from the attempt to its end; true when it was established.
bool MqttClient::session(const MqttConfig& config, const QByteArray& willTopic, const QByteArray& willPayload) {
    connack_ = -1;
    const QByteArray id = "zev-" + config.station.toUtf8();
    mosquitto* m = mosquitto_new(id.constData(), true, this);
    if (!m) {
        setStatus(LinkState::Waiting, LinkFailure::Refused, QStringLiteral("out of memory"));
        return false;
    }
    mosquitto_threaded_set(m, true);
    mosquitto_int_option(m, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_int_option(m, MOSQ_OPT_TCP_NODELAY, 1);  // a batch goes at once, not after the next one
    mosquitto_connect_callback_set(m, &MqttClient::onConnect);
    mosquitto_publish_callback_set(m, &MqttClient::onPublish);
    int rc = mosquitto_will_set(m, willTopic.constData(), static_cast<int>(willPayload.size()),
                                willPayload.constData(), 1, true);
    if (rc == MOSQ_ERR_SUCCESS && !config.user.isEmpty())
        rc = mosquitto_username_pw_set(m, config.user.toUtf8().constData(), config.password.toUtf8().constData());
    LinkFailure failure = LinkFailure::Unreachable;
    if (rc == MOSQ_ERR_SUCCESS && config.tls) {
        rc = mosquitto_tls_set(m, config.caFile.toLocal8Bit().constData(), nullptr, nullptr, nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) failure = LinkFailure::Tls;
    }
    if (rc == MOSQ_ERR_SUCCESS)
        rc = mosquitto_connect_async(m, config.host.toUtf8().constData(), config.port, config.keepAlive);
    {
        std::lock_guard lock(mutex_);
        mosq_ = m;
        unacked_.clear();
    }
    const auto deadline = Clock::now() + kConnectTimeout;
    while (rc == MOSQ_ERR_SUCCESS && !stop_) {
        rc = mosquitto_loop(m, kLoopMs, 1);
        if (rc == MOSQ_ERR_SUCCESS && !connected_ && Clock::now() > deadline) rc = MOSQ_ERR_CONN_LOST;
    }
    const bool wasConnected = connected_;
    if (stop_ && connected_) {
        // Let the last messages (the state "offline") reach the broker first.
        const auto flushEnd = Clock::now() + kFlushTimeout;
        while (Clock::now() < flushEnd && mosquitto_loop(m, 20, 1) == MOSQ_ERR_SUCCESS) {
            std::lock_guard lock(mutex_);
            if (unacked_.empty()) break;
        }
        mosquitto_disconnect(m);
        for (int i = 0; i < 10 && mosquitto_loop(m, 20, 1) == MOSQ_ERR_SUCCESS; ++i) {
        }
    }
    {
        std::lock_guard lock(mutex_);
        mosq_ = nullptr;
        connected_ = false;
    }
    const QString detail = failureText(rc);
    if (!stop_) {
        const int connack = connack_;
        if (connack > 0) {
            failure = connack == 4 || connack == 5 ? LinkFailure::LoginRefused : LinkFailure::Refused;
            setStatus(LinkState::Waiting, failure, QString::fromUtf8(mosquitto_connack_string(connack)));
        } else {
            if (rc == MOSQ_ERR_TLS) failure = LinkFailure::Tls;
            setStatus(LinkState::Waiting, failure, detail);
        }
    }
    mosquitto_destroy(m);
    return wasConnected;
}

}  // namespace zev
