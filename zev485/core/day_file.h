// Writing the day file of the trend history, "YYYYMMDD.CDB", in the layout
// published in zev485_dayfile.h. The file grows by writes at offsets;
// never-written seconds stay holes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "bus_constants.h"
#include "wire/block.h"
#include "zev485_dayfile.h"

namespace zev485 {

inline constexpr int kSecondsPerDay = dayfile::kSeconds;

using DayRecord = std::array<unsigned char, dayfile::kRecordBytes>;

// "YYYYMMDD.CDB"
std::string dayFileName(int year, int month, int day);

// Zone entries in file layout; zones beyond the given ones get the no-value marker.
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
