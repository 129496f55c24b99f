// Choosing the language of a run and looking texts up in it.
#include "test_texts_fixture.h"

#include <climits>

namespace zev::test {
namespace {

const QString kProgram = QStringLiteral("zevcontrol");

TEST_F(TextsTest, CommandLineAfterOtherArgumentsWinsOverStoredChoice) {
    writeLanguageFile("[LngPtnr]\r\nLngId=1\r\n");
    Texts& t = start({kProgram, QStringLiteral("--home"), QStringLiteral("/opt/zev"), QStringLiteral("LNGID=2")});
    EXPECT_EQ(t.LngId(), 0) << "nothing is decided before the first lookup";
    EXPECT_EQ(t(1535), QStringLiteral("Communication error"));
    EXPECT_EQ(t.LngId(), 2);
    EXPECT_EQ(t.storedLanguage(), 1) << "the command line does not change the stored choice";
    EXPECT_TRUE(fatal_.isEmpty());
}

TEST_F(TextsTest, CommandLineZeroOrWithoutDigitsUsesStoredChoice) {
    writeLanguageFile("[LngPtnr]\r\nLngId=2\r\n");
    for (const QString& arg : {QStringLiteral("LNGID=0"), QStringLiteral("LNGID="), QStringLiteral("LNGID=x2"),
                               QStringLiteral("lngid=1")}) {
        Texts& t = start({kProgram, arg});
        EXPECT_EQ(t(1537), QStringLiteral("User-Level: ")) << arg.toStdString();
        EXPECT_EQ(t.LngId(), 2) << arg.toStdString();
    }
    EXPECT_TRUE(fatal_.isEmpty());
}

TEST_F(TextsTest, MissingFileGivesGermanAndStoresTheDefault) {
    Texts& t = start();
    EXPECT_EQ(t(1537), QStringLiteral("Benutzerebene: "));
    EXPECT_EQ(t.LngId(), 1);
    EXPECT_TRUE(languageFileBytes().contains("LngId=1")) << languageFileBytes().toStdString();
}

TEST_F(TextsTest, MissingOrEmptyKeyGivesGerman) {
    for (const QByteArray& file : {QByteArray("[LngPtnr]\r\nOther=2\r\n"), QByteArray("[LngPtnr]\r\nLngId=\r\n"),
                                   QByteArray("[Elsewhere]\r\nLngId=2\r\n")}) {
        writeLanguageFile(file);
        Texts& t = start();
        EXPECT_EQ(t(1393), QStringLiteral("Stromalarm")) << file.toStdString();
    }
}

TEST_F(TextsTest, InvalidStoredLanguageIsFatalAndGivesNoText) {
    for (const QByteArray& value : {QByteArray("3"), QByteArray("0"), QByteArray("-1"), QByteArray("abc")}) {
        writeLanguageFile("[LngPtnr]\r\nLngId=" + value + "\r\n");
        fatal_.clear();
        Texts& t = start();
        EXPECT_EQ(t(113), QString()) << value.toStdString();
        EXPECT_EQ(t(1535), QString()) << "no text of some other language after the fatal message";
        EXPECT_FALSE(t.languageUsable());
        EXPECT_EQ(fatal_, QStringList{QStringLiteral("Wrong LngId !?!")}) << "one message for the run";
    }
}

TEST_F(TextsTest, InvalidCommandLineLanguageIsFatalEvenWithAValidStoredOne) {
    writeLanguageFile("[LngPtnr]\r\nLngId=1\r\n");
    for (const QString& arg : {QStringLiteral("LNGID=3"), QStringLiteral("LNGID=-2"),
                               QStringLiteral("LNGID=99999999999999")}) {
        fatal_.clear();
        Texts& t = start({kProgram, arg});
        EXPECT_EQ(t(113), QString()) << arg.toStdString();
        EXPECT_EQ(fatal_, QStringList{QStringLiteral("Wrong LngId !?!")}) << arg.toStdString();
    }
}

TEST_F(TextsTest, CommandLineNumberIsReadAfterTheFirstMarker) {
    EXPECT_EQ(Texts::lngIdFromArguments({kProgram}), 0);
    EXPECT_EQ(Texts::lngIdFromArguments({kProgram, QStringLiteral("LNGID=2")}), 2);
    EXPECT_EQ(Texts::lngIdFromArguments({QStringLiteral("-x"), QStringLiteral("/LNGID=12abc")}), 12);
    EXPECT_EQ(Texts::lngIdFromArguments({QStringLiteral("LNGID=1"), QStringLiteral("LNGID=2")}), 1);
    EXPECT_EQ(Texts::lngIdFromArguments({QStringLiteral("LNGID="), QStringLiteral("2")}), 2)
        << "the command line reads as one text: LNGID= 2";
    EXPECT_EQ(Texts::lngIdFromArguments({QStringLiteral("LNGID=-1")}), -1);
    EXPECT_EQ(Texts::lngIdFromArguments({QStringLiteral("LNGID=123456789012345")}), INT_MAX);
}

TEST_F(TextsTest, LanguageStaysFixedForTheRun) {
    Texts& t = start();
    EXPECT_EQ(t(1535), QStringLiteral("Kommunikationsfehler"));
    EXPECT_TRUE(t.storeLanguage(2));
    EXPECT_EQ(t.storedLanguage(), 2);
    EXPECT_EQ(t(1535), QStringLiteral("Kommunikationsfehler")) << "a new choice waits for the restart";
    EXPECT_TRUE(languageFileBytes().contains("LngId=2"));
    EXPECT_EQ(start()(1535), QStringLiteral("Communication error")) << "the next run";
}

TEST_F(TextsTest, OnlyLanguagesOneAndTwoAreStoredOrSet) {
    Texts& t = start();
    ASSERT_TRUE(t.storeLanguage(1));
    const QByteArray before = languageFileBytes();
    EXPECT_FALSE(t.storeLanguage(3));
    EXPECT_FALSE(t.storeLanguage(0));
    EXPECT_EQ(languageFileBytes(), before);
    EXPECT_FALSE(t.setLngId(3));
    EXPECT_EQ(t.LngId(), 0);
    EXPECT_TRUE(t.setLngId(2));
    EXPECT_EQ(t(1383), QStringLiteral("Login"));
    EXPECT_EQ(t(1382), QStringLiteral("Cancel"));
    EXPECT_TRUE(fatal_.isEmpty());
}

struct Row {
    int number;
    const char* german;
    const char* english;
};

// The rows that tell whether the tables and their two parts are wired up right:
// both ends of each part, blanks that callers rely on, umlauts and "°".
constexpr Row kTellingRows[] = {
    {113, "Seite ", "Page "},
    {136, "F E H L E R P R O T O K O L L", "FAILURE PROTOCOL"},
    {313, "Falsches Passwort.", "Wrong password."},
    {1382, "Abbruch", "Cancel"},
    {1392, "Konfiguration", "Configuration"},
    {1393, "Stromalarm", "Current alarm"},
    {1405, "Unbekannter Fehler ", "unknown failure "},
    {1533, "<unbekannt>", "<unknow>"},
    {1535, "Kommunikationsfehler", "Communication error"},
    {1537, "Benutzerebene: ", "User-Level: "},
    {954, "   Hilfe", "   Help"},
    {1092, "    Rezept: ", "    Recipe: "},
    {1099, "  ( nicht mehr aktuell )", "  ( no longer actual )"},
    {1143, " Tuning ", " Tuning "},
    {963, "Temperaturdifferenzen [ °C ]", "Tremperature differences [°C]"},
    {1395, "Fühlerschluß", "Shorted sensor"},
    {1126, "Übertragen", "Transmitted"},
    {1363, "Identifiziere ZEV-Gerät ", "Identify ZEV-unit "},
    {667, "Dateiname ungültig. Folgenden Zeichen sind im Dateinamen unzulässig: ' : \\ / '. Bitte geben sie einen "
          "anderen Namen ein.",
     "Invalid file name. The following characters are not allowed in a file name: ' : \\ / '. Please enter "
     "another name."},
};

TEST_F(TextsTest, TellingRowsInBothLanguagesKeepTheirBlanks) {
    Texts& german = start({kProgram, QStringLiteral("LNGID=1")});
    for (const Row& r : kTellingRows) EXPECT_EQ(german(r.number), QString::fromUtf8(r.german)) << r.number;
    Texts& english = start({kProgram, QStringLiteral("LNGID=2")});
    for (const Row& r : kTellingRows) EXPECT_EQ(english(r.number), QString::fromUtf8(r.english)) << r.number;
    for (const Row& r : kTellingRows) {
        EXPECT_EQ(Texts::lookup(1, r.number), QString::fromUtf8(r.german)) << r.number;
        EXPECT_EQ(Texts::lookup(2, r.number), QString::fromUtf8(r.english)) << r.number;
    }
}

TEST_F(TextsTest, LanguageIsDeterminedOnceAndFileReadOnce) {
    writeLanguageFile("[LngPtnr]\r\nLngId=2\r\n");
    Texts& t = start();
    EXPECT_EQ(t.language(), 2);
    // Another program changes the file during the run: the run keeps its language.
    writeLanguageFile("[LngPtnr]\r\nLngId=1\r\n");
    EXPECT_EQ(t(1383), QStringLiteral("Login"));
    EXPECT_EQ(t(1528), QStringLiteral("Display"));
}

}  // namespace
}  // namespace zev::test
