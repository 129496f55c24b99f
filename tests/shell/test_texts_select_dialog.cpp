// frmSelectLng: choosing a language by double-click or with the Enter key.
#include "shell/select_language_dialog.h"
#include "../support/test_texts_fixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>

namespace zev::test {
namespace {

void doubleClick(QListWidget* list, int row) {
    QWidget* viewport = list->viewport();
    const QPointF at = list->visualItemRect(list->item(row)).center();
    const QPointF global = viewport->mapToGlobal(at);
    auto send = [&](QEvent::Type type, Qt::MouseButtons buttons) {
        QMouseEvent e(type, at, global, Qt::LeftButton, buttons, Qt::NoModifier);
        QApplication::sendEvent(viewport, &e);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
}

void pressKey(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(w, &release);
}

using SelectLanguageDialogTest = TextsTest;

TEST_F(SelectLanguageDialogTest, ListsBothLanguagesLargeEnoughForAFinger) {
    Texts& german = start({QStringLiteral("zevcontrol"), QStringLiteral("LNGID=1")});
    SelectLanguageDialog dialog(german);
    ASSERT_EQ(dialog.list()->count(), 2);
    EXPECT_EQ(dialog.list()->item(0)->text(), QStringLiteral("Deutsch"));
    EXPECT_EQ(dialog.list()->item(1)->text(), QStringLiteral("Englisch"));
    EXPECT_EQ(dialog.objectName(), QStringLiteral("frmSelectLng"));
    dialog.show();
    QApplication::processEvents();
    EXPECT_GE(dialog.list()->visualItemRect(dialog.list()->item(1)).height(), 48);

    Texts& english = start({QStringLiteral("zevcontrol"), QStringLiteral("LNGID=2")});
    SelectLanguageDialog inEnglish(english);
    EXPECT_EQ(inEnglish.list()->item(0)->text(), QStringLiteral("German"));
    EXPECT_EQ(inEnglish.list()->item(1)->text(), QStringLiteral("English"));
}

TEST_F(SelectLanguageDialogTest, DoubleClickSetsTheLanguageAndCloses) {
    Texts& t = start();
    SelectLanguageDialog dialog(t);
    dialog.show();
    QApplication::processEvents();
    doubleClick(dialog.list(), 1);
    EXPECT_EQ(dialog.chosen(), 2);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(t.LngId(), 2);
    EXPECT_EQ(t(1535), QStringLiteral("Communication error"));
}

TEST_F(SelectLanguageDialogTest, EnterOnTheListChoosesTheCurrentEntry) {
    Texts& t = start({QStringLiteral("zevcontrol"), QStringLiteral("LNGID=2")});
    SelectLanguageDialog dialog(t);
    dialog.show();
    QApplication::processEvents();
    pressKey(dialog.list(), Qt::Key_Down);
    pressKey(dialog.list(), Qt::Key_Up);
    pressKey(dialog.list(), Qt::Key_Return);
    EXPECT_EQ(dialog.chosen(), 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(t(1535), QStringLiteral("Kommunikationsfehler"));

    SelectLanguageDialog again(t);
    again.show();
    QApplication::processEvents();
    pressKey(again.list(), Qt::Key_Down);
    pressKey(again.list(), Qt::Key_Enter);
    EXPECT_EQ(again.chosen(), 2);
}

TEST_F(SelectLanguageDialogTest, EscapeClosesWithoutAChoice) {
    Texts& t = start({QStringLiteral("zevcontrol"), QStringLiteral("LNGID=1")});
    SelectLanguageDialog dialog(t);
    dialog.show();
    QApplication::processEvents();
    pressKey(dialog.list(), Qt::Key_Down);
    pressKey(dialog.list(), Qt::Key_Escape);
    EXPECT_EQ(dialog.chosen(), 0);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(t.LngId(), 1);
}

}  // namespace
}  // namespace zev::test
