// What a simulated controller does with one decoded command, and the body of
// its reply: "Gaa=" value, "Gaa" ACK or "Gaa" NAK.
#pragma once

#include <optional>
#include <string>

#include "plant/plant.h"
#include "wire/command.h"

namespace zevsim {

// The reply body of controller cmd.address; nullopt when no controller is there.
std::optional<std::string> executeCommand(Plant& plant, const zev485::wire::Command& cmd);

// A command to address 00: every controller that listens carries out a write;
// nobody answers.
void executeBroadcast(Plant& plant, const zev485::wire::Command& cmd);

}  // namespace zevsim
