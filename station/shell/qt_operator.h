// The operator at the panel: every interaction is a modal dialog.
#pragma once

#include "support/operator.h"

#include <QPointer>
#include <QWidget>

namespace zev {

class Texts;

class QtOperator final : public Operator {
public:
    explicit QtOperator(Texts& texts) : texts_(texts) {}
    void setParentWindow(QWidget* w) { parent_ = w; }

    int notice(const QString& text, const QString& button1, const QString& button2,
               const QString& button3, int kind) override;
    std::optional<QString> enterText(const QString& prompt, const QString& preset) override;
    std::optional<QString> enterPassword(const QString& prompt) override;
    NumberEntry enterNumber(const QString& prompt, int min, int max, int value,
                            bool allowRelative) override;
    std::optional<QString> choose(const QString& title, const QStringList& items) override;
    std::optional<QString> chooseFiltered(const QString& title, const QString& filterCaption,
                                          const QStringList& filters,
                                          const std::function<QStringList(int)>& items,
                                          int initialFilter) override;
    std::optional<std::uint32_t> chooseColour(const QString& title, std::uint32_t current) override;
    int errorChoice(const ErrorReport& report, ErrorReportActions& actions) override;

private:
    Texts& texts_;
    QPointer<QWidget> parent_;
};

}  // namespace zev
