#include "file_logger.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace zev485 {
namespace {

struct DaySecond {
    int year, month, day, second;
};

DaySecond daySecond(std::chrono::system_clock::time_point when) {
    std::time_t t = std::chrono::system_clock::to_time_t(
        std::chrono::floor<std::chrono::seconds>(when));
    std::tm local {};
    ::localtime_r(&t, &local);
    int second = local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    if (second == 0) {
        --t;
        ::localtime_r(&t, &local);
        second = kSecondsPerDay;
    }
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, second};
}

}  // namespace

FileLogger::FileLogger(Source source) : source_(std::move(source)) {}

FileLogger::~FileLogger() { stop(); }

void FileLogger::setDirectory(const std::string& directory) {
    std::string dir = directory;
    while (dir.size() > 1 && (dir.back() == '/' || dir.back() == '\\'))
        dir.pop_back();
    {
        std::lock_guard lock(mutex_);
        if (dir == directory_)
            return;
        directory_ = dir;
        file_.close();
        failing_ = false;
    }
    changed_.notify_all();
}

void FileLogger::setEnabled(bool on) {
    {
        std::lock_guard lock(mutex_);
        if (enabled_ == on)
            return;
        enabled_ = on;
        if (!on)
            file_.close();
    }
    changed_.notify_all();
}

void FileLogger::start() {
    std::lock_guard lock(mutex_);
    if (thread_.joinable())
        return;
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

void FileLogger::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable())
        thread_.join();
}

bool FileLogger::failing() const {
    std::lock_guard lock(mutex_);
    return failing_;
}

bool FileLogger::tick(std::chrono::system_clock::time_point when) {
    std::lock_guard lock(mutex_);
    if (!active())
        return false;
    const DaySecond ds = daySecond(when);
    const std::string path = directory_ + "/" + dayFileName(ds.year, ds.month, ds.day);

    bool ok = true;
    // A directory removed and made again must get a new file, not the orphan.
    if (file_.path() != path || !file_.stillAtPath())
        ok = file_.open(path);
    if (ok) {
        source_(samples_);
        encodeRecord(samples_, record_);
        ok = file_.write(ds.second, record_);
    }
    if (!ok) {
        if (!failing_)
            std::fprintf(stderr, "zev485: day file %s not written (%s); logging paused\n",
                         path.c_str(), std::strerror(errno));
        file_.close();
        failing_ = true;
        return false;
    }
    if (failing_)
        std::fprintf(stderr, "zev485: day file %s written again; logging resumed\n", path.c_str());
    failing_ = false;
    return true;
}

void FileLogger::run() {
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        changed_.wait(lock, [&] { return stopping_ || active(); });
        if (stopping_)
            return;
        lock.unlock();
        const auto now = std::chrono::system_clock::now();
        tick(now);
        const auto next = std::chrono::ceil<std::chrono::seconds>(now + std::chrono::milliseconds(1));
        lock.lock();
        // Woken early by a change of directory or switch: record at once.
        bool wasActive = active();
        std::string dir = directory_;
        changed_.wait_until(lock, next, [&] {
            return stopping_ || active() != wasActive || directory_ != dir;
        });
    }
}

}  // namespace zev485
