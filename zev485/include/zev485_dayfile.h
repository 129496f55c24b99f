/* zev485: layout of the day files "YYYYMMDD.CDB" that the library writes into
 * the log directory (ZEV485_SetLogFileDir) while file logging is on. Readers
 * of the trend history take the same definitions as the writer.
 *
 *   offset 0:                 presence map, one byte per second of the day;
 *                             byte s-1 is non-zero when second s was recorded
 *   offset 86400 + (s-1)*3240: record of second s (1..86400), 270 zone entries
 *                             of 12 bytes, zone z at (z-1)*12 in the record
 *   zone entry (little-endian): setpoint i16, actual value i16, status word
 *                             i32, output % i16, heater current 0.1 A i16
 *
 * Second s counts from local midnight; 00:00:00 is second 86400 of the day
 * before. ZEV485_NOVALUE (-10024, 16-bit pattern D8 D8) fills every field of
 * a zone without valid values. Never-written seconds are holes: the presence
 * byte decides, never the record's bytes. A record is durable before its
 * presence byte is set, so a reader never sees a present, half-written second. */
#ifndef ZEV485_DAYFILE_H
#define ZEV485_DAYFILE_H

#include <stdint.h>

#include "zev485.h"

#define ZEV485_DAY_SECONDS 86400            /* slots of one day file, seconds 1..86400 */
#define ZEV485_DAY_PRESENCE_OFFSET 0
#define ZEV485_DAY_PRESENCE_BYTES ZEV485_DAY_SECONDS
#define ZEV485_DAY_RECORDS_OFFSET (ZEV485_DAY_PRESENCE_OFFSET + ZEV485_DAY_PRESENCE_BYTES)
#define ZEV485_DAY_ZONES 270                /* zone entries per record */
#define ZEV485_DAY_ENTRY_BYTES 12
#define ZEV485_DAY_RECORD_BYTES (ZEV485_DAY_ZONES * ZEV485_DAY_ENTRY_BYTES)
/* Size once the last second of the day is written. */
#define ZEV485_DAY_FILE_BYTES \
    ((int64_t)ZEV485_DAY_RECORDS_OFFSET + (int64_t)ZEV485_DAY_SECONDS * ZEV485_DAY_RECORD_BYTES)

/* Field offsets inside a zone entry. */
#define ZEV485_DAY_SETPOINT_AT 0 /* i16 */
#define ZEV485_DAY_ACTUAL_AT 2   /* i16 */
#define ZEV485_DAY_STATUS_AT 4   /* i32 */
#define ZEV485_DAY_OUTPUT_AT 8   /* i16 */
#define ZEV485_DAY_CURRENT_AT 10 /* i16 */

/* printf format of the file name from year, month, day (local date). */
#define ZEV485_DAY_FILE_NAME_FORMAT "%04d%02d%02d.CDB"

/* Offsets and entry coding for C++ readers and the writer. */
#ifdef __cplusplus
#include <cstddef>
#include <cstdint>

namespace zev485::dayfile {

inline constexpr int kSeconds = ZEV485_DAY_SECONDS;
inline constexpr int kZones = ZEV485_DAY_ZONES;
inline constexpr std::size_t kPresenceBytes = ZEV485_DAY_PRESENCE_BYTES;
inline constexpr std::size_t kEntryBytes = ZEV485_DAY_ENTRY_BYTES;
inline constexpr std::size_t kRecordBytes = ZEV485_DAY_RECORD_BYTES;
inline constexpr std::int64_t kFileBytes = ZEV485_DAY_FILE_BYTES;
inline constexpr std::int16_t kNoValue16 = static_cast<std::int16_t>(ZEV485_NOVALUE);

// Byte offset of second s's presence byte (s = 1..86400).
constexpr std::int64_t presenceOffset(int second) {
    return ZEV485_DAY_PRESENCE_OFFSET + static_cast<std::int64_t>(second - 1);
}

// Byte offset of second s's record (s = 1..86400).
constexpr std::int64_t recordOffset(int second) {
    return ZEV485_DAY_RECORDS_OFFSET + static_cast<std::int64_t>(second - 1) * ZEV485_DAY_RECORD_BYTES;
}

// Byte offset of zone z's entry (z = 1..270) in second s's record, from the file start.
constexpr std::int64_t entryOffset(int second, int zone) {
    return recordOffset(second) + static_cast<std::int64_t>(zone - 1) * ZEV485_DAY_ENTRY_BYTES;
}

// One zone entry as numbers.
struct ZoneEntry {
    std::int16_t setpoint = kNoValue16;
    std::int16_t actual = kNoValue16;
    std::int32_t status = ZEV485_NOVALUE;
    std::int16_t output = kNoValue16;
    std::int16_t current = kNoValue16;
    bool operator==(const ZoneEntry&) const = default;
};

namespace detail {
inline void put(unsigned char* at, std::uint32_t u, int bytes) {
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<unsigned char>((u >> (8 * i)) & 0xFFu);
}
inline std::uint32_t get(const unsigned char* at, int bytes) {
    std::uint32_t u = 0;
    for (int i = bytes - 1; i >= 0; --i)
        u = (u << 8) | at[i];
    return u;
}
}  // namespace detail

// Writes the 12 bytes of one entry at `at`.
inline void encodeEntry(const ZoneEntry& e, unsigned char* at) {
    detail::put(at + ZEV485_DAY_SETPOINT_AT, static_cast<std::uint16_t>(e.setpoint), 2);
    detail::put(at + ZEV485_DAY_ACTUAL_AT, static_cast<std::uint16_t>(e.actual), 2);
    detail::put(at + ZEV485_DAY_STATUS_AT, static_cast<std::uint32_t>(e.status), 4);
    detail::put(at + ZEV485_DAY_OUTPUT_AT, static_cast<std::uint16_t>(e.output), 2);
    detail::put(at + ZEV485_DAY_CURRENT_AT, static_cast<std::uint16_t>(e.current), 2);
}

// Reads the 12 bytes of one entry at `at`.
inline ZoneEntry decodeEntry(const unsigned char* at) {
    ZoneEntry e;
    e.setpoint = static_cast<std::int16_t>(detail::get(at + ZEV485_DAY_SETPOINT_AT, 2));
    e.actual = static_cast<std::int16_t>(detail::get(at + ZEV485_DAY_ACTUAL_AT, 2));
    e.status = static_cast<std::int32_t>(detail::get(at + ZEV485_DAY_STATUS_AT, 4));
    e.output = static_cast<std::int16_t>(detail::get(at + ZEV485_DAY_OUTPUT_AT, 2));
    e.current = static_cast<std::int16_t>(detail::get(at + ZEV485_DAY_CURRENT_AT, 2));
    return e;
}

}  // namespace zev485::dayfile
#endif

#endif /* ZEV485_DAYFILE_H */
