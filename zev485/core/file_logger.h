// Writes one record per second into the day file of the log directory while
// file logging is on. A write that fails (full disk, directory gone) closes
// the file and is reported once; every later second tries again, so logging
// resumes by itself. It runs on its own thread and never holds up the scan.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "day_file.h"

namespace zev485 {

class FileLogger {
public:
    using Source = std::function<void(std::vector<wire::ZoneSample>&)>;

    explicit FileLogger(Source source);
    ~FileLogger();
    FileLogger(const FileLogger&) = delete;
    FileLogger& operator=(const FileLogger&) = delete;

    // "dir" or "dir/"; empty stops writing.
    void setDirectory(const std::string& directory);
    void setEnabled(bool on);

    // Starts the thread that calls tick() at every full second.
    void start();
    void stop();

    // Records the second that contains `when` (local time). The second 00:00:00
    // closes the day before: it is that day's second 86400. True when written.
    bool tick(std::chrono::system_clock::time_point when);
    bool failing() const;

private:
    void run();
    bool active() const { return enabled_ && !directory_.empty(); }

    Source source_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::string directory_;
    bool enabled_ = false;
    bool stopping_ = false;
    bool failing_ = false;
    DayFile file_;
    DayRecord record_{};
    std::vector<wire::ZoneSample> samples_;
    std::thread thread_;
};

}  // namespace zev485
