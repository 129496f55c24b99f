#include "shell/touch_keyboard.h"

#include "widgets/touch_style.h"
#include "support/text_numbers.h"
#include "support/texts.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zev {

namespace {

constexpr int kColumns = 12;
constexpr int kKeyWidth = 64;
constexpr int kKeyHeight = 56;

// The character rows of a German keyboard, without and with shift. Every
// character is one that the program's Windows-1252 files can hold.
struct Row {
    const char* plain;
    const char* shifted;
    int firstColumn;
};
constexpr Row kRows[] = {
    {"1234567890ß", "!\"§$%&/()=?", 0},
    {"qwertzuiopü+", "QWERTZUIOPÜ*", 0},
    {"asdfghjklöä#", "ASDFGHJKLÖÄ'", 0},
    {"yxcvbnm,.-", "YXCVBNM;:_", 2},
};

// Faces of the function keys: symbols, the same in every language.
const QString kShiftFace = QStringLiteral("\u21E7");
const QString kBackspaceFace = QStringLiteral("\u232B");

// A button caption shows "&" only when doubled.
QString caption(const QString& character) {
    return character == QLatin1String("&") ? QStringLiteral("&&") : character;
}

}  // namespace

TouchKeyboardDialog::TouchKeyboardDialog(Texts& texts, const QString& prompt, const QString& preset,
                                         bool password, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmKeyboard"));
    setModal(true);
    setWindowTitle(prompt);
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(prompt, this);
    label->setWordWrap(true);
    label->setFont(touch::messageFont());
    layout->addWidget(label);

    edit_ = new QLineEdit(preset, this);
    edit_->setObjectName(QStringLiteral("txtEntry"));
    edit_->setFont(touch::messageFont());
    edit_->setMinimumHeight(kKeyHeight);
    edit_->setAccessibleName(prompt);
    if (password) edit_->setEchoMode(QLineEdit::Password);
    layout->addWidget(edit_);
    connect(edit_, &QLineEdit::returnPressed, this, &QDialog::accept);

    auto* grid = new QGridLayout;
    grid->setSpacing(4);
    for (int r = 0; r < static_cast<int>(std::size(kRows)); ++r) {
        const QString plain = QString::fromUtf8(kRows[r].plain);
        const QString shifted = QString::fromUtf8(kRows[r].shifted);
        for (qsizetype i = 0; i < plain.size(); ++i) {
            const QString c = plain.mid(i, 1);
            const CharacterKey key{makeKey(caption(c), c), c, shifted.mid(i, 1)};
            characters_.append(key);
            connect(key.button, &QPushButton::clicked, this, [this, key] { type(key); });
            grid->addWidget(key.button, r, kRows[r].firstColumn + static_cast<int>(i));
        }
    }
    backspace_ = makeKey(kBackspaceFace, texts(1437));
    backspace_->setAutoRepeat(true);
    connect(backspace_, &QPushButton::clicked, edit_, &QLineEdit::backspace);
    grid->addWidget(backspace_, 0, kColumns - 1);
    shift_ = makeKey(kShiftFace, texts(1436));
    shift_->setCheckable(true);
    connect(shift_, &QPushButton::toggled, this, &TouchKeyboardDialog::setShifted);
    grid->addWidget(shift_, 3, 0, 1, 2);

    space_ = makeKey(QString(), texts(1438));
    connect(space_, &QPushButton::clicked, this, [this] { edit_->insert(QStringLiteral(" ")); });
    grid->addWidget(space_, 4, 0, 1, 6);
    ok_ = makeKey(texts(TextNo::Ok), texts(TextNo::Ok));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    grid->addWidget(ok_, 4, 6, 1, 3);
    cancel_ = makeKey(texts(TextNo::Cancel), texts(TextNo::Cancel));
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    grid->addWidget(cancel_, 4, 9, 1, 3);
    layout->addLayout(grid);
    edit_->setFocus();
}

QPushButton* TouchKeyboardDialog::makeKey(const QString& face, const QString& accessibleName) {
    auto* b = new QPushButton(face, this);
    b->setMinimumSize(kKeyWidth, kKeyHeight);
    b->setFont(touch::captionFont());
    // The entry keeps the focus, so that the cursor stays where the operator put it.
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoDefault(false);
    b->setAccessibleName(accessibleName);
    return b;
}

QString TouchKeyboardDialog::text() const { return edit_->text(); }

void TouchKeyboardDialog::setVisible(bool visible) {
    QDialog::setVisible(visible);  // gives the entry the focus, which selects its text
    if (visible) edit_->end(false);
}

QPushButton* TouchKeyboardDialog::characterKey(const QString& face) const {
    for (const CharacterKey& k : characters_)
        if ((shifted_ ? k.shifted : k.plain) == face) return k.button;
    return nullptr;
}

QList<QPushButton*> TouchKeyboardDialog::keys() const {
    QList<QPushButton*> all;
    for (const CharacterKey& k : characters_) all << k.button;
    all << backspace_ << shift_ << space_ << ok_ << cancel_;
    return all;
}

void TouchKeyboardDialog::type(const CharacterKey& key) {
    edit_->insert(shifted_ ? key.shifted : key.plain);
    // Shift holds for one character, as on a phone.
    if (shifted_) shift_->setChecked(false);
}

void TouchKeyboardDialog::setShifted(bool on) {
    shifted_ = on;
    for (const CharacterKey& k : characters_) {
        const QString face = on ? k.shifted : k.plain;
        k.button->setText(caption(face));
        k.button->setAccessibleName(face);
    }
}

}  // namespace zev
