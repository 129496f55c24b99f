// The two serial ports the bus library serves: the master port (the line to the
// controllers, section "SERIAL") and the optional slave port ("SERIAL_2").
#pragma once

#include <QString>

namespace zev {

struct AppContext;

// Transfer modes of the list entries 0, 1, 2.
constexpr int kTransferModes[3] = {0, 6, -1};
int transferModeEntry(int mode);  // list entry of a mode (0 when unknown)

struct PortChoice {
    int port = 0;        // 1..18; 0 = "Offline" (no port)
    int mode = 0;        // 0, 6 or -1
    long baud = 19200;
    int firstAddress = 1;  // slave port only
};

// What the settings hold (the entries the port window selects at load).
PortChoice masterFromSettings(AppContext& ctx);
PortChoice slaveFromSettings(AppContext& ctx);

bool InitMasterPort(AppContext& ctx, const PortChoice& choice);
bool InitMasterPort(AppContext& ctx);  // with the stored choice
bool InitSlavePort(AppContext& ctx, const PortChoice& choice);
void SavePortSettings(AppContext& ctx, const PortChoice& master, const PortChoice& slave);

}  // namespace zev
