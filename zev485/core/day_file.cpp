#include "day_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zev485 {
namespace {

void put16(unsigned char* at, std::int16_t v) {
    const auto u = static_cast<std::uint16_t>(v);
    at[0] = static_cast<unsigned char>(u & 0xFF);
    at[1] = static_cast<unsigned char>(u >> 8);
}

void put32(unsigned char* at, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>((u >> (8 * i)) & 0xFF);
}

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
    std::snprintf(name, sizeof name, "%04d%02d%02d.CDB", year, month, day);
    return name;
}

void encodeRecord(const std::vector<wire::ZoneSample>& zones, DayRecord& out) {
    constexpr auto nv = static_cast<std::int16_t>(kNoValue);
    for (std::size_t z = 0; z < kLogZones; ++z) {
        const wire::ZoneSample s = z < zones.size() ? zones[z] : wire::ZoneSample{nv, nv, kNoValue, nv, nv};
        unsigned char* e = out.data() + z * kEntryBytes;
        put16(e + 0, s.setpoint);
        put16(e + 2, s.actual);
        put32(e + 4, s.status);
        put16(e + 8, s.output);
        put16(e + 10, s.current);
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
    const auto index = static_cast<off_t>(second - 1);
    const off_t recordAt = static_cast<off_t>(kPresenceBytes) + index * static_cast<off_t>(kRecordBytes);
    if (!writeAll(fd_, record.data(), record.size(), recordAt))
        return false;
    if (::fdatasync(fd_) != 0)
        return false;
    const unsigned char present = 1;
    return writeAll(fd_, &present, 1, index);
}

}  // namespace zev485
