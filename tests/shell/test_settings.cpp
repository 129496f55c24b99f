// GetIni/SetIni on real files: what the program reads and what lands on disk.
#include "shell/settings.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    zev::test::TempHome home;
    zev::Settings settings{home.path()};
    QString ini = home.file("TOOLS/STANDARD/SETTINGS.INI");
    QByteArray disk() const { return home.read("TOOLS/STANDARD/SETTINGS.INI"); }
};

TEST_F(SettingsTest, StarMeansZevIniInTheProgramDirectory) {
    EXPECT_EQ(settings.resolve("*"), home.path() + "/zev.ini");
    EXPECT_EQ(settings.resolve(ini), ini);
    EXPECT_EQ(settings.GetIni("SERIAL", "TIMEOUT", "200", "*"), "200");
    EXPECT_EQ(home.read("zev.ini"), QByteArray("[SERIAL]\r\nTIMEOUT=200\r\n"));
}

TEST_F(SettingsTest, MissingKeyReturnsTheTrimmedDefaultAndWritesIt) {
    EXPECT_EQ(settings.GetIni("ZONE_001", "NAME", "  ZONE 001 ", ini), "ZONE 001");
    EXPECT_EQ(settings.GetIni("zone_001", "name", "other", ini), "ZONE 001");
    EXPECT_EQ(disk(), QByteArray("[ZONE_001]\r\nNAME=ZONE 001\r\n"));
}

TEST_F(SettingsTest, EmptyDefaultWritesNothing) {
    EXPECT_EQ(settings.GetIni("STANDARD", "REZEPT", "   ", ini), "");
    EXPECT_FALSE(home.exists("TOOLS/STANDARD/SETTINGS.INI"));
}

TEST_F(SettingsTest, EmptyStoredValueCountsAsMissing) {
    home.write("TOOLS/STANDARD/SETTINGS.INI", "[GROUP_001]\r\nUSE=   \r\nDIAGTIME=\r\n");
    EXPECT_EQ(settings.GetIni("GROUP_001", "USE", "True", ini), "True");
    EXPECT_EQ(settings.GetIni("GROUP_001", "DIAGTIME", "", ini), "");
    EXPECT_EQ(disk(), QByteArray("[GROUP_001]\r\nUSE=   True\r\nDIAGTIME=\r\n"));
}

TEST_F(SettingsTest, ValuesAreTrimmedOnWriting) {
    QString value = "  12  ";
    EXPECT_TRUE(settings.SetIni("SERIAL", "COMPORT", value, "*"));
    EXPECT_EQ(home.read("zev.ini"), QByteArray("[SERIAL]\r\nCOMPORT=12\r\n"));
    EXPECT_EQ(settings.GetIni("SERIAL", "COMPORT", "1", "*"), "12");
}

TEST_F(SettingsTest, LineBreaksTravelAsDoubleTilde) {
    QString twoLines = "first\r\nsecond";
    settings.SetIni("HTML", "TEXT", twoLines, ini);
    EXPECT_EQ(twoLines, "first~~second") << "the caller's variable receives the stored form";
    EXPECT_EQ(disk(), QByteArray("[HTML]\r\nTEXT=first~~second\r\n"));
    EXPECT_EQ(settings.GetIni("HTML", "TEXT", "", ini), "first\r\nsecond");

    settings.SetIni("HTML", "TILDE", "a~~b~~~c", ini);
    EXPECT_EQ(settings.GetIni("HTML", "TILDE", "", ini), "a\r\nb\r\n~c") << "a stored \"~~\" cannot be told apart";

    settings.SetIni("HTML", "LF", "unix\nline\rends", ini);
    EXPECT_EQ(settings.GetIni("HTML", "LF", "", ini), "unix\r\nline\r\nends");

    EXPECT_EQ(settings.GetIni("HTML", "HEAD", "a\r\nb", ini), "a\r\nb") << "a default comes back as given";
    EXPECT_EQ(settings.GetIni("HTML", "HEAD", "", ini), "a\r\nb");
}

TEST_F(SettingsTest, LongValuesAreStoredWholeAndReadBackCut) {
    const QString longValue(2000, u'x');
    settings.SetIni("A", "LONG", longValue, ini);
    EXPECT_TRUE(disk().contains(QByteArray(2000, 'x')));
    EXPECT_EQ(settings.GetIni("A", "LONG", "", ini), QString(zev::Settings::kMaxValueLength, u'x'));

    // The cut comes before the tilde replacement: "~~" at 1022..1023 leaves one "~".
    settings.SetIni("A", "EDGE", QString(1022, u'y') + "~~z", ini);
    EXPECT_EQ(settings.GetIni("A", "EDGE", "", ini), QString(1022, u'y') + "~");
}

