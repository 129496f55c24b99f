// The scripted operator of unattended runs (--script FILE). Each non-empty line
// of the script answers the next interaction in order: a button number for a
// notice, a text for a text or password entry, a number (or +n/-n) for the
// number pad, an item for a choice, #RRGGBB for a colour, 0..3 for the error dialog, CANCEL to cancel
// an entry. Every interaction is printed on one line; an interaction the script
// cannot answer is printed as "UNANSWERED <text>" and the program ends with 3.
// A critical message box (notice kind 5) is printed with its title in brackets
// before its text.
// A line beginning with "!" is an action of the operator (shell/script_actions.h);
// an interaction that meets an action instead of its answer is unanswered.
#pragma once

#include "support/operator.h"

#include <QStringList>
#include <QTextStream>

namespace zev {

class Lifecycle;

constexpr int kExitUnanswered = 3;

class ScriptedOperator final : public Operator {
public:
    ScriptedOperator(QStringList answers, QTextStream& out, Lifecycle& lifecycle);
    // Reads the script file; false when it cannot be read.
    static bool readScript(const QString& file, QStringList* answers);

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
    // Answered with "#RRGGBB".
    std::optional<std::uint32_t> chooseColour(const QString& title, std::uint32_t current) override;
    int errorChoice(const ErrorReport& report, ErrorReportActions& actions) override;

    int remaining() const { return static_cast<int>(answers_.size()); }
    // Lines beginning with "!" are actions of the operator, not answers: the
    // next one (without its "!") when it is next in the script.
    std::optional<QString> takeAction();
    // Ends an unattended run on a line it cannot carry out.
    void refuse(const QString& line);
    void addAnswers(const QStringList& answers) { answers_ << answers; }

private:
    // The next answer, or nullopt after printing UNANSWERED and asking to end.
    std::optional<QString> next(const QString& shown);
    void print(const QString& shown, const QString& answer);
    std::optional<QString> textEntry(const QString& prompt);

    QStringList answers_;
    QTextStream& out_;
    Lifecycle& lifecycle_;
};

// One line of the transcript: line breaks written as \n.
QString oneLine(const QString& text);

}  // namespace zev
