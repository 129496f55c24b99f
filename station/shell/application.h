// The program: builds the context and its seams, runs `Main` (scroll bars, main
// window, start-up) and the event loop, and leaves through the exit path.
#pragma once

#include "shell/command_line.h"

namespace zev {

// The machine-wide directory of the language choice and the password store.
QString systemDirectory();

// Runs the station; returns the process exit status.
int runStation(const CommandLine& commandLine);

}  // namespace zev
