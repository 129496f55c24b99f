// Zone commands: the one way anything writes to a controller's zone.
//
// Before a telegram goes out the station checks, in this order: the zone
// exists, the no-value marker is never sent, the parameter can be written
// (read-only zone parameters of the driver file are not), the value lies in
// the parameter's range (the driver's Min..Max for zone parameters), and no
// manual mode or output rate goes to a monitor zone. A refused write sends
// nothing. The user level is demanded once per command (CheckLevel).
//
// An accepted write updates the zone table here and nowhere else, and is
// announced by `accepted` (the place of the operator record). Accepted
// setpoints are remembered until the reading pass sees them in the library's
// cache, so that the pass never records our own write as a change made at the
// controller.
//
// Batches go over a list of zones with progress on the progress line, can be
// cancelled between two zones, and return the zones that failed, so that a
// retry repeats only those. Zone parameters are read by block: one telegram
// per controller for all its channels.
#pragma once

#include "link/zone_values.h"

#include <zev485.h>

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace zev {

struct AppContext;


// Why the station did not send a write.
enum class Refusal {
    None,
    Level,           // the operator's user level is too low (CheckLevel said no)
    NoZone,          // zone outside 1..ZoneCount or without controller
    UnknownCode,     // not a write code
    NoValue,         // the no-value marker
    ReadOnly,        // a zone parameter whose Min equals Max (or no driver loaded)
    OutOfRange,
    MonitorZone,     // manual mode or an output rate for a zone that only measures
    Cancelled,       // the batch was cancelled before this zone
};

struct WriteResult {
    Refusal refusal = Refusal::None;
    ZEV485_Result bus = ZEV485_OK;  // the library's answer when it was sent
    bool sent() const { return refusal == Refusal::None; }
    bool accepted() const { return sent() && bus == ZEV485_OK; }
};

// An accepted write as it is announced (zone, code, value before and after).
struct ZoneCommandRecord {
    int zone = 0;
    int code = 0;
    int previous = 0;
    int value = 0;
};

struct BatchResult {
    std::vector<int> accepted;   // zones that took the value
    std::vector<int> failed;     // sent and not accepted, or not reached after a cancel: "retry" repeats these
    std::vector<std::pair<int, Refusal>> refused;  // refused by the checks (a retry would refuse again)
    bool levelRefused = false;   // nothing was sent
    bool cancelled = false;
};

// Inclusive range of a write code; nullopt when the code cannot be written.
struct WriteRange {
    int min = 0;
    int max = 0;
};

class ZoneCommands final : public QObject {
    Q_OBJECT
public:
    explicit ZoneCommands(AppContext& ctx, QObject* parent = nullptr);
    ~ZoneCommands() override;

    // The checks alone (level aside); Refusal::None when the write may go out.
    Refusal check(int zone, int code, int value) const;
    // The range of a code for this installation (driver limits for parameters).
    std::optional<WriteRange> range(int code) const;

    // One write: CheckLevel(level), the checks, the telegram, and on acceptance
    // the zone table and `accepted`.
    WriteResult write(int zone, int code, int value, int level);

    // A batch over zones: the level once, then for each zone its value
    // (valueOf), the checks and the telegram, with progressText(zone) on the
    // progress line and the event pump served between zones. cancel() from an
    // event during the batch stops it before the next zone.
    BatchResult writeBatch(const std::vector<int>& zones, int code, const std::function<int(int zone)>& valueOf,
                           int level, const std::function<QString(int zone)>& progressText = {});
    void cancel() { cancelRequested_ = true; }
    bool running() const { return running_; }

    // Zone parameter `parameter` (1..28) of the given zones, read by block
    // (GaaKALPpp=, one telegram per controller); a controller that refuses the
    // block (NAK) is read zone by zone; a reply of the wrong length or none is
    // no value for all its zones. Unread zones get the no-value marker. The
    // values go into the driver's parameter store (Value) and are returned in
    // the order of `zones`.
    std::vector<int> readParameter(int parameter, const std::vector<int>& zones);

    // The reading pass asks whether a setpoint just read is our own write that
    // the cache has not shown yet. Returns the setpoint the zone table should
    // keep (and whether the reading is a change to be recorded).
    struct SetpointReading {
        std::int16_t setpoint;
        bool record;  // a change made at the controller
    };
    SetpointReading takeSetpointReading(int zone, std::int16_t tableValue, std::int16_t readValue);

signals:
    void accepted(const ZoneCommandRecord& record);

private:
    WriteResult send(int zone, int code, int value);
    void apply(int zone, int code, int value);
    std::vector<int> readBlock(int address, int parameter, int channels);

    AppContext& ctx_;
    bool cancelRequested_ = false;
    bool running_ = false;
    // Accepted setpoints the reading pass has not seen yet: the value before,
    // the value written, and how many passes the old value may still show.
    struct OwnSetpoint {
        bool pending = false;
        std::int16_t previous = 0;
        std::int16_t value = 0;
        int passesLeft = 0;
    };
    std::array<OwnSetpoint, 271> own_{};
};

}  // namespace zev
