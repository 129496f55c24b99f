// The library's version. The station reads it from the library file without
// loading it, by searching the file for the marker below.
#include <cstring>

#include "zev485.h"

namespace {

#define ZEV485_VERSION_TEXT "2.1.0.40"

__attribute__((used)) const char kFileVersionMarker[] = "ZEV485_FILEVERSION=" ZEV485_VERSION_TEXT;

}  // namespace

extern "C" void ZEV485_Get_Version(char* buffer, int16_t size) {
    if (!buffer || size <= 0)
        return;
    const char* version = kFileVersionMarker + std::strlen("ZEV485_FILEVERSION=");
    std::strncpy(buffer, version, static_cast<std::size_t>(size) - 1);
    buffer[size - 1] = '\0';
}
