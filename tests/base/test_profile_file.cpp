// The profile-file engine in memory: exact bytes in, exact bytes out.
#include "base/profile_codepage.h"
#include "base/profile_file.h"
#include "temp_home.h"

#include <gtest/gtest.h>

#include <random>

using zev::profile::fromWindows1252;
using zev::profile::ProfileFile;
using zev::profile::toWindows1252;
using zev::test::bytesOf;

TEST(ProfileFile, SerialisesEveryKindOfContentBackUnchanged) {
    const QByteArray samples[] = {
        "",
        "\r\n\r\n",
        "; comment\r\n[A]\r\nx = 1 \r\n\r\n[a]\r\nx=2\ny=3",  // duplicates, LF, no final line end
        "key before any section=1\n[B\nno equals sign\r\n=\r\n[C]junk after\r\n\tk\t=\tv\t\r\n",
        bytesOf("[Z]\r\nv=a\0b\r\n\x81\x8d\xff\r\r\n"),
        QByteArray(100000, 'x') + "=" + QByteArray(50000, 'y'),
    };
    for (const QByteArray& s : samples)
        EXPECT_EQ(ProfileFile::parse(s).serialize(), s);
}

TEST(ProfileFile, RandomGarbageSurvivesParsingAndAWrite) {
    std::mt19937 rng(4711);
    const char alphabet[] = {'[', ']', '=', ';', '\r', '\n', ' ', '\t', '\0', 'a', 'K', '\x80', '\xff', '~'};
    for (int round = 0; round < 300; ++round) {
        QByteArray bytes;
        const int size = static_cast<int>(rng() % 400);
        for (int i = 0; i < size; ++i)
            bytes.append(rng() % 3 ? alphabet[rng() % sizeof alphabet] : static_cast<char>(rng()));
        ProfileFile f = ProfileFile::parse(bytes);
        ASSERT_EQ(f.serialize(), bytes);
        f.value(u"a", u"a", 1023);
        f.setValue(u"K", u"a", u"written");
        const QByteArray out = f.serialize();
        EXPECT_EQ(ProfileFile::parse(out).value(u"k", u"A", 1023), QString("written")) << out.toHex().constData();
        EXPECT_GE(out.size(), bytes.size());
    }
}

TEST(ProfileFile, NewKeyGoesAfterTheLastEntryOfItsSectionNewSectionToTheEnd) {
    const std::tuple<QByteArray, const char*, QByteArray> cases[] = {
        {"[A]\r\nx=1\r\n\r\n; about B\r\n[B]\r\n", "A", "[A]\r\nx=1\r\ny=2\r\n\r\n; about B\r\n[B]\r\n"},
        {"[A]\nx=1", "A", "[A]\nx=1\r\ny=2\r\n"},
        {"[A]\n\n", "A", "[A]\ny=2\r\n\n"},
        {"", "B", "[B]\r\ny=2\r\n"},
        {"[A]\nx=1", "B", "[A]\nx=1\r\n[B]\r\ny=2\r\n"},
        {"; only a comment", "B", "; only a comment\r\n[B]\r\ny=2\r\n"},
    };
    for (const auto& [before, section, after] : cases) {
        ProfileFile f = ProfileFile::parse(before);
        f.setValue(QString::fromLatin1(section), u"y", u"2");
        EXPECT_EQ(f.serialize(), after) << before.constData();
    }
}

TEST(ProfileFile, FirstMatchingSectionAndKeyWinWithoutRegardToCase) {
    const QByteArray before = "[zone_001]\r\nname=a\r\nNAME=b\r\n[ZONE_001]\r\nNAME=c\r\nGROUP=5\r\n";
    ProfileFile f = ProfileFile::parse(before);
    EXPECT_EQ(f.value(u"ZONE_001", u"Name", 1023), QString("a"));
    EXPECT_EQ(f.value(u"Zone_001", u"GROUP", 1023), std::nullopt) << "a later duplicate section is never read";
    EXPECT_EQ(f.sections(), QStringList{"zone_001"});

    f.setValue(u"ZONE_001", u"NAME", u"x");
    f.setValue(u"ZONE_001", u"GROUP", u"2");
    EXPECT_EQ(f.serialize(), QByteArray("[zone_001]\r\nname=x\r\nNAME=b\r\nGROUP=2\r\n[ZONE_001]\r\nNAME=c\r\nGROUP=5\r\n"));
}

