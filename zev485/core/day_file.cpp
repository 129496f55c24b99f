#include "day_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zev485 {
namespace {

bool writeAll(int fd, const void* data, std::size_t size, off_t offset) {
    const auto* p = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, p, size, offset);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

}  // namespace

std::string dayFileName(int year, int month, int day) {
    char name[32];
    std::snprintf(name, sizeof name, ZEV485_DAY_FILE_NAME_FORMAT, year, month, day);
    return name;
}

void encodeRecord(const std::vector<wire::ZoneSample>& zones, DayRecord& out) {
    for (std::size_t z = 0; z < static_cast<std::size_t>(dayfile::kZones); ++z) {
        dayfile::ZoneEntry e;  // the no-value marker in every field
        if (z < zones.size()) {
            const wire::ZoneSample& s = zones[z];
            e = {s.setpoint, s.actual, s.status, s.output, s.current};
        }
        dayfile::encodeEntry(e, out.data() + z * dayfile::kEntryBytes);
    }
}

DayFile::~DayFile() { close(); }

bool DayFile::open(const std::string& path) {
    close();
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0)
        return false;
    path_ = path;
    return true;
}

bool DayFile::stillAtPath() const {
    struct stat open {};
    struct stat named {};
    if (fd_ < 0 || ::fstat(fd_, &open) != 0 || ::stat(path_.c_str(), &named) != 0)
        return false;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

void DayFile::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    path_.clear();
}

bool DayFile::write(int second, const DayRecord& record) {
    if (fd_ < 0 || second < 1 || second > kSecondsPerDay)
        return false;
    if (!writeAll(fd_, record.data(), record.size(), static_cast<off_t>(dayfile::recordOffset(second))))
        return false;
    if (::fdatasync(fd_) != 0)
        return false;
    const unsigned char present = 1;
    return writeAll(fd_, &present, 1, static_cast<off_t>(dayfile::presenceOffset(second)));
}

}  // namespace zev485
