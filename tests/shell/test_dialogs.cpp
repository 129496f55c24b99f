// The notice dialog's kinds, the on-screen keyboard and the number pad's entry
// rules, on real widgets; the updater's messages.
#include "test_context.h"

#include "shell/command_line.h"
#include "shell/entry_dialogs.h"
#include "shell/hinweis_dialog.h"
#include "shell/qt_operator.h"
#include "shell/settings_failure.h"
#include "shell/touch_keyboard.h"
#include "shell/updater.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
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

TEST(Hinweis, CriticalKindIsTheMessageBoxTitledZEVcontrol2) {
    HinweisDialog d(QStringLiteral("Updater.exe not found!"), QString(), QStringLiteral("OK"), QString(), kNoticeCritical);
    EXPECT_EQ(d.windowTitle(), QStringLiteral("ZEVcontrol 2"));
    ASSERT_NE(d.icon(), nullptr);
    EXPECT_FALSE(d.icon()->pixmap().isNull());
    d.open();
    for (int i = 0; i < 10; ++i) d.tick();
    EXPECT_TRUE(d.isVisible()) << "it waits for the operator";
    EXPECT_TRUE(d.styleSheet().isEmpty()) << "and does not flash";
    HinweisDialog plain(QStringLiteral("Text"), QString(), QStringLiteral("OK"), QString(), kNoticeAlarm);
    EXPECT_EQ(plain.icon(), nullptr);
}

TEST(Updater, AMissingUpdaterIsToldInACriticalBoxWithTheWordingOfEachPath) {
    zev::test::TestContext tc;
    tc.answer({QStringLiteral("2"), QStringLiteral("2")});
    EXPECT_FALSE(DoUpdate(*tc.ctx, nullptr));
    EXPECT_EQ(tc.lastNotice(), QStringLiteral("NOTICE [ZEVcontrol 2] Updater.exe not found! |  | OK |  -> 2"));
    EXPECT_FALSE(RestartThroughUpdater(*tc.ctx, nullptr));  // after a language change
    EXPECT_EQ(tc.lastNotice(), QStringLiteral("NOTICE [ZEVcontrol 2] Updater.exe not found |  | OK |  -> 2"));
    EXPECT_TRUE(tc.platform.started.isEmpty());
}

TEST(SettingsFailure, TheReasonIsInTheOperatorsLanguage) {
    struct Case {
        int language;
        zev::profile::StoreFailure why;
        const char* reason;
    };
    using zev::profile::FailureKind;
    const Case cases[] = {
        {1, {FailureKind::DiskFull, 28}, "Es ist nicht genügend Speicherplatz auf dem Datenträger vorhanden."},
        {1, {FailureKind::WriteProtected, 13}, "Die Datei ist schreibgeschützt."},
        {2, {FailureKind::ReadOnlyDirectory, 30}, "The directory is read-only or not writable."},
        {2, {FailureKind::Io, 5}, "The disk could not be read or written. System error 5"},
        {2, {FailureKind::TooLarge, 0}, "The file is larger than allowed and is left unchanged."},
    };
    for (const Case& c : cases) {
        zev::test::TestContext tc(c.language);
        const QString text = settingsNotStoredText(*tc.texts, QStringLiteral("/opt/zev/zev.ini"), c.why);
        const QString head = c.language == 1 ? QStringLiteral("Die Einstellungen konnten nicht gespeichert werden: ")
                                             : QStringLiteral("The settings could not be stored: ");
        EXPECT_EQ(text, head + QStringLiteral("/opt/zev/zev.ini\r\n") + QString::fromUtf8(c.reason));
    }
}

TEST(TouchKeyboard, GermanLayoutWithShiftForOneCharacterDigitsSpaceAndBackspace) {
    zev::test::TestContext tc;
    TouchKeyboardDialog kb(*tc.texts, QStringLiteral("Neuer Werkzeugname:"), QStringLiteral("Form"), false);
    kb.show();
    QApplication::processEvents();
    kb.edit()->setCursorPosition(4);
    kb.shiftKey()->click();
    ASSERT_NE(kb.characterKey(QStringLiteral("Ü")), nullptr);
    EXPECT_EQ(kb.characterKey(QStringLiteral("ü")), nullptr) << "the keys show what they type";
    kb.characterKey(QStringLiteral("Ü"))->click();
    EXPECT_FALSE(kb.shifted());
    for (const char* key : {"ß", "7", "ö", "ä", "z", "y"}) kb.characterKey(QString::fromUtf8(key))->click();
    kb.spaceKey()->click();
    kb.shiftKey()->click();
    kb.characterKey(QStringLiteral("&"))->click();  // shift 6: a caption that Qt would take as a mnemonic
    kb.shiftKey()->click();
    kb.characterKey(QStringLiteral("_"))->click();
    kb.characterKey(QStringLiteral("x"))->click();
    kb.backspaceKey()->click();
    EXPECT_EQ(kb.text(), QString::fromUtf8("FormÜß7öäzy &_"));
    EXPECT_EQ(kb.edit()->echoMode(), QLineEdit::Normal);
    for (QPushButton* key : kb.keys()) {
        EXPECT_GE(key->width(), TouchKeyboardDialog::kMinKeySize) << key->accessibleName().toStdString();
        EXPECT_GE(key->height(), TouchKeyboardDialog::kMinKeySize) << key->accessibleName().toStdString();
        EXPECT_FALSE(key->accessibleName().isEmpty());
    }
    EXPECT_EQ(kb.backspaceKey()->accessibleName(), QStringLiteral("Rücktaste"));
    kb.okKey()->click();
    EXPECT_EQ(kb.result(), QDialog::Accepted);
}

// The program's operator shows the keyboard for text and passwords: a password
// is masked, cancel gives no entry, and the number pad stays for numbers.
TEST(TouchKeyboard, TheOperatorAsksThroughIt) {
    zev::test::TestContext tc(2);
    QtOperator op(*tc.texts);
    QString shownDisplay;
    auto typeInto = [&](const QString& what, bool ok) {
        QTimer::singleShot(0, [&, what, ok] {
            auto* kb = qobject_cast<TouchKeyboardDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(kb, nullptr);
            for (const QChar c : what) kb->characterKey(QString(c))->click();
            shownDisplay = kb->edit()->displayText();
            (ok ? kb->okKey() : kb->cancelKey())->click();
        });
    };
    typeInto(QStringLiteral("58"), true);
    EXPECT_EQ(op.enterPassword(QStringLiteral("Enter password")), std::optional<QString>(QStringLiteral("58")));
    EXPECT_NE(shownDisplay, QStringLiteral("58"));
    EXPECT_EQ(shownDisplay.size(), 2);
    typeInto(QStringLiteral("x"), false);
    EXPECT_EQ(op.enterText(QStringLiteral("Name"), QStringLiteral("STANDARD")), std::nullopt);
    typeInto(QStringLiteral("2"), true);
    EXPECT_EQ(op.enterText(QStringLiteral("Name"), QStringLiteral("FORM")), std::optional<QString>(QStringLiteral("FORM2")));
    QTimer::singleShot(0, [] {
        auto* pad = qobject_cast<NumberPadDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(pad, nullptr);
        pad->press(QStringLiteral("OK"));
    });
    EXPECT_EQ(op.enterNumber(QStringLiteral("Setpoint"), 0, 500, 230, false).value, 230);
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
