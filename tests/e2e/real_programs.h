// What every run of the real programs needs: a program directory with the
// port links' folder and the shipped driver files, and the environment that
// points both programs at it.
#pragma once

#include "temp_home.h"

#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QString>

namespace zev::test {

inline const QString kBin = QStringLiteral(ZEV_BIN_DIR);

inline void prepareRealHome(TempHome& home) {
    QDir().mkpath(home.file(QStringLiteral("ports")));
    QDir().mkpath(home.file(QStringLiteral("DRIVER")));
    const QDir drivers(QStringLiteral(ZEV_SOURCE_DIR "/data/DRIVER"));
    for (const QString& f : drivers.entryList({QStringLiteral("*.DRV")}, QDir::Files))
        QFile::copy(drivers.filePath(f), home.file(QStringLiteral("DRIVER/") + f));
}

inline QProcessEnvironment realProgramsEnv(TempHome& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("ZEVCONTROL_SYSDIR"), home.file(QStringLiteral("system")));
    env.insert(QStringLiteral("ZEV485_PORTS"), home.file(QStringLiteral("ports")));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return env;
}

}  // namespace zev::test
