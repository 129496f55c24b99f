// The C interface: argument checks and conversions only; the work is Library's.
#include <cstring>

#include "core/library.h"
#include "zev485.h"

using zev485::Library;

namespace {

constexpr std::size_t kAskBuffer = 1024;  // the smallest buffer the station passes in
constexpr std::size_t kAskReplyMax = 255;

}  // namespace

extern "C" {

uint8_t ZEV485_SetMasterPort(uint8_t port, int16_t mode, int32_t baud, int16_t timeout,
                             int16_t retry) {
    return Library::instance().openMasterPort({port, mode, baud, timeout, retry}) ? 1 : 0;
}

uint8_t ZEV485_SetSlavePort(uint8_t port, int16_t mode, int32_t baud, int16_t timeout,
                            int16_t retry, int16_t firstAddress) {
    return Library::instance().openSlavePort({port, mode, baud, timeout, retry}, firstAddress) ? 1
                                                                                                : 0;
}

uint8_t ComPortAvailable(int16_t port) { return Library::instance().comPortAvailable(port) ? 1 : 0; }

void ZEV485_Ask(char* buffer, int16_t* status) {
    int16_t ignored = 0;
    int16_t& out = status ? *status : ignored;
    if (!buffer) {
        out = zev485::kResultBadArgument;
        return;
    }
    const std::size_t length = ::strnlen(buffer, kAskBuffer);
    if (length == kAskBuffer) {  // no NUL: not a command we may read
        out = zev485::kResultBadArgument;
        buffer[0] = '\0';
        return;
    }
    const zev485::AskResult result = Library::instance().ask(std::string_view(buffer, length));
    out = result.status;
    const std::size_t n = std::min(result.reply.size(), kAskReplyMax);
    std::memcpy(buffer, result.reply.data(), n);
    buffer[n] = '\0';
}

int32_t ZEV485_GetVal(uint8_t address, uint8_t channel, uint8_t kind) {
    return Library::instance().value(address, channel, kind);
}

int32_t ZEV485_GetScanCount(void) {
    return static_cast<int32_t>(Library::instance().scansSinceChange());
}

int16_t ZEV485_SetValEx(uint8_t address, uint8_t channel, int16_t parameter, int16_t value) {
    return Library::instance().setZoneValue(address, channel, parameter, value);
}

int16_t ZEV485_SetGlobVal(uint8_t address, const char* name, int32_t value) {
    return Library::instance().setGlobalValue(address, name, value);
}

void ZEV485_SetOnline(uint8_t address, uint8_t flag) {
    Library::instance().setOnline(address, flag != 0);
}

void ZEV485_EnableCyclicScan(uint8_t flag) { Library::instance().enableScan(flag != 0); }

void ZEV485_FileLogging(uint8_t flag) { Library::instance().enableLogging(flag != 0); }

void ZEV485_Set_AnzKan(uint8_t address, uint8_t channels) {
    Library::instance().setChannels(address, channels);
}

void ZEV485_Set_Master(uint8_t address, uint8_t masterAddress) {
    Library::instance().setMaster(address, masterAddress);
}

void ZEV485_GetComStatus(uint8_t address, int32_t* good, int32_t* errors) {
    int32_t g = 0;
    int32_t e = 0;
    Library::instance().readStats(address, g, e);
    if (good)
        *good = g;
    if (errors)
        *errors = e;
}

void ZEV485_ResComStatus(void) { Library::instance().resetStats(); }

void ZEV485_SetLogFileDir(const char* directory) {
    Library::instance().setLogDirectory(directory ? directory : "");
}

void ZEV485_Equalize_Clocktime(int32_t secondsSinceMidnight) {
    Library::instance().equalizeClock(secondsSinceMidnight);
}

}  // extern "C"
