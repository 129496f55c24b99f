// GetIni/SetIni on real files: what the program reads and what lands on disk.
#include "base/settings.h"
#include "temp_home.h"

#include <QFile>
#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    zev::test::TempHome home;
    zev::Settings settings{home.path()};
    QString ini = home.file("TOOLS/STANDARD/SETTINGS.INI");
    QByteArray disk() const { return home.read("TOOLS/STANDARD/SETTINGS.INI"); }
};

// A step on SETTINGS.INI: a read (GetIni with a default, and what it returns),
// a write (SetIni), or a read by a store that starts afresh from the disk.
struct Step {
    enum Op { Get, Set, FreshGet } op;
    const char* section;
    const char* key;
    QString value;  // the default of a read, the value of a write
    QString expected = {};
};
Step get(const char* s, const char* k, const QString& def, const QString& expected) { return {Step::Get, s, k, def, expected}; }
Step set(const char* s, const char* k, const QString& value) { return {Step::Set, s, k, value}; }

struct Case {
    const char* what;
    std::optional<QByteArray> before;  // the file before the steps (none: no file)
    std::vector<Step> steps;
    std::optional<QByteArray> after;   // the file after them (none: still no file)
};

TEST_F(SettingsTest, WhatIsReadAndWhatLandsOnDisk) {
    const Case cases[] = {
        {"a missing key returns the trimmed default and writes it", std::nullopt,
         {get("ZONE_001", "NAME", "  ZONE 001 ", "ZONE 001"), get("zone_001", "name", "other", "ZONE 001")},
         "[ZONE_001]\r\nNAME=ZONE 001\r\n"},
        {"an empty default writes nothing", std::nullopt, {get("STANDARD", "REZEPT", "   ", "")}, std::nullopt},
        {"an empty stored value counts as missing", "[GROUP_001]\r\nUSE=   \r\nDIAGTIME=\r\n",
         {get("GROUP_001", "USE", "True", "True"), get("GROUP_001", "DIAGTIME", "", "")},
         "[GROUP_001]\r\nUSE=   True\r\nDIAGTIME=\r\n"},
        {"values are trimmed on writing", std::nullopt, {set("SERIAL", "COMPORT", "  12  "), get("SERIAL", "COMPORT", "1", "12")},
         "[SERIAL]\r\nCOMPORT=12\r\n"},
        {"line breaks travel as ~~", std::nullopt,
         {set("HTML", "TEXT", "first\r\nsecond"), get("HTML", "TEXT", "", "first\r\nsecond"),
          set("HTML", "TILDE", "a~~b~~~c"), get("HTML", "TILDE", "", "a\r\nb\r\n~c"),  // a stored "~~" cannot be told apart
          set("HTML", "LF", "unix\nline\rends"), get("HTML", "LF", "", "unix\r\nline\r\nends"),
          get("HTML", "HEAD", "a\r\nb", "a\r\nb"), get("HTML", "HEAD", "", "a\r\nb")},  // a default comes back as given
         "[HTML]\r\nTEXT=first~~second\r\nTILDE=a~~b~~~c\r\nLF=unix~~line~~ends\r\nHEAD=a~~b\r\n"},
        {"long values are stored whole and read back cut, before the ~~ replacement", std::nullopt,
         {set("A", "LONG", QString(2000, u'x')), get("A", "LONG", "", QString(zev::Settings::kMaxValueLength, u'x')),
          set("A", "EDGE", QString(1022, u'y') + "~~z"), get("A", "EDGE", "", QString(1022, u'y') + "~")},
         "[A]\r\nLONG=" + QByteArray(2000, 'x') + "\r\nEDGE=" + QByteArray(1022, 'y') + "~~z\r\n"},
        {"umlauts are single Windows-1252 bytes", std::nullopt,
         {set("ZONE_001", "NAME", QStringLiteral("Heißkanal Düse 1 °C")),
          {Step::FreshGet, "ZONE_001", "NAME", "", QStringLiteral("Heißkanal Düse 1 °C")}},
         "[ZONE_001]\r\nNAME=Hei\xDF" "kanal D\xFC" "se 1 \xB0" "C\r\n"},
        {"what Windows-1252 cannot hold reads back as stored", std::nullopt,
         {set("ZONE_001", "NAME", QStringLiteral("Zone ł")), get("ZONE_001", "NAME", "", "Zone ?")},
         "[ZONE_001]\r\nNAME=Zone ?\r\n"},
        {"a NUL character ends a value", std::nullopt, {set("A", "K", QString("ab ") + QChar(0) + "cd")}, "[A]\r\nK=ab\r\n"},
        {"unrelated content is kept byte for byte",
         "; written by hand\n\n[GROUP_001]\r\nNAME = D\xFC" "se\r\ncustom line without equals\r\nCOLOR=8421631\n\r\n"
         "; the zones\r\n[ZONE_001]\r\nNAME=ZONE 001",
         {set("GROUP_001", "COLOR", "255"), set("GROUP_001", "USE", "False"), set("ZONE_001", "GROUP", "1")},
         "; written by hand\n\n[GROUP_001]\r\nNAME = D\xFC" "se\r\ncustom line without equals\r\nCOLOR=255\r\nUSE=False\r\n\r\n"
         "; the zones\r\n[ZONE_001]\r\nNAME=ZONE 001\r\nGROUP=1\r\n"},
    };
    const QString relative = QStringLiteral("TOOLS/STANDARD/SETTINGS.INI");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(ini);
        zev::Settings store(home.path());
        if (c.before) home.write(relative, *c.before);
        for (const Step& s : c.steps) {
            SCOPED_TRACE(s.key);
            if (s.op == Step::Set) {
                EXPECT_TRUE(store.SetIni(s.section, s.key, s.value, ini));
            } else {
                zev::Settings fresh(home.path());
                EXPECT_EQ((s.op == Step::Get ? store : fresh).GetIni(s.section, s.key, s.value, ini), s.expected);
            }
        }
        EXPECT_EQ(home.exists(relative), c.after.has_value());
        if (c.after) {
            EXPECT_EQ(disk(), *c.after);
        }
    }
}

TEST_F(SettingsTest, StarMeansZevIniInTheProgramDirectory) {
    EXPECT_EQ(settings.resolve("*"), home.path() + "/zev.ini");
    EXPECT_EQ(settings.resolve(ini), ini);
    EXPECT_EQ(settings.GetIni("SERIAL", "TIMEOUT", "200", "*"), "200");
    EXPECT_EQ(home.read("zev.ini"), QByteArray("[SERIAL]\r\nTIMEOUT=200\r\n"));
}

TEST_F(SettingsTest, TheCallersVariableReceivesTheStoredForm) {
    QString twoLines = "first\r\nsecond";
    settings.SetIni("HTML", "TEXT", twoLines, ini);
    EXPECT_EQ(twoLines, "first~~second");
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
