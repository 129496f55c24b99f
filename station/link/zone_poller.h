// The reading pass of the main cycle: every zone's values from the bus
// library's cache into the zone table (status decoded by myGetValue), status
// and setpoint changes into the alarm log of the current tool in one
// transaction per pass, the fault time of every watched zone, and whether the
// controllers' outputs are on. A setpoint that our own accepted write set is
// not recorded as a change (the zone commands decide about it).
#pragma once

#include "plant/zone_table.h"

#include <QDateTime>
#include <QObject>
#include <array>

namespace zev {

struct AppContext;
class ZoneCommands;

class ZonePoller final : public QObject {
    Q_OBJECT
public:
    ZonePoller(AppContext& ctx, ZoneCommands& commands, QObject* parent = nullptr);

    // One pass; emits valuesRead(recordsWritten).
    void readingPass();

signals:
    void valuesRead(bool recordsWritten);

private:
    double secondsSinceLastReading();

    AppContext& ctx_;
    ZoneCommands& commands_;
    QDateTime lastReading_;
    // Zones whose status the pass has read since the start: the zone table
    // starts with "no value", which must not hide a controller that is silent
    // from the start.
    std::array<bool, kMaxZones + 1> read_{};
};

}  // namespace zev
