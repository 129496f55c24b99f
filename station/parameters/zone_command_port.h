// How the parameter view reaches the controllers: one zone write with a typed
// result, the controller commands, and the block read of one parameter of every
// channel. The checks that keep a value from being sent live behind it: a value
// outside the command's range, the no-value marker, a read-only parameter and
// manual mode (or an output or tuning) for a monitor zone are refused without a
// telegram. An accepted zone write updates the zone table and is recorded once
// as an operator record.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace zev {

struct AppContext;
class OperatorRecord;

enum class WriteResult {
    Accepted = 0,     // the controller took the value
    Refused = 1,      // NAK
    NoAnswer = 2,     // silence after every try
    Damaged = 3,      // only damaged or foreign replies
    PortClosed = 4,   // master port not open
    BadArgument = 5,  // the library sent nothing
    OutOfRange = 10,  // checked here: nothing sent
    NoValue = 11,
    ReadOnly = 12,
    MonitorZone = 13,
};

// The range of a command for a zone ("what": a value code or a parameter number):
// false when the command cannot be sent at all (read-only or absent parameter).
bool commandRange(const AppContext& ctx, int what, int* min, int* max);

class ZoneCommandPort {
public:
    virtual ~ZoneCommandPort() = default;
    virtual WriteResult write(int zone, int what, int value) = 0;
    // A controller command ("G" + two-digit address + text) as `Ask` answers it.
    virtual QString ask(const QString& command) = 0;
    // A controller-wide value by its mnemonic (the outputs: "?ENA").
    virtual WriteResult setGlobal(int address, const QByteArray& name, int value) = 0;
    // Parameter `parameter` of every channel of a controller, channel 1 first;
    // false (values cleared) when the reply does not carry one value per channel.
    virtual bool readParameterBlock(int address, int parameter, std::vector<int>& values) = 0;
    // Holds the cyclic scan while a batch of writes is on the line (the writes
    // then follow each other without a block telegram between them).
    virtual void holdScan(bool hold) { (void)hold; }
};

// The port on the station's bus link.
class LinkZoneCommands final : public ZoneCommandPort {
public:
    LinkZoneCommands(AppContext& ctx, OperatorRecord* record) : ctx_(ctx), record_(record) {}
    WriteResult write(int zone, int what, int value) override;
    QString ask(const QString& command) override;
    WriteResult setGlobal(int address, const QByteArray& name, int value) override;
    bool readParameterBlock(int address, int parameter, std::vector<int>& values) override;
    void holdScan(bool hold) override;

private:
    AppContext& ctx_;
    OperatorRecord* record_;
};

}  // namespace zev
