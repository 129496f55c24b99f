#include "plantlink/mqtt_config.h"

#include "base/settings.h"

#include <QFileInfo>
#include <unistd.h>
#include <algorithm>

namespace zev {

namespace {
const QString kSection = QStringLiteral("MQTT");
const QString kZevIni = QStringLiteral("*");

QString hostName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return QStringLiteral("station");
    return QString::fromLocal8Bit(name);
}

int number(Settings& s, const char* key, int def) {
    bool ok = false;
    const int v = s.GetIni(kSection, QString::fromLatin1(key), QString::number(def), kZevIni).toInt(&ok);
    return ok ? v : def;
}
QString text(Settings& s, const char* key, const QString& def) {
    return s.GetIni(kSection, QString::fromLatin1(key), def, kZevIni);
}
}  // namespace

bool validStationName(const QString& name) {
    if (name.isEmpty() || name.size() > 64) return false;
    for (QChar c : name)
        if (c == u'/' || c == u'#' || c == u'+' || c.isSpace() || c.category() == QChar::Other_Control) return false;
    return true;
}

ConfigProblem checkConfig(const MqttConfig& c) {
    if (!validStationName(c.station)) return ConfigProblem::StationName;
    if (c.port < 1 || c.port > 65535) return ConfigProblem::Port;
    if (c.keepAlive < 5 || c.keepAlive > 3600) return ConfigProblem::KeepAlive;
    if (c.tls && !QFileInfo(c.caFile).isReadable()) return ConfigProblem::CaFile;
    return ConfigProblem::None;
}

MqttConfig loadMqttConfig(Settings& s) {
    MqttConfig c;
    c.enabled = number(s, "Enabled", 0) == 1;
    c.host = text(s, "Host", c.host);
    c.port = number(s, "Port", c.port);
    c.station = text(s, "Station", hostName());
    c.user = text(s, "User", QString());
    c.password = text(s, "Password", QString());
    c.tls = number(s, "TLS", 0) == 1;
    c.caFile = text(s, "CAFile", QString());
    c.keepAlive = number(s, "KeepAlive", c.keepAlive);
    // The back-off: a nonsense value falls back into what a plant can live with.
    c.retryFirst = std::clamp(number(s, "RetryFirst", c.retryFirst), 1, 60);
    c.retryLast = std::clamp(number(s, "RetryLast", c.retryLast), c.retryFirst, 600);
    const QString broker = qEnvironmentVariable("ZEV_MQTT_BROKER");
    const qsizetype colon = broker.lastIndexOf(u':');
    if (colon > 0) {
        bool ok = false;
        const int port = broker.mid(colon + 1).toInt(&ok);
        if (ok) {
            c.enabled = true;
            c.host = broker.left(colon);
            c.port = port;
        }
    }
    return c;
}

bool storeMqttConfig(Settings& s, const MqttConfig& c) {
    Settings::Batch batch(s);
    bool ok = s.SetIni(kSection, QStringLiteral("Enabled"), QString::number(c.enabled ? 1 : 0), kZevIni);
    ok = s.SetIni(kSection, QStringLiteral("Host"), c.host, kZevIni) && ok;
    ok = s.SetIni(kSection, QStringLiteral("Port"), QString::number(c.port), kZevIni) && ok;
    ok = s.SetIni(kSection, QStringLiteral("Station"), c.station, kZevIni) && ok;
    ok = s.SetIni(kSection, QStringLiteral("User"), c.user, kZevIni) && ok;
    ok = s.SetIni(kSection, QStringLiteral("Password"), c.password, kZevIni) && ok;
    ok = s.SetIni(kSection, QStringLiteral("TLS"), QString::number(c.tls ? 1 : 0), kZevIni) && ok;
    ok = s.SetIni(kSection, QStringLiteral("CAFile"), c.caFile, kZevIni) && ok;
    ok = s.SetIni(kSection, QStringLiteral("KeepAlive"), QString::number(c.keepAlive), kZevIni) && ok;
    return batch.finish() && ok;
}

}  // namespace zev
