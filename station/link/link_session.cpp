#include "link/link_session.h"

#include "alarms/alarm_log.h"
#include "base/app_context.h"
#include "link/bus_link.h"
#include "link/identification.h"
#include "link/ports.h"
#include "link/zone_commands.h"
#include "link/zone_poller.h"
#include "plant/zone_table.h"
#include "plant/tool_data.h"

#include <QTimer>

namespace zev {

namespace {
constexpr int kVirtualControllers = 18;
constexpr int kVirtualChannels = 15;

void setOfflineTable(PlantData& plant) {
    plant.ZoneCount = kMaxZones;
    plant.ControllerCount = kVirtualControllers;
    for (int a = 1; a <= kVirtualControllers; ++a)
        for (int c = 1; c <= kVirtualChannels; ++c) {
            ZoneRecord& z = plant.zone((a - 1) * kVirtualChannels + c);
            z.BusAddress = static_cast<std::uint8_t>(a);
            z.Channel = static_cast<std::uint8_t>(c);
        }
}
}  // namespace

LinkSession::LinkSession(AppContext& ctx, QObject* parent)
    : QObject(parent),
      ctx_(ctx),
      commands_(std::make_unique<ZoneCommands>(ctx)),
      poller_(std::make_unique<ZonePoller>(ctx, *commands_)) {
    connect(poller_.get(), &ZonePoller::valuesRead, this, &LinkSession::valuesRead);
}

LinkSession::~LinkSession() {
    if (ctx_.alarmLog == log_.get()) ctx_.alarmLog = nullptr;
}

bool LinkSession::openMasterPort() { return openMasterPort(masterFromSettings(ctx_)); }

bool LinkSession::openMasterPort(const PortChoice& choice) {
    portInitResult_ = InitMasterPort(ctx_, choice) ? 1 : 0;
    return portInitResult_ != 0;
}

void LinkSession::setOnline(bool on) {
    if (online_ == on) return;
    online_ = on;
    emit onlineChanged(on);
}

void LinkSession::SetOnlineBetrieb(bool on) {
    setOnline(on);
    if (on) return;
    ctx_.plant.TemperatureUnit = QStringLiteral("°C");
    setOfflineTable(ctx_.plant);
}

void LinkSession::openToolLog() {
    const QString dir = ctx_.tool.LogFileDir;
    if (log_ && dir == logDir_) {
        log_->beginRun();
        return;
    }
    if (ctx_.alarmLog == log_.get()) ctx_.alarmLog = nullptr;
    log_.reset();  // the old file is closed before the new one opens
    log_ = std::make_unique<AlarmLog>(ctx_, dir);
    logDir_ = dir;
    ctx_.alarmLog = log_.get();
}

void LinkSession::start(bool online) {
    openToolLog();
    SetOnlineBetrieb(online);
    if (online_) IdentifyZEV(ctx_);
    emit zonesRebuilt();
}

bool LinkSession::startAfterToolChange(bool online) {
    openToolLog();
    SetOnlineBetrieb(online);
    bool identified = false;
    if (online_) {
        if (WiringMatchesLine(ctx_)) {
            // The controllers are known; only the new tool's values are not.
            for (int z = 1; z <= ctx_.plant.ZoneCount; ++z) {
                ZoneRecord& zone = ctx_.plant.zone(z);
                zone.Setpoint = zone.ActualValue = zone.OutputRate = kNoValue;
            }
            startPolling();
        } else {
            IdentifyZEV(ctx_);
            identified = true;
        }
    }
    emit zonesRebuilt();
    return identified;
}

void LinkSession::requestToolChange() {
    QTimer::singleShot(0, this, [this] { emit toolChangeRequested(); });
}

void LinkSession::stopPolling() {
    ctx_.bus.EnableCyclicScan(false);
    for (int a = 1; a <= kMaxAddress; ++a) ctx_.bus.SetOnline(a, false);
}

void LinkSession::stop() {
    ctx_.bus.FileLogging(false);
    stopPolling();
}

void LinkSession::startPolling() {
    for (int a = 1; a <= kMaxAddress; ++a) ctx_.bus.SetOnline(a, a <= ctx_.plant.ControllerCount);
    ctx_.bus.EnableCyclicScan(true);
}

void LinkSession::goOffline() {
    stopPolling();
    setOnline(false);
}

void LinkSession::setDiagnosisRunning(bool running) { diagnosisRunning_ = running; }

void LinkSession::requestRestart(bool online) {
    if (!mayStop()) return;
    QTimer::singleShot(0, this, [this, online] { emit restartRequested(online); });
}

void LinkSession::readValues() { poller_->readingPass(); }

void LinkSession::holdPolling(bool hold) {
    if (online_) ctx_.bus.EnableCyclicScan(!hold);
}

}  // namespace zev
