// The committed driver files must say exactly what the plant does: the same
// parameter names, limits and codes, in the byte format the station reads.
#include "plant/driver_file.h"
#include "plant/plant.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
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

// The field stream as the station reads it: a field ends at a comma or a line
// end, double quotes may enclose commas, blanks around a field are dropped.
std::vector<std::string> fields(const std::string& bytes) {
    std::vector<std::string> out;
    std::string field;
    bool quoted = false, inQuotes = false, any = false;
    auto flush = [&] {
        if (!quoted) {
            const auto b = field.find_first_not_of(' ');
            const auto e = field.find_last_not_of(' ');
            field = b == std::string::npos ? "" : field.substr(b, e - b + 1);
        }
        out.push_back(field);
        field.clear();
        quoted = inQuotes = any = false;
    };
    for (char ch : bytes) {
        if (inQuotes) {
            if (ch == '"') inQuotes = false;
            else field += ch;
        } else if (ch == '"' && !any) {
            quoted = inQuotes = any = true;
            field.clear();
        } else if (ch == ',' || ch == '\n') {
            if (any || ch == ',') flush();
        } else if (ch != '\r') {
            if (ch != ' ' || any) any = true;
            if (!quoted) field += ch;
        }
    }
    if (any) flush();
    return out;
}

// CP850 and Windows-1252 back to UTF-8 for the few characters German names use.
std::string decode(const std::string& bytes, bool oem) {
    static const std::map<unsigned char, std::string> cp850{{0x84, "ä"}, {0x94, "ö"}, {0x81, "ü"}, {0x8E, "Ä"},
                                                            {0x99, "Ö"}, {0x9A, "Ü"}, {0xE1, "ß"}, {0xF8, "°"}};
    static const std::map<unsigned char, std::string> cp1252{{0xE4, "ä"}, {0xF6, "ö"}, {0xFC, "ü"}, {0xC4, "Ä"},
                                                             {0xD6, "Ö"}, {0xDC, "Ü"}, {0xDF, "ß"}, {0xB0, "°"}};
    std::string out;
    for (unsigned char ch : bytes) {
        if (ch < 0x80) {
            out += static_cast<char>(ch);
            continue;
        }
        const auto& table = oem ? cp850 : cp1252;
        const auto it = table.find(ch);
        out += it == table.end() ? "\xEF\xBF\xBD" : it->second;  // replacement character
    }
    return out;
}

struct Records {
    std::vector<std::array<std::string, 3>> p;  // name, min, max
    std::vector<std::array<std::string, 4>> z;  // name, min, max, code
    std::vector<std::array<std::string, 2>> i;  // caption, text
    bool noBoost = false;
};

Records records(const std::string& bytes) {
    const auto f = fields(bytes);
    Records r;
    for (size_t k = 0; k < f.size(); ++k) {
        const size_t left = f.size() - k - 1;
        if (f[k] == "@P" && left >= 3) {
            r.p.push_back({f[k + 1], f[k + 2], f[k + 3]});
            k += 3;
        } else if (f[k] == "@Z" && left >= 4) {
            r.z.push_back({f[k + 1], f[k + 2], f[k + 3], f[k + 4]});
            k += 4;
        } else if (f[k] == "@I" && left >= 2) {
            r.i.push_back({f[k + 1], f[k + 2]});
            k += 2;
        } else if (f[k] == "@X" && left >= 1) {
            r.noBoost = r.noBoost || f[k + 1] == "NOBOOST";
            k += 1;
        }
    }
    return r;
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

TEST(DriverFiles, RecordsAgreeWithThePlantTableInEveryLanguage) {
    struct Case {
        int az;
        const char* file;
        bool german;
    };
    for (const Case& c : {Case{12, "AZ12_d.DRV", true}, Case{12, "AZ12_e.DRV", false}, Case{7, "AZ7.DRV", false}}) {
        SCOPED_TRACE(c.file);
        const std::string bytes = readFile(dataDir() + "/DRIVER/" + c.file);
        const auto& family = familyFor(c.az);
        const Records r = records(bytes);
        ASSERT_EQ(r.p.size(), 28u);
        for (int n = 1; n <= 28; ++n) {
            const auto& def = family.parameter(n);
            const auto& rec = r.p[static_cast<size_t>(n - 1)];
            EXPECT_EQ(decode(rec[0], true), c.german ? def.nameDe : def.nameEn) << "parameter " << n;
            EXPECT_EQ(std::stoi(rec[1]), def.min) << "parameter " << n;
            EXPECT_EQ(std::stoi(rec[2]), def.max) << "parameter " << n;
        }
        ASSERT_EQ(r.z.size(), family.globals.size());
        for (size_t g = 0; g < r.z.size(); ++g) {
            EXPECT_EQ(decode(r.z[g][0], true), c.german ? family.globals[g].nameDe : family.globals[g].nameEn);
            EXPECT_EQ(r.z[g][3], std::string("?") + family.globals[g].code);
        }
        ASSERT_EQ(r.i.size(), family.infos.size());
        EXPECT_EQ(decode(r.i[0][0], true), c.german ? family.infos[0].captionDe : family.infos[0].captionEn);
        EXPECT_EQ(decode(r.i[0][1], false), c.german ? family.infos[0].textDe : family.infos[0].textEn);
        EXPECT_EQ(r.noBoost, !family.boost);
        EXPECT_NE(bytes.find("[ZEVCtrl]\r\nMC_param=24\r\n"), std::string::npos);
    }
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
