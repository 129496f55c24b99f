// A bus library stand-in that records the calls the station makes and answers
// as the test says. Tests of the link itself use the real library with the
// simulator; this is for start-up and shutdown order without controllers.
#pragma once

#include "link/bus_link.h"

#include <QStringList>

namespace zev::test {

class RecordingBus final : public BusLink {
public:
    QString libraryFileVersion() const override { return version; }
    bool SetMasterPort(int port, int mode, long baud, int timeout, int retry) override {
        calls << QStringLiteral("SetMasterPort %1 %2 %3 %4 %5").arg(port).arg(mode).arg(baud).arg(timeout).arg(retry);
        return portOpens;
    }
    bool ComPortAvailable(int port) override { return availablePorts.contains(port); }
    bool SetSlavePort(int port, int mode, long baud, int timeout, int retry, int first) override {
        calls << QStringLiteral("SetSlavePort %1 %2 %3 %4 %5 %6").arg(port).arg(mode).arg(baud).arg(timeout).arg(retry).arg(first);
        return slaveOpens;
    }
    QByteArray AskRaw(const QByteArray& command, int* status) override {
        calls << QStringLiteral("Ask ") + QString::fromLatin1(command);
        if (status) *status = 1;
        return QByteArray("?");
    }
    void SetOnline(int address, bool on) override { calls << QStringLiteral("SetOnline %1 %2").arg(address).arg(on); }
    void EnableCyclicScan(bool on) override { calls << QStringLiteral("EnableCyclicScan %1").arg(on); }
    void FileLogging(bool on) override { calls << QStringLiteral("FileLogging %1").arg(on); }
    void SetLogFileDir(const QString& dir) override { calls << QStringLiteral("SetLogFileDir ") + dir; }
    void Equalize_Clocktime(std::int32_t s) override { calls << QStringLiteral("Equalize_Clocktime %1").arg(s); }

    int count(const QString& prefix) const {
        return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const QString& c) { return c.startsWith(prefix); }));
    }
    int indexOf(const QString& prefix) const {
        for (int i = 0; i < calls.size(); ++i)
            if (calls[i].startsWith(prefix)) return i;
        return -1;
    }

    QString version = QStringLiteral("2.1.0.40");
    bool portOpens = true;
    bool slaveOpens = true;
    QList<int> availablePorts;
    QStringList calls;
};

}  // namespace zev::test
