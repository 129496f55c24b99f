// A whole station context on the in-process simulator: the real bus library,
// the real protocol, the plant of zevsim; the driver files of data/DRIVER in the
// program directory; the tool loaded and the controllers identified.
#pragma once

#include "test_context.h"

#include "protocol/in_process_bus.h"

#include <QDir>
#include <QFile>

namespace zev::test {

inline std::vector<zevsim::ControllerConfig> controllers(std::initializer_list<int> channels) {
    std::vector<zevsim::ControllerConfig> out;
    for (int c : channels) {
        zevsim::ControllerConfig cfg;
        cfg.channels = c;
        out.push_back(cfg);
    }
    return out;
}

// Copies the shipped driver files into the test's program directory.
inline void installDrivers(TestContext& tc) {
    const QDir source(QStringLiteral(ZEV_SOURCE_DIR "/data/DRIVER"));
    QDir().mkpath(tc.home.file(QStringLiteral("DRIVER")));
    for (const QString& f : source.entryList({QStringLiteral("*.DRV")}, QDir::Files))
        QFile::copy(source.filePath(f), tc.home.file(QStringLiteral("DRIVER/") + f));
}

// Loads the active tool and starts the link on the controllers of `bus`
// (confirming a new wiring; the tool's alarm log opens), sets every zone to control mode at `setpoint` and lets the plant
// heat up without noise. False when something on the way failed.
bool identifyAndHeat(TestContext& tc, zevsim::InProcessBus& bus, int setpoint = 220);
// Values of every zone from the library into the zone table.
void readZones(AppContext& ctx);
// Waits for a fresh scan and reads the zones; false when no scan completed.
bool scanAndRead(AppContext& ctx, zevsim::InProcessBus& bus);

}  // namespace zev::test
