#include "shell/entry_dialogs.h"

#include "widgets/touch_style.h"
#include "support/text_numbers.h"
#include "support/texts.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

namespace zev {

namespace {
// OK runs onOk (default: accept the dialog), Cancel rejects it.
QDialogButtonBox* okCancel(Texts& texts, QDialog* dialog, std::function<void()> onOk = {}) {
    auto* box = new QDialogButtonBox(dialog);
    auto* ok = box->addButton(texts(TextNo::Ok), QDialogButtonBox::AcceptRole);
    auto* cancel = box->addButton(texts(TextNo::Cancel), QDialogButtonBox::RejectRole);
    touch::makeTouchButton(ok);
    touch::makeTouchButton(cancel);
    if (!onOk) onOk = [dialog] { dialog->accept(); };
    QObject::connect(box, &QDialogButtonBox::accepted, dialog, std::move(onOk));
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}

QLabel* promptLabel(const QString& prompt, QWidget* parent) {
    auto* label = new QLabel(prompt, parent);
    label->setWordWrap(true);
    label->setFont(touch::messageFont());
    return label;
}
}  // namespace

TextEntryDialog::TextEntryDialog(Texts& texts, const QString& prompt, const QString& preset,
                                 bool password, QWidget* parent)
    : QDialog(parent) {
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(promptLabel(prompt, this));
    edit_ = new QLineEdit(preset, this);
    edit_->setFont(touch::messageFont());
    edit_->setMinimumWidth(480);
    edit_->setMinimumHeight(touch::kButtonHeight);
    if (password) edit_->setEchoMode(QLineEdit::Password);
    layout->addWidget(edit_);
    layout->addWidget(okCancel(texts, this));
    connect(edit_, &QLineEdit::returnPressed, this, &QDialog::accept);
}

QString TextEntryDialog::text() const { return edit_->text(); }

NumberPadDialog::NumberPadDialog(Texts& texts, const QString& prompt, int min, int max, int value,
                                 bool allowRelative, QWidget* parent)
    : QDialog(parent), min_(min), max_(max), allowRelative_(allowRelative) {
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(promptLabel(prompt, this));
    layout->addWidget(promptLabel(QStringLiteral("%1 ... %2").arg(min).arg(max), this));
    edit_ = new QLineEdit(QString::number(value), this);
    edit_->setFont(touch::messageFont());
    edit_->setMinimumHeight(touch::kButtonHeight);
    edit_->setAlignment(Qt::AlignRight);
    layout->addWidget(edit_);
    auto* grid = new QGridLayout;
    const char* keys[] = {"7", "8", "9", "4", "5", "6", "1", "2", "3", "-", "0", "<"};
    for (int i = 0; i < 12; ++i) {
        auto* b = new QPushButton(QString::fromLatin1(keys[i]), this);
        b->setMinimumSize(touch::kButtonHeight + 16, touch::kButtonHeight);
        b->setFont(touch::captionFont());
        connect(b, &QPushButton::clicked, this, [this, k = QString::fromLatin1(keys[i])] { press(k); });
        grid->addWidget(b, i / 3, i % 3);
    }
    if (allowRelative_) {
        relative_ = new QPushButton(QStringLiteral("+/-"), this);
        relative_->setCheckable(true);
        relative_->setMinimumHeight(touch::kButtonHeight);
        relative_->setFont(touch::captionFont());
        grid->addWidget(relative_, 4, 0, 1, 3);
    }
    layout->addLayout(grid);
    layout->addWidget(okCancel(texts, this, [this] { press(QStringLiteral("OK")); }));
    connect(edit_, &QLineEdit::returnPressed, this, [this] { press(QStringLiteral("OK")); });
}

void NumberPadDialog::press(const QString& key) {
    QString t = edit_->text();
    if (key == QLatin1String("<")) {
        t.chop(1);
    } else if (key == QLatin1String("C")) {
        t.clear();
    } else if (key == QLatin1String("-")) {
        t = t.startsWith(QLatin1Char('-')) ? t.mid(1) : QLatin1Char('-') + t;
    } else if (key == QLatin1String("OK")) {
        bool ok = false;
        const int v = t.toInt(&ok);
        const bool relative = relative_ && relative_->isChecked();
        // The pad refuses what the caller cannot take: out of range absolute values.
        if (!ok || (!relative && (v < min_ || v > max_))) {
            edit_->selectAll();
            return;
        }
        value_ = v;
        result_ = relative ? 2 : 1;
        accept();
        return;
    } else {
        t += key;
    }
    edit_->setText(t);
}

ChoiceDialog::ChoiceDialog(Texts& texts, const QString& title, const QStringList& items,
                           QWidget* parent)
    : QDialog(parent) {
    build(texts, title);
    list_->addItems(items);
}

ChoiceDialog::ChoiceDialog(Texts& texts, const QString& title, const QString& filterCaption,
                           const QStringList& filters, std::function<QStringList(int)> items,
                           int initialFilter, QWidget* parent)
    : QDialog(parent), items_(std::move(items)) {
    build(texts, title);
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->insertWidget(1, promptLabel(filterCaption, this));
    filters_ = new QListWidget(this);
    filters_->setFont(touch::messageFont());
    filters_->addItems(filters);
    filters_->setMaximumHeight(40 * static_cast<int>(filters.size()) + 8);
    layout->insertWidget(2, filters_);
    connect(filters_, &QListWidget::currentRowChanged, this, [this](int row) {
        list_->clear();
        if (row >= 0) list_->addItems(items_(row));
    });
    filters_->setCurrentRow(initialFilter);
}

void ChoiceDialog::build(Texts& texts, const QString& title) {
    setModal(true);
    setWindowTitle(title);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(promptLabel(title, this));
    list_ = new QListWidget(this);
    list_->setFont(touch::messageFont());
    list_->setMinimumSize(420, 300);
    layout->addWidget(list_);
    layout->addWidget(okCancel(texts, this));
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

std::optional<QString> ChoiceDialog::chosen() const {
    if (auto* item = list_->currentItem()) return item->text();
    return std::nullopt;
}

}  // namespace zev
