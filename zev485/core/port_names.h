// COM port numbers of the station mapped onto Linux devices: COM n is the link
// "COMn" in the directory named by ZEV485_PORTS when that link exists, else
// /dev/ttyS(n-1).
#pragma once

#include <string>

namespace zev485 {

inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 18;

// Device path of COM port n (1..18); empty for other numbers.
std::string comPortDevice(int port);

// True when the device can be opened now and nobody holds its lock.
bool comPortFree(int port);

}  // namespace zev485
