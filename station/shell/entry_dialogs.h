// Entry dialogs of the touch panel: the number pad and a choice from a list
// (text and password entry: the on-screen keyboard, touch_keyboard.h).
#pragma once

#include <QDialog>
#include <functional>
#include <optional>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace zev {

class Texts;

class NumberPadDialog : public QDialog {
    Q_OBJECT
public:
    NumberPadDialog(Texts& texts, const QString& prompt, int min, int max, int value,
                    bool allowRelative, QWidget* parent = nullptr);
    // 0 cancelled, 1 absolute, 2 relative.
    int entryResult() const { return result_; }
    int value() const { return value_; }
    QLineEdit* edit() const { return edit_; }
    void press(const QString& key);  // one key of the pad: digits, "-", "C", "<", "OK"

private:
    int min_, max_;
    bool allowRelative_;
    int result_ = 0;
    int value_ = 0;
    QLineEdit* edit_;
    QPushButton* relative_ = nullptr;
};

class ChoiceDialog : public QDialog {
    Q_OBJECT
public:
    ChoiceDialog(Texts& texts, const QString& title, const QStringList& items,
                 QWidget* parent = nullptr);
    // With a filter list above the entries (e.g. the driver selection window).
    ChoiceDialog(Texts& texts, const QString& title, const QString& filterCaption,
                 const QStringList& filters, std::function<QStringList(int)> items, int initialFilter,
                 QWidget* parent = nullptr);
    std::optional<QString> chosen() const;
    QListWidget* list() const { return list_; }
    QListWidget* filterList() const { return filters_; }

private:
    void build(Texts& texts, const QString& title);

    QListWidget* list_ = nullptr;
    QListWidget* filters_ = nullptr;
    std::function<QStringList(int)> items_;
};

}  // namespace zev
