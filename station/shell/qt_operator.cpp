#include "shell/qt_operator.h"

#include "shell/entry_dialogs.h"
#include "shell/hinweis_dialog.h"
#include "shell/touch_keyboard.h"
#include "shell/err_ptnr_dialog.h"

#include <QApplication>
#include <QColorDialog>

namespace zev {

int QtOperator::notice(const QString& text, const QString& button1, const QString& button2,
                       const QString& button3, int kind) {
    HinweisDialog dialog(text, button1, button2, button3, kind, parent_);
    dialog.exec();
    return dialog.pressed();
}

std::optional<QString> QtOperator::enterText(const QString& prompt, const QString& preset) {
    TouchKeyboardDialog dialog(texts_, prompt, preset, false, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.text();
}

std::optional<QString> QtOperator::enterPassword(const QString& prompt) {
    TouchKeyboardDialog dialog(texts_, prompt, QString(), true, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.text();
}

NumberEntry QtOperator::enterNumber(const QString& prompt, int min, int max, int value,
                                    bool allowRelative) {
    NumberPadDialog dialog(texts_, prompt, min, max, value, allowRelative, parent_);
    if (dialog.exec() != QDialog::Accepted) return {};
    return {dialog.entryResult(), dialog.value()};
}

std::optional<QString> QtOperator::choose(const QString& title, const QStringList& items) {
    ChoiceDialog dialog(texts_, title, items, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.chosen();
}

std::optional<QString> QtOperator::chooseFiltered(const QString& title, const QString& filterCaption,
                                                  const QStringList& filters,
                                                  const std::function<QStringList(int)>& items,
                                                  int initialFilter) {
    ChoiceDialog dialog(texts_, title, filterCaption, filters, items, initialFilter, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.chosen();
}

std::optional<std::uint32_t> QtOperator::chooseColour(const QString& title, std::uint32_t current) {
    const QColor start(static_cast<int>(current & 0xFF), static_cast<int>((current >> 8) & 0xFF),
                       static_cast<int>((current >> 16) & 0xFF));
    const QColor chosen = QColorDialog::getColor(start, parent_, title);
    if (!chosen.isValid()) return std::nullopt;
    return static_cast<std::uint32_t>(chosen.red()) | (static_cast<std::uint32_t>(chosen.green()) << 8) |
           (static_cast<std::uint32_t>(chosen.blue()) << 16);
}

int QtOperator::errorChoice(const ErrorReport& report, ErrorReportActions& actions) {
    QApplication::beep();  // the error dialog announces itself
    ErrPtnrDialog dialog(texts_, report, actions, parent_);
    dialog.exec();
    return dialog.choice();
}

}  // namespace zev
