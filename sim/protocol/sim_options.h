// Command line of the zevsim program.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "plant/plant.h"

namespace zevsim {

struct SimOptions {
    std::string portLink = "ports/COM1";
    long baud = 19200;
    double speed = 1.0;
    std::vector<ControllerConfig> controllers;
    std::string scenarioFile;
    std::string controlPath;
    std::optional<double> noise;
    bool verbose = false;
    bool help = false;
};

struct OptionsParse {
    SimOptions options;
    std::string error;  // empty when the command line is good
};

OptionsParse parseSimOptions(const std::vector<std::string>& args);

const char* simUsage();

}  // namespace zevsim
