#include "link/bus_link.h"

#include "base/profile_codepage.h"

#include <zev485.h>

#include <QFile>
#include <QStringList>
#include <dlfcn.h>

namespace zev {

namespace {
constexpr int kAskBuffer = 1024;
constexpr char kVersionMarker[] = "ZEV485_FILEVERSION=";

QByteArray ansi(const QString& s) { return profile::toWindows1252(s); }

// A number outside the documented results would be a library fault: it counts
// as a damaged exchange, never as accepted.
ZEV485_Result asResult(int16_t r) {
    return r >= ZEV485_OK && r <= ZEV485_BAD_ARGUMENT ? static_cast<ZEV485_Result>(r) : ZEV485_DAMAGED;
}
}  // namespace

QString BusLink::libraryFileVersion() const {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&ZEV485_Ask), &info) == 0 || !info.dli_fname) return {};
    QFile f(QString::fromLocal8Bit(info.dli_fname));
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = f.readAll();
    const qsizetype at = bytes.indexOf(kVersionMarker);
    if (at < 0) return {};
    const qsizetype start = at + static_cast<qsizetype>(sizeof kVersionMarker) - 1;
    qsizetype end = start;
    while (end < bytes.size() && end - start < 32 &&
           (std::isdigit(static_cast<unsigned char>(bytes[end])) || bytes[end] == '.'))
        ++end;
    const QString version = QString::fromLatin1(bytes.mid(start, end - start));
    return version.count(QLatin1Char('.')) == 3 ? version : QString();
}

bool BusLink::SetMasterPort(int port, int mode, long baud, int timeout, int retry) {
    return ZEV485_SetMasterPort(static_cast<uint8_t>(port), static_cast<int16_t>(mode),
                                static_cast<int32_t>(baud), static_cast<int16_t>(timeout),
                                static_cast<int16_t>(retry)) == 1;
}

bool BusLink::SetSlavePort(int port, int mode, long baud, int timeout, int retry, int firstAddress) {
    return ZEV485_SetSlavePort(static_cast<uint8_t>(port), static_cast<int16_t>(mode),
                               static_cast<int32_t>(baud), static_cast<int16_t>(timeout),
                               static_cast<int16_t>(retry), static_cast<int16_t>(firstAddress)) != 0;
}

bool BusLink::ComPortAvailable(int port) { return ::ComPortAvailable(static_cast<int16_t>(port)) != 0; }

QByteArray BusLink::AskRaw(const QByteArray& command, int* status) {
    char buffer[kAskBuffer] = {};
    const qsizetype n = std::min<qsizetype>(command.size(), kAskBuffer - 1);
    std::memcpy(buffer, command.constData(), static_cast<size_t>(n));
    int16_t st = 1;
    ZEV485_Ask(buffer, &st);
    buffer[kAskBuffer - 1] = '\0';
    if (status) *status = st;
    return QByteArray(buffer);
}

std::int32_t BusLink::GetVal(int address, int channel, int kind) {
    return ZEV485_GetVal(static_cast<uint8_t>(address), static_cast<uint8_t>(channel),
                         static_cast<uint8_t>(kind));
}

ZEV485_Result BusLink::SetValEx(int address, int channel, int parameter, int value) {
    return asResult(ZEV485_SetValEx(static_cast<uint8_t>(address), static_cast<uint8_t>(channel),
                           static_cast<int16_t>(parameter), static_cast<int16_t>(value)));
}

ZEV485_Result BusLink::SetGlobVal(int address, const QByteArray& name, std::int32_t value) {
    return asResult(ZEV485_SetGlobVal(static_cast<uint8_t>(address), name.constData(), value));
}

void BusLink::SetOnline(int address, bool on) {
    ZEV485_SetOnline(static_cast<uint8_t>(address), on ? 1 : 0);
}
void BusLink::EnableCyclicScan(bool on) { ZEV485_EnableCyclicScan(on ? 1 : 0); }
void BusLink::FileLogging(bool on) { ZEV485_FileLogging(on ? 1 : 0); }
void BusLink::Set_AnzKan(int address, int channels) {
    ZEV485_Set_AnzKan(static_cast<uint8_t>(address), static_cast<uint8_t>(channels));
}
void BusLink::Set_Master(int address, int master) {
    ZEV485_Set_Master(static_cast<uint8_t>(address), static_cast<uint8_t>(master));
}
void BusLink::GetComStatus(int address, std::int32_t* good, std::int32_t* errors) {
    ZEV485_GetComStatus(static_cast<uint8_t>(address), good, errors);
}
void BusLink::ResComStatus() { ZEV485_ResComStatus(); }
void BusLink::SetLogFileDir(const QString& directory) {
    ZEV485_SetLogFileDir(QFile::encodeName(directory).constData());
}
void BusLink::Equalize_Clocktime(std::int32_t seconds) { ZEV485_Equalize_Clocktime(seconds); }

QString BusLink::valueOfReply(const QByteArray& reply, int status) {
    if (status != 0 || reply.size() < 4) return QStringLiteral("?");
    const char fourth = reply[3];
    if (fourth == '=') {
        const qsizetype etx = reply.indexOf('\x03');
        if (etx < 0 || etx - 2 < 4) return QStringLiteral("?");
        return QString::fromLatin1(reply.mid(4, etx - 2 - 4));
    }
    if (fourth == '\x06' || fourth == '\x15') return QString(QLatin1Char(fourth));
    return QStringLiteral("?");
}

QString BusLink::Ask(const QString& command) {
    int status = 1;
    const QByteArray reply = AskRaw(ansi(command), &status);
    return valueOfReply(reply, status);
}

QString BusLink::DirectAsk(const QString& command) {
    int status = 1;
    const QByteArray reply = AskRaw(ansi(command), &status);
    return status == 0 ? QString::fromLatin1(reply) : QStringLiteral("?");
}

int compareVersions(const QString& a, const QString& b) {
    const QStringList pa = a.split(QLatin1Char('.'));
    const QStringList pb = b.split(QLatin1Char('.'));
    for (qsizetype i = 0; i < std::max(pa.size(), pb.size()); ++i) {
        const qlonglong x = i < pa.size() ? pa[i].toLongLong() : 0;
        const qlonglong y = i < pb.size() ? pb[i].toLongLong() : 0;
        if (x != y) return x < y ? -1 : 1;
    }
    return 0;
}

}  // namespace zev
