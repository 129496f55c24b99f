// What the slave port answers another master, out of the cache: our
// controllers appear at the addresses firstAddress, firstAddress+1, ... in the
// order of our own addresses 1, 2, ...
//
// Answered: block read "?BLK", zone values W X S Y I, "?KAN" (channels) and
// "?ENA" (outputs on) - each only for a controller that is online and has
// valid values (otherwise it stays silent, as the controller would).
// Refused with NAK: every write and every other read (parameters, global
// values): the station alone changes the controllers.
#pragma once

#include <optional>
#include <string>

#include "controller_table.h"
#include "wire/command.h"
#include "value_cache.h"

namespace zev485 {

// The reply body for a request to wire address `cmd.address`; nullopt: stay silent.
std::optional<std::string> slaveReplyBody(const wire::Command& cmd, int firstAddress,
                                          const ValueCache& cache, const ControllerTable& table);

}  // namespace zev485