TEST(ProfileFile, UmlautsInNamesMatchWithoutRegardToCase) {
    ProfileFile f = ProfileFile::parse("[GR\xDC\x42\x45]\r\nF\xC4RBUNG=1\r\n");
    EXPECT_EQ(f.value(u"grübe", u"färbung", 1023), QString("1"));
}

TEST(ProfileFile, ValuesAreTrimmedAndCut) {
    ProfileFile f = ProfileFile::parse(bytesOf("[A]\r\nk = \t 12 \t \r\nz=ab \0cd\r\nl=") + QByteArray(2000, 'q'));
    EXPECT_EQ(f.value(u"A", u"k", 1023), QString("12"));
    EXPECT_EQ(f.value(u"A", u"z", 1023), QString("ab")) << "a NUL byte ends the value";
    EXPECT_EQ(f.value(u"A", u"l", 1023), QString(1023, u'q'));
    EXPECT_EQ(f.value(u"A", u"k", 1), QString("1"));
}

TEST(ProfileFile, DamagedLinesReadAsWellAsTheyCan) {
    const QByteArray damaged = bytesOf("junk=before any section\r\n"
                             "[GROUP_001\r\n"          // "]" missing
                             "NAME=Gruppe 1\r\n"
                             "this line has no equals sign\r\n"
                             ";USE=False\r\n"           // a comment, not a key
                             "\x01\x02\xfe garbage\r\n"
                             "USE=True\r\n"
                             "[ ZONE_001 ] trailing\r\n"
                             "NAME=Z\0ONE\r\n");
    ProfileFile f = ProfileFile::parse(damaged);
    EXPECT_EQ(f.value(u"GROUP_001", u"NAME", 1023), QString("Gruppe 1"));
    EXPECT_EQ(f.value(u"GROUP_001", u"USE", 1023), QString("True"));
    EXPECT_EQ(f.value(u"GROUP_001", u"this line has no equals sign", 1023), std::nullopt);
    EXPECT_EQ(f.value(u"ZONE_001", u"NAME", 1023), QString("Z"));
    EXPECT_EQ(f.sections(), (QStringList{"GROUP_001", "ZONE_001"}));
}

TEST(ProfileFile, NamesThatWouldNotReadBackAreRefused) {
    EXPECT_TRUE(ProfileFile::isValidSectionName(u"ZONE_001"));
    EXPECT_TRUE(ProfileFile::isValidKeyName(u"485ADR"));
    EXPECT_TRUE(ProfileFile::isValidKeyName(u"Größe"));
    for (const char16_t* bad : {u"", u" A", u"A\t", u"A]", u"A\r\nB", u"Zone \u0142"})
        EXPECT_FALSE(ProfileFile::isValidSectionName(bad)) << QString::fromUtf16(bad).toStdString();
    for (const char16_t* bad : {u"", u"a=b", u";a", u"[a", u"a\n", u"k "})
        EXPECT_FALSE(ProfileFile::isValidKeyName(bad)) << QString::fromUtf16(bad).toStdString();
}

TEST(Windows1252, UmlautsAndSymbolsAreSingleBytesEveryByteSurvivesOthersBecomeOneQuestionMark) {
    const QString text = QStringLiteral("äöüÄÖÜß°€‰™");
    const QByteArray bytes("\xE4\xF6\xFC\xC4\xD6\xDC\xDF\xB0\x80\x89\x99");
    EXPECT_EQ(toWindows1252(text), bytes);
    EXPECT_EQ(fromWindows1252(bytes), text);
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(toWindows1252(fromWindows1252(all)), all);
    EXPECT_EQ(toWindows1252(QStringLiteral("Zone ł Ω")), QByteArray("Zone ? ?"));
    EXPECT_EQ(toWindows1252(QString::fromUtf8("a\xF0\x9F\x94\xA5z")), QByteArray("a?z"));  // one emoji, two UTF-16 units
}
