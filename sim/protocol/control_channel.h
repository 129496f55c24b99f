// The simulator's live control FIFO: every line written into it is a scenario
// command without "at", applied to the plant at once. Made when missing and
// removed at the end when we made it.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include "plant/plant.h"

namespace zevsim {

class ControlChannel {
public:
    using Report = std::function<void(const std::string&)>;

    ControlChannel(Plant& plant, std::string path, Report report);
    ~ControlChannel();
    ControlChannel(const ControlChannel&) = delete;
    ControlChannel& operator=(const ControlChannel&) = delete;

    void start();  // throws std::runtime_error
    void stop();

    // Applies one line; returns the warnings as text (empty when it worked).
    std::string apply(const std::string& line);

private:
    void run();

    Plant& plant_;
    std::string path_;
    Report report_;
    bool created_ = false;
    int fd_ = -1;
    int wake_ = -1;
    int lineNumber_ = 0;
    std::thread thread_;
};

}  // namespace zevsim
