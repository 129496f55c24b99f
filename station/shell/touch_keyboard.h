// The on-screen keyboard of the touch panel for every text and password entry:
// German layout with Ä, Ö, Ü and ß, a shift key that holds for one character,
// digits, backspace, space, OK and cancel. Keys are at least 48 pixels either
// way; in password mode the entry shows only dots. A keyboard on the panel
// types into the same field. Numbers are entered on the number pad instead.
#pragma once

#include <QDialog>
#include <QList>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zev {

class Texts;

class TouchKeyboardDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMinKeySize = 48;

    TouchKeyboardDialog(Texts& texts, const QString& prompt, const QString& preset, bool password,
                        QWidget* parent = nullptr);

    QString text() const;
    QLineEdit* edit() const { return edit_; }
    bool shifted() const { return shifted_; }

    // The key that shows this character now (null when no key does).
    QPushButton* characterKey(const QString& face) const;
    QPushButton* shiftKey() const { return shift_; }
    QPushButton* backspaceKey() const { return backspace_; }
    QPushButton* spaceKey() const { return space_; }
    QPushButton* okKey() const { return ok_; }
    QPushButton* cancelKey() const { return cancel_; }
    // Every key, for checks of size and names.
    QList<QPushButton*> keys() const;

    // Shown with the cursor after the preset text and nothing selected: the
    // first key touched adds to the text rather than replacing it.
    void setVisible(bool visible) override;

private:
    struct CharacterKey {
        QPushButton* button;
        QString plain;
        QString shifted;
    };
    QPushButton* makeKey(const QString& face, const QString& accessibleName);
    void type(const CharacterKey& key);
    void setShifted(bool on);

    QLineEdit* edit_ = nullptr;
    QList<CharacterKey> characters_;
    QPushButton* shift_ = nullptr;
    QPushButton* backspace_ = nullptr;
    QPushButton* space_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    bool shifted_ = false;
};

}  // namespace zev
