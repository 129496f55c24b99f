// The driver file as a field stream and its loading into the driver data.
#include "test_context.h"

#include "link/driver_file.h"
#include "link/driver_loader.h"
#include "plant/driver.h"

#include <gtest/gtest.h>

using namespace zev;
using zev::test::TestContext;

namespace {

ParsedDriver parse(const QByteArray& bytes) { return parseDriverFields(bytes); }

bool hasWarning(const ParsedDriver& d, DriverFileWarning::Kind kind) {
    return std::any_of(d.warnings.begin(), d.warnings.end(), [&](const auto& w) { return w.kind == kind; });
}

TEST(DriverFields, RecordsAndIgnoredFields) {
    const ParsedDriver d = parse(
        "[ZEVCtrl]\r\nMC_param=22\r\n"
        "; comment, with a comma\r\n"
        "@P,\"Sollwert\",0,500\r\n"
        "@P, Nur lesen ,5,5\r\n"
        "@Z,\"Hochlimit, global\",0,999,?HIW\r\n"
        "@I,Version,\"1.2, intern\"\r\n"
        "@X,nOBoost\r\n");
    ASSERT_EQ(d.zoneParameters.size(), 2u);
    EXPECT_EQ(d.zoneParameters[0].name, QStringLiteral("Sollwert"));
    EXPECT_EQ(d.zoneParameters[0].min, 0);
    EXPECT_EQ(d.zoneParameters[0].max, 500);
    EXPECT_EQ(d.zoneParameters[1].name, QStringLiteral("Nur lesen"));
    EXPECT_EQ(d.zoneParameters[1].min, d.zoneParameters[1].max);
    ASSERT_EQ(d.globalParameters.size(), 1u);
    EXPECT_EQ(d.globalParameters[0].name, QStringLiteral("Hochlimit, global"));
    EXPECT_EQ(d.globalParameters[0].code, QStringLiteral("?HIW"));
    ASSERT_EQ(d.infos.size(), 1u);
    EXPECT_EQ(d.infos[0].second, QStringLiteral("1.2, intern"));
    EXPECT_TRUE(d.noBoost);
    EXPECT_TRUE(d.warnings.empty());
}

TEST(DriverFields, FieldsSplitOverLinesReadTheSame) {
    const ParsedDriver one = parse("@P,Rampe,0,999\r\n@Z,Limit,1,2,?LIM\r\n");
    const ParsedDriver split = parse("@P\r\nRampe,\r\n0\r\n999\r\n@Z,Limit\n1\n2\n?LIM");
    ASSERT_EQ(split.zoneParameters.size(), 1u);
    EXPECT_EQ(split.zoneParameters[0].name, one.zoneParameters[0].name);
    EXPECT_EQ(split.zoneParameters[0].max, 999);
    ASSERT_EQ(split.globalParameters.size(), 1u);
    EXPECT_EQ(split.globalParameters[0].code, QStringLiteral("?LIM"));
}

TEST(DriverFields, NamesAreReadInCodePage850) {
    // "Stromüberwachung" with the 850 byte 0x81 for ü; the info text is ANSI (0xFC).
    const ParsedDriver d = parse("@P,\"Strom\x81" "berwachung\",0,1\r\n@I,\"Gr\x94\xE1" "e\",\"Gr\xF6\xDF" "e\"\r\n");
    ASSERT_EQ(d.zoneParameters.size(), 1u);
    EXPECT_EQ(d.zoneParameters[0].name, QStringLiteral("Stromüberwachung"));
    EXPECT_EQ(d.infos[0].first, QStringLiteral("Größe"));
    EXPECT_EQ(d.infos[0].second, QStringLiteral("Größe"));
}

TEST(DriverFields, DamagedFilesLoadWhatTheyCan) {
    QByteArray many;
    for (int i = 1; i <= 29; ++i) many += "@P,P" + QByteArray::number(i) + ",0,10\r\n";
    ParsedDriver d = parse(many);
    EXPECT_EQ(d.zoneParameters.size(), 28u);
    EXPECT_TRUE(hasWarning(d, DriverFileWarning::TooManyZoneParameters));

    d = parse("@P,Rampe,null,999\r\n@P,Gut,0,10\r\n");
    ASSERT_EQ(d.zoneParameters.size(), 2u);
    EXPECT_EQ(d.zoneParameters[0].min, d.zoneParameters[0].max);  // read-only, not guessed
    EXPECT_EQ(d.zoneParameters[1].max, 10);
    EXPECT_TRUE(hasWarning(d, DriverFileWarning::BadNumber));

    d = parse("@I,\"offen,ohne Ende\r\n@P,Danach,0,5\r\n");
    EXPECT_TRUE(hasWarning(d, DriverFileWarning::UnterminatedQuote));
    ASSERT_EQ(d.zoneParameters.size(), 1u);
    EXPECT_EQ(d.zoneParameters[0].name, QStringLiteral("Danach"));

    d = parse("@P,Abgeschnitten,0\r\n@P,Folgt,0,10\r\n");  // a truncated line
    ASSERT_EQ(d.zoneParameters.size(), 1u);
    EXPECT_EQ(d.zoneParameters[0].name, QStringLiteral("Folgt"));
    EXPECT_TRUE(hasWarning(d, DriverFileWarning::MissingFields));

    d = parse("@Z,Halb,0");
    EXPECT_TRUE(d.globalParameters.empty());
    EXPECT_TRUE(hasWarning(d, DriverFileWarning::MissingFields));

    d = parse("@Z,Code kaputt,0,9,\"G[]=\"\r\n");
    EXPECT_TRUE(d.globalParameters.empty());
    EXPECT_TRUE(hasWarning(d, DriverFileWarning::BadCode));

    QByteArray garbage;
    for (int i = 0; i < 4096; ++i) garbage.append(static_cast<char>((i * 7919) & 0xFF));
    d = parse(garbage);  // no crash; whatever it makes of it is flagged
    EXPECT_TRUE(hasWarning(d, DriverFileWarning::BinaryData));
}

class DriverLoading : public ::testing::Test {
protected:
    void writeDriver(const QString& name, const QByteArray& bytes) { tc.home.write(QStringLiteral("DRIVER/") + name, bytes); }
    TestContext tc;
};

TEST_F(DriverLoading, LevelsComeFromCmdIniAndMonitorParameterFromTheIniView) {
    tc.ctx->tool.CmdIni = tc.home.file(QStringLiteral("cmd.ini"));
    tc.home.write(QStringLiteral("cmd.ini"), "[?HIW]\r\nLevel=3\r\n");
    writeDriver(QStringLiteral("AZ12_d.DRV"),
                "[ZEVCtrl]\r\nMC_param=22\r\n@P,Soll,0,500\r\n@Z,Hi,0,999,?HIW\r\n@Z,Apm,0,9,?APM\r\n");
    ASSERT_TRUE(loadDriverFile(*tc.ctx, tc.home.file(QStringLiteral("DRIVER/AZ12_d.DRV"))));
    const DriverData& d = tc.ctx->driver;
    EXPECT_EQ(d.MonitorZoneParam, 22);
    EXPECT_TRUE(d.DriverLoaded);
    EXPECT_TRUE(d.ZoneParameters[1].Writable);
    EXPECT_FALSE(d.ZoneParameters[2].Writable);
    ASSERT_EQ(d.GlobalParameters.size(), 2u);
    EXPECT_EQ(d.GlobalParameters[0].Level, 3);
    EXPECT_EQ(d.GlobalParameters[1].Level, 0);
    // The missing level is written back with 0; the driver file itself is left alone.
    EXPECT_TRUE(tc.home.read(QStringLiteral("cmd.ini")).contains("[?APM]\r\nLevel=0"));
    EXPECT_EQ(tc.home.read(QStringLiteral("DRIVER/AZ12_d.DRV")).count("MC_param"), 1);
}

TEST_F(DriverLoading, DriverFileNamesAreFoundWhateverTheirCase) {
    writeDriver(QStringLiteral("az7.drv"), "@P,x,0,1\r\n");
    EXPECT_EQ(findDriverFile(*tc.ctx, QStringLiteral("AZ7.DRV")), tc.home.file(QStringLiteral("DRIVER/az7.drv")));
    EXPECT_TRUE(findDriverFile(*tc.ctx, QStringLiteral("AZ8.DRV")).isEmpty());
}

TEST_F(DriverLoading, ADamagedFileIsReportedToTheOperator) {
    writeDriver(QStringLiteral("AZ9.DRV"), "@P,a,x,1\r\n");
    tc.answer({QStringLiteral("2")});
    ASSERT_TRUE(loadDriverFile(*tc.ctx, tc.home.file(QStringLiteral("DRIVER/AZ9.DRV"))));
    EXPECT_TRUE(tc.lastNotice().contains(QStringLiteral("beschädigt")));
    EXPECT_FALSE(tc.ctx->driver.DriverLoaded);  // no "@Z" record
}

}  // namespace
