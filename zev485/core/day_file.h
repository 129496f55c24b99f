// The day file of the trend history, "YYYYMMDD.CDB": an 86400-byte presence
// map (byte s-1 non-zero when second s of the day was recorded), then one
// record per second, record s at 86400 + (s-1) * 3240: 270 zone entries of
// 12 bytes, little-endian: setpoint i16, actual value i16, status word i32,
// output % i16, heater current 0.1 A i16; -10024 where nothing is known.
// The file grows by writes at offsets; never-written seconds stay holes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "bus_constants.h"
#include "wire/block.h"

namespace zev485 {

inline constexpr int kSecondsPerDay = 86400;
inline constexpr std::size_t kPresenceBytes = kSecondsPerDay;
inline constexpr std::size_t kEntryBytes = 12;
inline constexpr std::size_t kRecordBytes = kLogZones * kEntryBytes;

using DayRecord = std::array<unsigned char, kRecordBytes>;

// "YYYYMMDD.CDB"
std::string dayFileName(int year, int month, int day);

// Zone entries in file layout; missing zones (fewer than 270) get -10024.
void encodeRecord(const std::vector<wire::ZoneSample>& zones, DayRecord& out);

class DayFile {
public:
    DayFile() = default;
    ~DayFile();
    DayFile(const DayFile&) = delete;
    DayFile& operator=(const DayFile&) = delete;

    // Creates the file or continues an existing one; false with errno kept.
    bool open(const std::string& path);
    void close();
    bool isOpen() const { return fd_ >= 0; }
    // False when the file was deleted or replaced under us (writes would go nowhere).
    bool stillAtPath() const;
    const std::string& path() const { return path_; }

    // Writes record `second` (1..86400), makes it durable, then marks it
    // present: a reader or a power cut never sees a marked, half-written second.
    bool write(int second, const DayRecord& record);

private:
    int fd_ = -1;
    std::string path_;
};

}  // namespace zev485
