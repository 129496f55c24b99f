// The one module through which the station calls the bus library. Views and
// other subsystems never call the library directly.
#pragma once

#include <zev485.h>

#include <QString>
#include <cstdint>

namespace zev {

class BusLink {
public:
    virtual ~BusLink() = default;

    // Version "a.b.c.d" read from the library file the program loaded; empty
    // when the file carries none.
    virtual QString libraryFileVersion() const;

    virtual bool SetMasterPort(int port, int mode, long baud, int timeout, int retry);
    virtual bool SetSlavePort(int port, int mode, long baud, int timeout, int retry, int firstAddress);
    virtual bool ComPortAvailable(int port);
    // Sends a text command; returns the raw reply up to its NUL; *status 0 = answered.
    virtual QByteArray AskRaw(const QByteArray& command, int* status);
    virtual std::int32_t GetVal(int address, int channel, int kind);
    virtual ZEV485_Result SetValEx(int address, int channel, int parameter, int value);
    virtual ZEV485_Result SetGlobVal(int address, const QByteArray& name, std::int32_t value);
    virtual void SetOnline(int address, bool on);
    virtual void EnableCyclicScan(bool on);
    virtual void FileLogging(bool on);
    virtual void Set_AnzKan(int address, int channels);
    virtual void Set_Master(int address, int master);
    virtual void GetComStatus(int address, std::int32_t* good, std::int32_t* errors);
    virtual void ResComStatus();
    virtual void SetLogFileDir(const QString& directory);
    virtual void Equalize_Clocktime(std::int32_t secondsSinceMidnight);

    // `Ask`: the value between "=" and the check characters, the ACK or NAK
    // character, or "?" when there is no valid answer.
    QString Ask(const QString& command);
    // `DirectAsk`: the raw reply up to its NUL ("?" on failure).
    QString DirectAsk(const QString& command);

    // Reply parsing shared by Ask and the maintenance command line.
    static QString valueOfReply(const QByteArray& reply, int status);
};

// Compares two versions "a.b.c.d" number by number (missing parts count 0).
// Negative, 0 or positive like a comparison.
int compareVersions(const QString& a, const QString& b);

}  // namespace zev
