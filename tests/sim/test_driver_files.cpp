// The committed driver files are what the plant's table generates, in the byte
// format the station reads (tests/link reads them with the station's loader),
// and the plant enforces the limits they promise.
#include "plant/driver_file.h"
#include "plant/plant.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace zevsim;

namespace {

std::string dataDir() {
    if (const char* env = std::getenv("ZEV_TEST_DATA"); env && *env) return env;
    return ZEV_SOURCE_DATA_DIR;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(DriverFiles, CommittedFilesAreExactlyWhatTheTableGenerates) {
    int files = 0;
    for (const auto& family : controllerFamilies()) {
        for (const auto& file : driverFilesFor(family)) {
            SCOPED_TRACE(file.fileName);
            const std::string onDisk = readFile(dataDir() + "/DRIVER/" + file.fileName);
            ASSERT_FALSE(onDisk.empty()) << "missing; run zevsim_driver_gen <source>/data/DRIVER";
            EXPECT_EQ(onDisk, file.bytes) << "out of date; run zevsim_driver_gen <source>/data/DRIVER";
            ++files;
        }
    }
    EXPECT_EQ(files, 3);  // AZ12_d.DRV, AZ12_e.DRV, AZ7.DRV
}

TEST(DriverFiles, LinesEndInCrLfAndUmlautsAreOemBytes) {
    const std::string bytes = readFile(dataDir() + "/DRIVER/AZ12_d.DRV");
    ASSERT_FALSE(bytes.empty());
    for (size_t k = 0; k < bytes.size(); ++k)
        if (bytes[k] == '\n') {
            ASSERT_TRUE(k > 0 && bytes[k - 1] == '\r') << "bare LF at byte " << k;
        }
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    EXPECT_NE(bytes.find("\"Strom\x81" "berwachung\""), std::string::npos);  // ü as CP850 0x81
    EXPECT_EQ(bytes.find("\xC3"), std::string::npos) << "UTF-8 leaked into the file";
}

// Every limit the driver file promises is the one the plant enforces.
TEST(DriverFiles, PlantEnforcesTheDriverLimits) {
    for (const auto& family : controllerFamilies()) {
        SCOPED_TRACE(family.az);
        ControllerConfig cfg;
        cfg.az = family.az;
        cfg.channels = 1;
        Plant plant({cfg});
        for (int n = 1; n <= 28; ++n) {
            const auto& def = family.parameter(n);
            if (!def.present()) {
                EXPECT_FALSE(plant.zoneParameter(1, 1, n).has_value()) << n;
                EXPECT_FALSE(plant.setZoneParameter(1, 1, n, 0)) << n;
                continue;
            }
            ASSERT_TRUE(plant.zoneParameter(1, 1, n).has_value()) << n;
            if (!def.writable()) {
                EXPECT_FALSE(plant.setZoneParameter(1, 1, n, def.min)) << "read-only " << n;
                continue;
            }
            if (n == kMonitorZoneParameter) continue;  // checked with the monitor zone
            const int keep = *plant.zoneParameter(1, 1, n);
            EXPECT_GE(keep, def.min) << "default of " << n;
            EXPECT_LE(keep, def.max) << "default of " << n;
            EXPECT_FALSE(plant.setZoneParameter(1, 1, n, def.min - 1)) << n;
            EXPECT_FALSE(plant.setZoneParameter(1, 1, n, def.max + 1)) << n;
            EXPECT_TRUE(plant.setZoneParameter(1, 1, n, def.max)) << n;
            EXPECT_TRUE(plant.setZoneParameter(1, 1, n, def.min)) << n;
            EXPECT_EQ(plant.zoneParameter(1, 1, n), def.min) << n;
            plant.setZoneParameter(1, 1, n, keep);
        }
        for (const auto& g : family.globals) {
            if (!g.writable()) {
                EXPECT_FALSE(plant.writeGlobal(1, g.code, g.min)) << g.code;
                continue;
            }
            EXPECT_FALSE(plant.writeGlobal(1, g.code, g.max + 1)) << g.code;
            EXPECT_TRUE(plant.writeGlobal(1, std::string("?") + g.code, g.max)) << g.code;
            EXPECT_TRUE(plant.readGlobal(1, g.code).has_value()) << g.code;
        }
    }
}

TEST(DriverFiles, UnmappableCharacterIsRefusedNotGarbled) {
    EXPECT_EQ(utf8ToCp850("Fühler"), "F\x81hler");
    EXPECT_EQ(utf8ToCp1252("Heiß"), "Hei\xDF");
    EXPECT_THROW(utf8ToCp850("Zone €"), std::invalid_argument);
    EXPECT_THROW(utf8ToCp850(std::string("\xC3")), std::invalid_argument);
}
