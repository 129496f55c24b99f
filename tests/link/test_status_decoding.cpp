// Decoding of the status word into mode, tuning state and the displayed status.
#include "test_context.h"

#include "link/zone_values.h"
#include "plant/zone_table.h"

#include <gtest/gtest.h>

using namespace zev;
using zev::test::TestContext;

namespace {

struct Case {
    std::int32_t word;
    bool monitor;
    int mode;
    int tune;
    const char* shortText;
    int code;
    const char* german;
    std::int32_t storedWord;
};

class StatusDecoding : public ::testing::TestWithParam<Case> {};

TEST_P(StatusDecoding, DecodesAsTheTableSays) {
    TestContext tc;
    const Case& c = GetParam();
    ZoneRecord z;
    z.ModeFlag = c.monitor;
    decodeStatus(z, c.word, *tc.texts);
    EXPECT_EQ(z.Mode, c.mode);
    EXPECT_EQ(z.TuneState, c.tune);
    EXPECT_EQ(z.StatusShort, QString::fromLatin1(c.shortText));
    EXPECT_EQ(z.StatusCode, c.code);
    EXPECT_EQ(z.StatusText, QString::fromUtf8(c.german));
    EXPECT_EQ(z.StatusWord, c.storedWord);
}

INSTANTIATE_TEST_SUITE_P(
    Table, StatusDecoding,
    ::testing::Values(
        Case{0x10018, false, 0, 0, "SSR", 250, "SSR-Schluß", 0x10018},        // 0x10000 wins over 0x10 and 0x8
        Case{0x21, false, 1, 0, "", 0, "", 0},                                // manual, no fault
        Case{0x400024, true, 3, 0, "-HH-", 230, "Absoluter Temperaturalarm", 0x400000},
        Case{0x60, false, 3, 0, "Err.", 1, "Unbekannter Fehler 60", 0x60},
        Case{0x40, false, 2, 0, "", 0, "", 0},
        Case{-1, false, 0, 0, "COM", 255, "Kommunikationsfehler", kNoValue},
        Case{0x48, false, 2, 0, "-E-", 247, "Fühlerbruch", 0x48},
        Case{0x1041, false, 2, 0, "CURR", 246, "Stromalarm", 0x1041},
        Case{0x141, false, 2, 1, "", 0, "", 0},                               // tuning running, no fault
        Case{0xC1, false, 2, 2, "TERR", 115, "Tuning-Error", 0xC1},           // tuning fault
        Case{0x243, false, 2, 0, "-LO-", 128, "Temperatur L", 0x243},         // 0x2 before 0x200
        Case{0x1000441, false, 2, 0, "dY", 122, "Stellgrad-Abweichung", 0x1000441},
        Case{0x61, true, 3, 0, "", 0, "", 0},                                 // monitor, masked to nothing
        Case{0x9, true, 0, 0, "-E-", 247, "Fühlerbruch", 0x9},                // monitor not measuring: mode 0
        Case{0, false, 0, 0, "", 0, "", 0}));

TEST(StatusDecodingLanguage, DescriptionFollowsTheLanguage) {
    TestContext tc(2);
    ZoneRecord z;
    decodeStatus(z, 0x8, *tc.texts);
    EXPECT_EQ(z.StatusText, QStringLiteral("Broken sensor"));
    decodeStatus(z, 0x20, *tc.texts);
    EXPECT_EQ(z.StatusText, QStringLiteral("unknown failure 20"));
}

}  // namespace