TEST_F(SettingsTest, UmlautsAreSingleWindows1252BytesOnDisk) {
    const QString name = QStringLiteral("Heißkanal Düse 1 °C");
    settings.SetIni("ZONE_001", "NAME", name, ini);
    EXPECT_EQ(disk(), QByteArray("[ZONE_001]\r\nNAME=Hei\xDF" "kanal D\xFC" "se 1 \xB0" "C\r\n"));
    zev::Settings fresh(home.path());
    EXPECT_EQ(fresh.GetIni("ZONE_001", "NAME", "", ini), name);
}

TEST_F(SettingsTest, CharactersWindows1252CannotHoldReadBackAsStored) {
    settings.SetIni("ZONE_001", "NAME", QStringLiteral("Zone ł"), ini);
    EXPECT_EQ(disk(), QByteArray("[ZONE_001]\r\nNAME=Zone ?\r\n"));
    EXPECT_EQ(settings.GetIni("ZONE_001", "NAME", "", ini), "Zone ?") << "memory must agree with the disk";
}

TEST_F(SettingsTest, NulCharacterEndsAValue) {
    settings.SetIni("A", "K", QString("ab ") + QChar(0) + "cd", ini);
    EXPECT_EQ(disk(), QByteArray("[A]\r\nK=ab\r\n"));
}

TEST_F(SettingsTest, NamesThatCannotBeStoredAreProgrammingErrors) {
    EXPECT_THROW(settings.GetIni("", "NAME", "x", ini), std::invalid_argument);
    EXPECT_THROW(settings.GetIni("ZONE]", "NAME", "x", ini), std::invalid_argument);
    EXPECT_THROW(settings.SetIni("ZONE_001", "A=B", "x", ini), std::invalid_argument);
    EXPECT_THROW(settings.SetIni("ZONE_001", " NAME", "x", ini), std::invalid_argument);
    EXPECT_FALSE(home.exists("TOOLS/STANDARD/SETTINGS.INI"));
}

TEST_F(SettingsTest, SectionsInFileOrderAndFileRemoval) {
    home.write("TOOLS/STANDARD/SETTINGS.INI", "[INFO]\r\n[VALUE_002]\r\n[value_001]\r\n[Info]\r\n");
    EXPECT_EQ(settings.sections(ini), (QStringList{"INFO", "VALUE_002", "value_001"}));
    EXPECT_TRUE(settings.removeFile(ini));
    EXPECT_FALSE(home.exists("TOOLS/STANDARD/SETTINGS.INI"));
    EXPECT_TRUE(settings.sections(ini).isEmpty());
    EXPECT_TRUE(settings.removeFile(ini)) << "a missing file is gone already";
}

TEST_F(SettingsTest, UnrelatedContentIsKeptByteForByte) {
    const QByteArray before = "; written by hand\n"
                              "\n"
                              "[GROUP_001]\r\n"
                              "NAME = D\xFC" "se\r\n"
                              "custom line without equals\r\n"
                              "COLOR=8421631\n"
                              "\r\n"
                              "; the zones\r\n"
                              "[ZONE_001]\r\n"
                              "NAME=ZONE 001";
    home.write("TOOLS/STANDARD/SETTINGS.INI", before);
    settings.SetIni("GROUP_001", "COLOR", "255", ini);
    settings.SetIni("GROUP_001", "USE", "False", ini);
    settings.SetIni("ZONE_001", "GROUP", "1", ini);
    EXPECT_EQ(disk(), QByteArray("; written by hand\n"
                                 "\n"
                                 "[GROUP_001]\r\n"
                                 "NAME = D\xFC" "se\r\n"
                                 "custom line without equals\r\n"
                                 "COLOR=255\r\n"
                                 "USE=False\r\n"
                                 "\r\n"
                                 "; the zones\r\n"
                                 "[ZONE_001]\r\n"
                                 "NAME=ZONE 001\r\n"
                                 "GROUP=1\r\n"));
}

TEST_F(SettingsTest, DamagedFileReadsWhatItCanAndKeepsItOnWriting) {
    QByteArray damaged;
    for (int i = 0; i < 4096; ++i)
        damaged.append(static_cast<char>((i * 7919) % 251));
    damaged.append(zev::test::bytesOf("\n[ZONE_001\r\nNAME=Z1\0\0\r\nno equals\r\n"));
    home.write("TOOLS/STANDARD/SETTINGS.INI", damaged);

    EXPECT_EQ(settings.GetIni("ZONE_001", "NAME", "x", ini), "Z1");
    EXPECT_EQ(settings.GetIni("ZONE_001", "GROUP", "0", ini), "0");
    const QByteArray after = disk();
    EXPECT_TRUE(after.startsWith(damaged.left(4096))) << "the garbage before the section is kept";
    EXPECT_TRUE(after.endsWith(zev::test::bytesOf("NAME=Z1\0\0\r\nno equals\r\nGROUP=0\r\n")));
}

}  // namespace
