// The station as a publisher to the plant's message broker: its state (with
// the last will that marks it offline when it dies), the zones once a second
// and at once after a status change, each zone's present alarm, and every
// record of the alarm log (docs/plant-link.md). Read-only: nothing from the
// broker reaches a controller.
//
// The station's thread only builds payloads and hands them to the connection's
// thread (MqttClient); telemetry is dropped while there is no connection or
// while the previous batch has not left yet, records wait in the alarm log.
#pragma once

#include "plantlink/event_feed.h"
#include "plantlink/mqtt_client.h"
#include "plantlink/mqtt_config.h"

#include <QObject>
#include <QTimer>
#include <map>
#include <vector>

namespace zev {

struct AppContext;

class PlantPublisher final : public QObject {
    Q_OBJECT
public:
    explicit PlantPublisher(AppContext& ctx, QObject* parent = nullptr);
    // Publishes the state "offline" and disconnects cleanly.
    ~PlantPublisher() override;

    // Reads section [MQTT] of zev.ini and (re)starts or stops publishing.
    void reconfigure();
    const MqttConfig& config() const { return config_; }
    // Why the configuration cannot be used (None: publishing or switched off).
    ConfigProblem problem() const { return problem_; }
    LinkStatus status() const { return client_.status(); }
    const EventFeed& feed() const { return feed_; }

    // The reading pass of the main cycle has run.
    void onValuesRead();

signals:
    void statusChanged();

private:
    void onConnected();
    void onDelivered(int mid);
    void onConnectionLost();
    void bindLog();
    void publishState(bool online);
    void publishZones();
    void publishEvents();
    void publishAlarms(bool all);
    QByteArray stateTopic() const;

    AppContext& ctx_;
    MqttConfig config_;
    ConfigProblem problem_ = ConfigProblem::None;
    MqttClient client_;
    EventFeed feed_;
    QTimer storeTimer_;
    QMetaObject::Connection logConnection_, reopenConnection_;
    std::vector<int> statusWords_;
    qint64 lastZonesMs_ = -1;
    int zonesMid_ = -1;            // the batch still on its way
    std::map<int, qint64> alarms_; // zone -> id of the alarm published (0: none)
};

}  // namespace zev
