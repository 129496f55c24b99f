// Day files: the published layout against its documented numbers, exact bytes
// of known records, the midnight second, failures of the disk or directory and
// the recovery from them, and a file written by the library itself while it
// scans the in-process simulator.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <fstream>
#include <iterator>
#include <vector>

#include "bus_fixture.h"
#include "core/day_file.h"
#include "core/file_logger.h"
#include "protocol/in_process_bus.h"
#include "zev485.h"
#include "zev485_dayfile.h"

namespace fs = std::filesystem;
using zev485::wire::ZoneSample;

namespace {

constexpr std::size_t kRecordAt = 86400;
constexpr std::size_t kRecordSize = 3240;

// Bytes of a file at an offset (day files are large and mostly holes: never read them whole).
std::string readAt(const fs::path& path, std::size_t offset, std::size_t size) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::string data(size, '\0');
    in.read(data.data(), static_cast<std::streamsize>(size));
    data.resize(static_cast<std::size_t>(in.gcount()));
    return data;
}

int presence(const fs::path& path, int second) {
    const std::string b = readAt(path, static_cast<std::size_t>(second - 1), 1);
    return b.empty() ? -1 : static_cast<unsigned char>(b[0]);
}

// Little-endian signed number of `bytes` bytes.
int32_t le(const std::string& data, std::size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(data[at + static_cast<std::size_t>(i)]);
    return bytes == 2 ? static_cast<int16_t>(v) : static_cast<int32_t>(v);
}

std::size_t entryOffset(int s, int z) {
    return kRecordAt + static_cast<std::size_t>(s - 1) * kRecordSize + static_cast<std::size_t>(z - 1) * 12;
}

// The zone entry z (1-based) of record s (1-based).
ZoneSample entry(const fs::path& path, int s, int z) {
    const std::string e = readAt(path, entryOffset(s, z), 12);
    if (e.size() != 12)
        return {};
    return {static_cast<int16_t>(le(e, 0, 2)), static_cast<int16_t>(le(e, 2, 2)), le(e, 4, 4),
            static_cast<int16_t>(le(e, 8, 2)), static_cast<int16_t>(le(e, 10, 2))};
}

std::chrono::system_clock::time_point localTime(int y, int mo, int d, int h, int mi, int s) {
    std::tm tm {};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    tm.tm_isdst = -1;
    return std::chrono::system_clock::from_time_t(std::mktime(&tm)) + std::chrono::milliseconds(400);
}

const ZoneSample kNoValue{-10024, -10024, -10024, -10024, -10024};

std::vector<ZoneSample> twoZones() { return {{250, 248, 0x41, 35, 27}, {-5, 300, 0x400000, 100, 0}}; }

}  // namespace

// The numbers a reader of the history relies on, written out as documented (not
// derived from each other), and the entry coding against literal bytes.
TEST(DayFileLayout, PublishedDefinitionsAreTheDocumentedLayout) {
    namespace df = zev485::dayfile;
    EXPECT_EQ(ZEV485_DAY_SECONDS, 86400);
    EXPECT_EQ(ZEV485_DAY_PRESENCE_OFFSET, 0);
    EXPECT_EQ(ZEV485_DAY_PRESENCE_BYTES, 86400);
    EXPECT_EQ(ZEV485_DAY_RECORDS_OFFSET, 86400);
    EXPECT_EQ(ZEV485_DAY_ZONES, 270);
    EXPECT_EQ(ZEV485_DAY_ENTRY_BYTES, 12);
    EXPECT_EQ(ZEV485_DAY_RECORD_BYTES, 3240);
    EXPECT_EQ(ZEV485_DAY_FILE_BYTES, 280022400);  // 86400 x 3241
    EXPECT_EQ(ZEV485_NOVALUE, -10024);
    const int fieldsAt[] = {ZEV485_DAY_SETPOINT_AT, ZEV485_DAY_ACTUAL_AT, ZEV485_DAY_STATUS_AT,
                            ZEV485_DAY_OUTPUT_AT, ZEV485_DAY_CURRENT_AT};
    EXPECT_EQ(std::vector<int>(std::begin(fieldsAt), std::end(fieldsAt)), (std::vector<int>{0, 2, 4, 8, 10}));

    struct Case { int64_t got, want; const char* what; };
    for (const Case& c : {Case{df::presenceOffset(1), 0, "presence 1"},
                          Case{df::presenceOffset(86400), 86399, "presence 86400"},
                          Case{df::recordOffset(1), 86400, "record 1"},
                          Case{df::recordOffset(2), 89640, "record 2"},
                          Case{df::recordOffset(86400), 280019160, "record 86400"},
                          Case{df::entryOffset(1, 2), 86412, "second 1 zone 2"},
                          Case{df::entryOffset(3, 270), 96108, "second 3 zone 270"}})
        EXPECT_EQ(c.got, c.want) << c.what;

    struct Coded { std::string bytes; df::ZoneEntry entry; };
    for (const Coded& c : {
             Coded{std::string("\xFA\x00\xF8\x00\x41\x00\x00\x00\x23\x00\x1B\x00", 12), {250, 248, 0x41, 35, 27}},
             Coded{std::string("\xFB\xFF\x2C\x01\x01\x00\x00\x80\x9C\xFF\xFF\x7F", 12),
                   {-5, 300, INT32_MIN + 1, -100, 32767}},
             // A default entry is "no value" in every field, the status as D8 D8 FF FF.
             Coded{std::string("\xD8\xD8\xD8\xD8\xD8\xD8\xFF\xFF\xD8\xD8\xD8\xD8", 12), df::ZoneEntry{}}}) {
        const auto* raw = reinterpret_cast<const unsigned char*>(c.bytes.data());
        EXPECT_EQ(df::decodeEntry(raw), c.entry) << c.entry.setpoint;
        unsigned char out[12] = {};
        df::encodeEntry(c.entry, out);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(out), 12), c.bytes) << c.entry.setpoint;
    }
}

