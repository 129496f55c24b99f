#include "plantlink/plant_publisher.h"

#include "alarms/alarm_log.h"
#include "base/app_context.h"
#include "base/clock.h"
#include "base/settings.h"
#include "link/link_session.h"
#include "plant/tool_data.h"
#include "plant/zone_table.h"

#include <QCoreApplication>
#include <QDateTime>

namespace zev {

namespace {
constexpr int kEventWindow = 100;   // records on their way at once
constexpr qint64 kZonesPeriodMs = 1000;
const QString kVersion = QStringLiteral("%1.%2.%3").arg(ZEV_VERSION_MAJOR).arg(ZEV_VERSION_MINOR).arg(ZEV_VERSION_PATCH);
}  // namespace

PlantPublisher::PlantPublisher(AppContext& ctx, QObject* parent)
    : QObject(parent), ctx_(ctx), feed_(ctx.settings) {
    connect(&client_, &MqttClient::statusChanged, this, &PlantPublisher::statusChanged);
    connect(&client_, &MqttClient::connected, this, &PlantPublisher::onConnected);
    connect(&client_, &MqttClient::delivered, this, &PlantPublisher::onDelivered);
    connect(&client_, &MqttClient::connectionLost, this, &PlantPublisher::onConnectionLost);
    if (ctx_.link) {
        connect(ctx_.link, &LinkSession::valuesRead, this, &PlantPublisher::onValuesRead);
        connect(ctx_.link, &LinkSession::onlineChanged, this, [this] { publishState(true); });
        connect(ctx_.link, &LinkSession::zonesRebuilt, this, [this] {
            bindLog();
            statusWords_.clear();
            publishState(true);
            publishAlarms(true);
            publishEvents();
        });
    }
    storeTimer_.setInterval(1000);
    connect(&storeTimer_, &QTimer::timeout, this, [this] { feed_.store(); });
    storeTimer_.start();
    reconfigure();
}

PlantPublisher::~PlantPublisher() {
    if (client_.isConnected()) publishState(false);
    client_.stop();
    // The acknowledgements that came in while the connection ended count.
    QCoreApplication::sendPostedEvents(&client_);
    feed_.store();
}

void PlantPublisher::reconfigure() {
    client_.stop();
    QCoreApplication::sendPostedEvents(&client_);
    onConnectionLost();
    config_ = loadMqttConfig(ctx_.settings);
    problem_ = checkConfig(config_);
    if (config_.enabled && problem_ == ConfigProblem::None) {
        bindLog();
        StationState will{false, ctx_.tool.ToolName, ctx_.plant.ZoneCount, kVersion, LinkCondition::Offline};
        client_.start(config_, stateTopic(), statePayload(will));
    }
    emit statusChanged();
}

QByteArray PlantPublisher::stateTopic() const { return topic(config_.station, QStringLiteral("state")); }

void PlantPublisher::bindLog() {
    if (ctx_.alarmLog == feed_.log() && ctx_.alarmLog) return;
    disconnect(logConnection_);
    disconnect(reopenConnection_);
    feed_.bind(ctx_.alarmLog, ctx_.tool.ToolIni);
    if (!ctx_.alarmLog) return;
    logConnection_ = connect(ctx_.alarmLog, &AlarmLog::written, this, [this] {
        publishEvents();
        publishAlarms(false);
    });
    reopenConnection_ = connect(ctx_.alarmLog, &AlarmLog::reopened, this, [this] {
        feed_.resync();
        publishEvents();
    });
}

void PlantPublisher::onConnected() {
    bindLog();
    feed_.rewind();
    publishState(true);
    publishAlarms(true);
    publishEvents();  // the records the broker has not acknowledged yet, in order
    onValuesRead();
}

void PlantPublisher::onConnectionLost() {
    zonesMid_ = -1;
    alarms_.clear();
    feed_.rewind();
}

void PlantPublisher::onDelivered(int mid) {
    if (mid == zonesMid_) {
        zonesMid_ = -1;
        return;
    }
    feed_.delivered(mid);
    publishEvents();
}

void PlantPublisher::publishState(bool online) {
    if (!client_.isConnected()) return;
    LinkCondition link = LinkCondition::Offline;
    if (ctx_.link && ctx_.link->Online())
        link = ctx_.plant.ControllerCount > 0 ? LinkCondition::Online : LinkCondition::NoController;
    const StationState state{online, ctx_.tool.ToolName, ctx_.plant.ZoneCount, kVersion, link};
    client_.publish(stateTopic(), statePayload(state), 1, true);
}

void PlantPublisher::onValuesRead() {
    if (!client_.isConnected()) return;  // telemetry while away is of no use later
    const int count = ctx_.plant.ZoneCount;
    bool changed = static_cast<int>(statusWords_.size()) != count;
    for (int z = 1; z <= count && !changed; ++z)
        changed = statusWords_[static_cast<std::size_t>(z - 1)] != ctx_.plant.zone(z).StatusWord;
    const qint64 now = ctx_.clock.monotonicMs();
    if (!changed && lastZonesMs_ >= 0 && now - lastZonesMs_ < kZonesPeriodMs) return;
    if (zonesMid_ >= 0) return;  // the last batch has not left: a slow broker gets the newest one later
    const QDateTime t = ctx_.clock.now();
    const QString time = t.toOffsetFromUtc(t.offsetFromUtc()).toString(Qt::ISODateWithMs);
    const int mid = client_.publish(topic(config_.station, QStringLiteral("zones")), zonesPayload(ctx_.plant, time), 0, false);
    if (mid < 0) return;
    zonesMid_ = mid;
    lastZonesMs_ = now;
    statusWords_.resize(static_cast<std::size_t>(count));
    for (int z = 1; z <= count; ++z) statusWords_[static_cast<std::size_t>(z - 1)] = ctx_.plant.zone(z).StatusWord;
}

void PlantPublisher::publishEvents() {
    while (client_.isConnected() && feed_.inFlight() < kEventWindow) {
        const std::vector<LogRecord> records = feed_.next(kEventWindow - feed_.inFlight());
        if (records.empty()) return;
        for (const LogRecord& r : records) {
            const int mid = client_.publish(topic(config_.station, QStringLiteral("events")), eventPayload(r), 1, false);
            if (mid < 0) {
                feed_.rewind();
                return;
            }
            feed_.sent(r.id, mid);
        }
    }
}

void PlantPublisher::publishAlarms(bool all) {
    if (!client_.isConnected()) return;
    const std::map<int, LogRecord> present = feed_.presentAlarms(ctx_.plant.ZoneCount);
    for (int z = 1; z <= ctx_.plant.ZoneCount; ++z) {
        const auto it = present.find(z);
        // The record and whether it is acknowledged: either change is news.
        const qint64 mark = it == present.end() ? 0 : it->second.id * 2 + (it->second.acknowledged != 0.0 ? 1 : 0);
        const auto old = alarms_.find(z);
        if (!all && mark == (old == alarms_.end() ? 0 : old->second)) continue;
        const QByteArray payload = it == present.end() ? QByteArray() : alarmPayload(it->second);
        if (client_.publish(topic(config_.station, QStringLiteral("alarms/%1").arg(z)), payload, 1, true) < 0) return;
        alarms_[z] = mark;
    }
}

}  // namespace zev
