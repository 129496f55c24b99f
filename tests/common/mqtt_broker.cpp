#include "mqtt_broker.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>
#include <mosquitto.h>

#include <arpa/inet.h>
#include <chrono>
#include <csignal>
#include <netinet/in.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace zev::test {

namespace {
bool accepts(int port) {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool ok = ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(s);
    return ok;
}
}  // namespace

int freeLocalPort() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    ::close(s);
    return ntohs(a.sin_port);
}

MqttBroker::MqttBroker(QString extraConfig) : extra_(std::move(extraConfig)) {}

MqttBroker::~MqttBroker() { stop(); }

bool MqttBroker::start() {
    if (pid_) return true;
    if (!port_) port_ = freeLocalPort();
    const QString conf = dir_.filePath(QStringLiteral("mosquitto.conf"));
    QFile f(conf);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(QStringLiteral("listener %1 127.0.0.1\npersistence true\npersistence_location %2/\nlog_dest none\nset_tcp_nodelay true\n%3\n")
                .arg(port_)
                .arg(dir_.path(), extra_.contains(QLatin1String("allow_anonymous")) ? extra_
                                                                                      : extra_ + "\nallow_anonymous true")
                .toUtf8());
    f.close();
    // Started as root, the broker drops to its own user: it must be able to
    // write its persistence file here.
    QFile::setPermissions(dir_.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                           QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
    const QByteArray path = conf.toLocal8Bit();
    char* argv[] = {const_cast<char*>("mosquitto"), const_cast<char*>("-c"), const_cast<char*>(path.constData()), nullptr};
    pid_t pid = 0;
    if (posix_spawnp(&pid, "mosquitto", nullptr, nullptr, argv, environ) != 0) return false;
    pid_ = pid;
    for (int i = 0; i < 100; ++i) {
        if (accepts(port_)) return true;
        QThread::msleep(20);
    }
    return false;
}

void MqttBroker::stop() {
    if (!pid_) return;
    ::kill(static_cast<pid_t>(pid_), SIGTERM);
    ::waitpid(static_cast<pid_t>(pid_), nullptr, 0);
    pid_ = 0;
}

MqttWatcher::MqttWatcher(int port, std::string filter, std::string clientId) : filter_(std::move(filter)) {
    mosquitto_lib_init();
    const bool durable = !clientId.empty();
    mosq_ = mosquitto_new(durable ? clientId.c_str() : nullptr, !durable, this);
    mosquitto_connect_callback_set(mosq_, &MqttWatcher::onConnect);
    mosquitto_message_callback_set(mosq_, &MqttWatcher::onMessage);
    mosquitto_reconnect_delay_set(mosq_, 1, 1, false);
    mosquitto_connect(mosq_, "127.0.0.1", port, 10);
    mosquitto_loop_start(mosq_);
}

MqttWatcher::~MqttWatcher() {
    mosquitto_disconnect(mosq_);
    mosquitto_loop_stop(mosq_, true);
    mosquitto_destroy(mosq_);
}

void MqttWatcher::onConnect(mosquitto* m, void* self, int rc) {
    auto* w = static_cast<MqttWatcher*>(self);
    if (rc != 0) return;
    mosquitto_subscribe(m, nullptr, w->filter_.c_str(), 1);
    std::lock_guard lock(w->mutex_);
    w->connected_ = true;
}

void MqttWatcher::onMessage(mosquitto*, void* self, const mosquitto_message* m) {
    auto* w = static_cast<MqttWatcher*>(self);
    std::lock_guard lock(w->mutex_);
    w->messages_.push_back({m->topic, std::string(static_cast<const char*>(m->payload), static_cast<std::size_t>(m->payloadlen)),
                            m->retain});
}

std::vector<MqttMessage> MqttWatcher::messages() const {
    std::lock_guard lock(mutex_);
    return messages_;
}

std::vector<MqttMessage> MqttWatcher::on(const std::string& topic) const {
    std::vector<MqttMessage> out;
    for (const MqttMessage& m : messages())
        if (m.topic == topic) out.push_back(m);
    return out;
}

bool MqttWatcher::connected() const {
    std::lock_guard lock(mutex_);
    return connected_;
}

bool MqttWatcher::waitFor(const std::function<bool()>& done, double seconds, const std::function<void()>& tick) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(static_cast<int>(seconds * 1000));
    while (std::chrono::steady_clock::now() < end) {
        QCoreApplication::processEvents();
        if (done()) return true;
        if (tick) tick();
        QThread::msleep(10);
    }
    QCoreApplication::processEvents();
    return done();
}

}  // namespace zev::test