TEST(DayFile, RecordsLandAtTheirOffsetsLittleEndianAndAReopenedFileContinues) {
    zevtest::TempDir dir;
    const fs::path path = dir.path() / "20240305.CDB";
    zev485::DayRecord record{};
    zev485::encodeRecord(twoZones(), record);
    {
        zev485::DayFile file;
        ASSERT_TRUE(file.open(path));
        ASSERT_TRUE(file.write(1, record));
        ASSERT_TRUE(file.write(3600, record));
    }
    zev485::DayFile again;
    ASSERT_TRUE(again.open(path));
    ASSERT_TRUE(again.write(5, record));
    EXPECT_FALSE(again.write(0, record));  // seconds count from 1 to 86400
    EXPECT_FALSE(again.write(86401, record));
    again.close();

    ASSERT_EQ(fs::file_size(path), kRecordAt + 3600 * kRecordSize);
    for (const auto& [second, present] : {std::pair{1, 1}, {2, 0}, {5, 1}, {3600, 1}})
        EXPECT_EQ(presence(path, second), present) << second;
    // Zone 1 of second 1: 250 = FA 00, 248 = F8 00, 0x41 = 41 00 00 00, 35 = 23 00, 27 = 1B 00.
    EXPECT_EQ(readAt(path, kRecordAt, 12),
              std::string("\xFA\x00\xF8\x00\x41\x00\x00\x00\x23\x00\x1B\x00", 12));
    EXPECT_EQ(entry(path, 3600, 2), (ZoneSample{-5, 300, 0x400000, 100, 0}));
    // Zones the record does not carry are -10024, the 32-bit status as D8 D8 FF FF.
    EXPECT_EQ(entry(path, 1, 270), kNoValue);
    EXPECT_EQ(readAt(path, entryOffset(1, 270), 12),
              std::string("\xD8\xD8\xD8\xD8\xD8\xD8\xFF\xFF\xD8\xD8\xD8\xD8", 12));
    // Second 2 was never written: absent, and its record a hole of zeros.
    EXPECT_EQ(entry(path, 2, 1), (ZoneSample{0, 0, 0, 0, 0}));
}

class Logger : public ::testing::Test {
protected:
    zevtest::TempDir dir;
    std::vector<ZoneSample> samples = twoZones();
    zev485::FileLogger logger{[this](std::vector<ZoneSample>& out) { out = samples; }};

    void SetUp() override {
        logger.setDirectory(dir.path().string() + "/");
        logger.setEnabled(true);
    }
};

// The second 00:00:00 is the day before's second 86400: its file gets the full size.
TEST_F(Logger, WritesTheSecondOfTheLocalTimeAndMidnightClosesTheDayBefore) {
    ASSERT_TRUE(logger.tick(localTime(2024, 3, 4, 23, 59, 59)));
    ASSERT_TRUE(logger.tick(localTime(2024, 3, 5, 0, 0, 0)));
    ASSERT_TRUE(logger.tick(localTime(2024, 3, 5, 0, 0, 1)));
    const fs::path before = dir.path() / "20240304.CDB";
    EXPECT_EQ(fs::file_size(before), 86400u * 3241u);
    EXPECT_EQ(presence(before, 86399), 1);
    EXPECT_EQ(presence(before, 86400), 1);
    EXPECT_EQ(entry(before, 86400, 2), twoZones()[1]);
    const fs::path after = dir.path() / "20240305.CDB";
    EXPECT_EQ(presence(after, 1), 1);
    EXPECT_EQ(fs::file_size(after), kRecordAt + kRecordSize);

    ASSERT_TRUE(logger.tick(localTime(2024, 3, 5, 10, 0, 1)));
    const int s = 10 * 3600 + 1;
    EXPECT_EQ(fs::file_size(after), kRecordAt + static_cast<std::size_t>(s) * kRecordSize);
    EXPECT_EQ(presence(after, s), 1);
    EXPECT_EQ(presence(after, s - 1), 0);
    EXPECT_EQ(entry(after, s, 1), twoZones()[0]);
}

