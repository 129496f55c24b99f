// The configuration page of the plant link: broker, station name, login, TLS
// and keep-alive (zev.ini section [MQTT]), changed at level 4; the state of
// the connection in the operator's language, and a test of the entered
// settings that runs beside the station's own connection.
#pragma once

#include "plantlink/mqtt_client.h"
#include "plantlink/mqtt_config.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QTimer;
class QPushButton;

namespace zev {

struct AppContext;
class PlantPublisher;

class PlantLinkPage final : public QWidget {
    Q_OBJECT
public:
    PlantLinkPage(AppContext& ctx, PlantPublisher* publisher, QWidget* parent = nullptr);
    QLabel* lblState() const { return state_; }
    // The settings as entered, not yet applied.
    const MqttConfig& entered() const { return entered_; }

private:
    QPushButton* field(const char* name, int caption, int row);
    void edit(QPushButton* button);
    void showEntered();
    void showState();
    void apply();
    void testConnection();

    AppContext& ctx_;
    PlantPublisher* publisher_;
    MqttConfig entered_;
    QCheckBox* enabled_ = nullptr;
    QCheckBox* tls_ = nullptr;
    QPushButton *host_ = nullptr, *port_ = nullptr, *station_ = nullptr, *user_ = nullptr, *password_ = nullptr,
                *caFile_ = nullptr, *keepAlive_ = nullptr;
    QLabel* state_ = nullptr;
    QLabel* test_ = nullptr;
    MqttClient tester_;
    QTimer* countdown_ = nullptr;  // the wait for the next attempt, second by second
};

}  // namespace zev
