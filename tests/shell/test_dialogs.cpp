// The notice dialog's kinds and the number pad's entry rules, on real widgets.
#include "test_context.h"

#include "shell/command_line.h"
#include "shell/entry_dialogs.h"
#include "shell/hinweis_dialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <gtest/gtest.h>

using namespace zev;

TEST(Hinweis, EmptyCaptionsHideTheirButtonsAndTheNumberIsReturned) {
    HinweisDialog d(QStringLiteral("Text"), QString(), QStringLiteral("Ja"), QStringLiteral("Nein"), kNoticePlain);
    EXPECT_FALSE(d.button(1)->isVisibleTo(&d));
    EXPECT_TRUE(d.button(2)->isVisibleTo(&d));
    d.button(3)->click();
    EXPECT_EQ(d.pressed(), 3);
    EXPECT_EQ(d.result(), QDialog::Accepted);
}

TEST(Hinweis, KindFourClosesItselfAfterTheSeventhTick) {
    HinweisDialog d(QStringLiteral("Text"), QString(), QStringLiteral("OK"), QString(), kNoticeAutoClose);
    d.open();
    for (int i = 0; i < 6; ++i) d.tick();
    EXPECT_TRUE(d.isVisible());
    d.tick();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.pressed(), 0);
}

TEST(Hinweis, KindThreeFlashesItsFrameAndStaysOpen) {
    HinweisDialog d(QStringLiteral("Text"), QString(), QStringLiteral("OK"), QString(), kNoticeAlarm);
    d.open();
    d.tick();
    const QString red = d.styleSheet();
    d.tick();
    EXPECT_NE(d.styleSheet(), red);
    for (int i = 0; i < 10; ++i) d.tick();
    EXPECT_TRUE(d.isVisible());
}

TEST(NumberPad, RefusesValuesOutOfRangeAndTellsRelativeEntries) {
    zev::test::TestContext tc;
    NumberPadDialog pad(*tc.texts, QStringLiteral("Sollwert"), 0, 700, 200, true);
    pad.edit()->setText(QStringLiteral("800"));
    pad.press(QStringLiteral("OK"));
    EXPECT_EQ(pad.entryResult(), 0);
    pad.press(QStringLiteral("C"));
    for (const char* k : {"2", "5", "0"}) pad.press(QString::fromLatin1(k));
    pad.press(QStringLiteral("OK"));
    EXPECT_EQ(pad.entryResult(), 1);
    EXPECT_EQ(pad.value(), 250);
}

TEST(CommandLine, OptionsAndErrors) {
    const CommandLine c = parseCommandLine({QStringLiteral("zevcontrol"), QStringLiteral("--home"), QStringLiteral("/tmp/h"),
                                            QStringLiteral("LNGID=2"), QStringLiteral("--run-for"), QStringLiteral("5"),
                                            QStringLiteral("--script"), QStringLiteral("s.txt")},
                                           QStringLiteral("/opt/zev"));
    EXPECT_EQ(c.home, QStringLiteral("/tmp/h"));
    EXPECT_EQ(c.runFor, 5.0);
    EXPECT_EQ(c.script, QStringLiteral("s.txt"));
    EXPECT_TRUE(c.error.isEmpty());
    EXPECT_EQ(parseCommandLine({QStringLiteral("zevcontrol")}, QStringLiteral("/opt/zev")).home, QStringLiteral("/opt/zev"));
    EXPECT_FALSE(parseCommandLine({QStringLiteral("zevcontrol"), QStringLiteral("--run-for"), QStringLiteral("x")},
                                  QStringLiteral("/")).error.isEmpty());
    EXPECT_FALSE(parseCommandLine({QStringLiteral("zevcontrol"), QStringLiteral("--home")}, QStringLiteral("/")).error.isEmpty());
    EXPECT_FALSE(parseCommandLine({QStringLiteral("zevcontrol"), QStringLiteral("--bogus")}, QStringLiteral("/")).error.isEmpty());
}