TEST_F(Logger, NothingWithoutDirectoryOrWhenDisabled) {
    logger.setEnabled(false);
    EXPECT_FALSE(logger.tick(localTime(2024, 3, 5, 1, 0, 0)));
    logger.setEnabled(true);
    logger.setDirectory("");
    EXPECT_FALSE(logger.tick(localTime(2024, 3, 5, 1, 0, 0)));
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST_F(Logger, VanishedDirectoryPausesAndReturningDirectoryResumes) {
    ASSERT_TRUE(logger.tick(localTime(2024, 3, 5, 1, 0, 0)));
    fs::remove_all(dir.path());
    EXPECT_FALSE(logger.tick(localTime(2024, 3, 5, 1, 0, 1)));
    EXPECT_TRUE(logger.failing());
    EXPECT_FALSE(logger.tick(localTime(2024, 3, 5, 1, 0, 2)));
    fs::create_directories(dir.path());
    EXPECT_TRUE(logger.tick(localTime(2024, 3, 5, 1, 0, 3)));
    EXPECT_FALSE(logger.failing());
    const fs::path path = dir.path() / "20240305.CDB";
    EXPECT_EQ(presence(path, 3603), 1);
    EXPECT_EQ(presence(path, 3602), 0);
}

TEST_F(Logger, FullDiskPausesAndFreeSpaceResumes) {
    // A day file that refuses every byte as a full disk does.
    fs::create_symlink("/dev/full", dir.path() / "20240305.CDB");
    EXPECT_FALSE(logger.tick(localTime(2024, 3, 5, 2, 0, 0)));
    EXPECT_TRUE(logger.failing());
    fs::remove(dir.path() / "20240305.CDB");
    EXPECT_TRUE(logger.tick(localTime(2024, 3, 5, 2, 0, 1)));
    EXPECT_EQ(presence(dir.path() / "20240305.CDB", 7201), 1);
}

// Logging on until the library has written its first record; the file and the
// last second recorded, or 0 when none was.
std::pair<fs::path, int> logFirstRecord(const fs::path& dir, const std::string& dirArgument) {
    ZEV485_SetLogFileDir(dirArgument.c_str());
    ZEV485_FileLogging(1);  // the first record is written at once
    zevtest::eventually([&] { return !fs::is_empty(dir); });
    ZEV485_FileLogging(0);
    if (fs::is_empty(dir))
        return {{}, 0};
    const fs::path path = fs::directory_iterator(dir)->path();
    const std::string map = readAt(path, 0, 86400);
    int s = 0;
    for (std::size_t i = 0; i < map.size(); ++i)
        if (map[i] != 0)
            s = static_cast<int>(i) + 1;
    return {path, s};
}

TEST(LibraryDayFile, ScannedValuesAreRecordedInZoneOrder) {
    zevsim::InProcessBus bus(zevtest::demoLine());
    bus.plant().setNoise(0.0);
    ASSERT_TRUE(bus.plant().setSetpoint(2, 1, 210));
    ASSERT_TRUE(bus.plant().inject({zevsim::FaultKind::ControllerSilent, 3}));
    bus.startScan();  // the plant stands still: every scan reads the same values

    zevtest::TempDir dir;
    const auto [path, s] = logFirstRecord(dir.path(), dir.path().string() + "/");
    ASSERT_GT(s, 0);
    EXPECT_EQ(path.extension(), ".CDB");
    EXPECT_EQ(path.stem().string().size(), 8u);
    auto& plant = bus.plant();
    // Zone 1 = 1.1, zone 17 = 2.1 (16 channels before it), zones 25..28 = the silent
    // controller 3, then no more zones.
    EXPECT_EQ(entry(path, s, 1),
              (ZoneSample{plant.setpoint(1, 1), plant.actual(1, 1), plant.statusWord(1, 1),
                          plant.output(1, 1), plant.currentTenths(1, 1)}));
    EXPECT_EQ(entry(path, s, 17).setpoint, 210);
    EXPECT_EQ(entry(path, s, 24).actual, plant.actual(2, 8));
    for (int zone : {25, 29, 270})
        EXPECT_EQ(entry(path, s, zone), kNoValue) << zone;
}

TEST(LibraryDayFile, WithoutTheScanNothingIsRecordedAsKnown) {
    zevsim::InProcessBus bus(zevtest::demoLine());
    bus.startScan();
    ZEV485_EnableCyclicScan(0);  // the cache keeps what it read, but it ages
    zevtest::TempDir dir;
    const auto [path, s] = logFirstRecord(dir.path(), dir.path().string());
    ASSERT_GT(s, 0);
    EXPECT_EQ(entry(path, s, 1), kNoValue);
}
