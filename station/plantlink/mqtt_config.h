// The station's connection to the plant's message broker: what zev.ini section
// [MQTT] holds, read and written through the settings store.
#pragma once

#include <QString>

namespace zev {

class Settings;

struct MqttConfig {
    bool enabled = false;
    QString host = QStringLiteral("localhost");
    int port = 1883;
    QString station;      // the topic level zev/<station>/...; default the host name
    QString user;
    QString password;
    bool tls = false;
    QString caFile;
    int keepAlive = 30;   // seconds
    // Reconnection back-off (seconds): doubles from the first to the last.
    int retryFirst = 1;
    int retryLast = 30;
};

// Why a configuration cannot be used (empty: it can).
enum class ConfigProblem { None, StationName, Port, KeepAlive, CaFile };

// A station name becomes one topic level: it must not be empty, longer than 64
// characters, or hold "/", "#", "+", blanks or control characters (which would
// split the level, act as a wildcard or trouble every shell that subscribes).
bool validStationName(const QString& name);
ConfigProblem checkConfig(const MqttConfig& config);

// Section [MQTT] of zev.ini: keys Enabled, Host, Port, Station, User, Password,
// TLS, CAFile, KeepAlive. The environment variable ZEV_MQTT_BROKER
// ("host:port") switches publishing on to that broker for one run (./run).
MqttConfig loadMqttConfig(Settings& settings);
bool storeMqttConfig(Settings& settings, const MqttConfig& config);

}  // namespace zev
