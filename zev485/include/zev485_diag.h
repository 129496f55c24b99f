// Diagnostic reads of the bus library beyond its C interface: how many cyclic
// scans are done (for tools and benchmarks that wait for fresh values) and why
// the last port failed to open.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "zev485.h"

namespace zev485 {

// Number of complete cyclic scans since the library was loaded.
ZEV485_API std::uint64_t completedScans();

// Waits until completedScans() >= count or the timeout passes; true when reached.
ZEV485_API bool waitForScans(std::uint64_t count, std::chrono::milliseconds timeout);

// Text of the last failure of ZEV485_SetMasterPort or ZEV485_SetSlavePort
// (device path and reason); empty after a successful open.
ZEV485_API std::string lastPortError();

}  // namespace zev485
