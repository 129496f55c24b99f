#include "link/ports.h"

#include "link/bus_link.h"
#include "base/app_context.h"
#include "base/ini_values.h"
#include "base/progress_line.h"
#include "base/settings.h"
#include "base/event_pump.h"
#include "support/text_numbers.h"
#include "support/texts.h"

namespace zev {

namespace {
const QString kStar = QStringLiteral("*");
const QString kMaster = QStringLiteral("SERIAL");
const QString kSlave = QStringLiteral("SERIAL_2");

int timeoutOf(AppContext& ctx, const QString& section) {
    return boundedInt(ctx.settings.GetIni(section, QStringLiteral("TIMEOUT"), QStringLiteral("200"), kStar), 10, 30000);
}
int retryOf(AppContext& ctx, const QString& section) {
    return boundedInt(ctx.settings.GetIni(section, QStringLiteral("RETRY"), QStringLiteral("2"), kStar), 0, 20);
}

PortChoice fromSettings(AppContext& ctx, const QString& section, const char* defaultPort, const char* defaultBaud) {
    PortChoice c;
    c.port = boundedInt(ctx.settings.GetIni(section, QStringLiteral("COMPORT"), QString::fromLatin1(defaultPort), kStar), 0, 18);
    const int mode = boundedInt(ctx.settings.GetIni(section, QStringLiteral("DIRMODE"), QStringLiteral("0"), kStar), -1, 6);
    c.mode = kTransferModes[transferModeEntry(mode)];
    c.baud = boundedInt(ctx.settings.GetIni(section, QStringLiteral("BAUDRATE"), QString::fromLatin1(defaultBaud), kStar),
                        300, 115200);
    return c;
}
}  // namespace

int transferModeEntry(int mode) {
    for (int i = 0; i < 3; ++i)
        if (kTransferModes[i] == mode) return i;
    return 0;
}

PortChoice masterFromSettings(AppContext& ctx) { return fromSettings(ctx, kMaster, "1", "19200"); }

PortChoice slaveFromSettings(AppContext& ctx) {
    PortChoice c = fromSettings(ctx, kSlave, "7", "9600");
    c.firstAddress = boundedInt(ctx.settings.GetIni(kSlave, QStringLiteral("MASTERADR"), QStringLiteral("1"), kStar), 1, 27);
    return c;
}

bool InitMasterPort(AppContext& ctx, const PortChoice& choice) {
    ctx.progress.setAction(ctx.texts(TextNo::InitialisingInterface));
    const int timeout = timeoutOf(ctx, kMaster);
    const int retry = retryOf(ctx, kMaster);
    bool open = ctx.bus.SetMasterPort(choice.port, choice.mode, choice.baud, timeout, retry);
    if (!open) {
        Wait(ctx.pump, ctx.clock, 1.0);
        open = ctx.bus.SetMasterPort(choice.port, choice.mode, choice.baud, timeout, retry);
    }
    if (open) ctx.bus.Ask(QStringLiteral("G01?AZ#="));  // wakes the line; the reply is not used
    return open;
}

bool InitMasterPort(AppContext& ctx) { return InitMasterPort(ctx, masterFromSettings(ctx)); }

bool InitSlavePort(AppContext& ctx, const PortChoice& choice) {
    return ctx.bus.SetSlavePort(choice.port, choice.mode, choice.baud, timeoutOf(ctx, kSlave), retryOf(ctx, kSlave),
                                choice.firstAddress);
}

void SavePortSettings(AppContext& ctx, const PortChoice& master, const PortChoice& slave) {
    Settings& s = ctx.settings;
    s.SetIni(kMaster, QStringLiteral("COMPORT"), QString::number(master.port), kStar);
    s.SetIni(kMaster, QStringLiteral("DIRMODE"), QString::number(master.mode), kStar);
    s.SetIni(kMaster, QStringLiteral("BAUDRATE"), QString::number(master.baud), kStar);
    s.SetIni(kSlave, QStringLiteral("COMPORT"), QString::number(slave.port), kStar);
    s.SetIni(kSlave, QStringLiteral("DIRMODE"), QString::number(slave.mode), kStar);
    s.SetIni(kSlave, QStringLiteral("BAUDRATE"), QString::number(slave.baud), kStar);
    s.SetIni(kSlave, QStringLiteral("MASTERADR"), QString::number(slave.firstAddress), kStar);
}

}  // namespace zev
