#include "support/scripted_operator.h"

#include "base/lifecycle.h"
#include "support/texts.h"

#include <QFile>

namespace zev {

namespace {
const QString kCancel = QStringLiteral("CANCEL");
}

QString oneLine(const QString& text) {
    QString s = text;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\\n"));
    s.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    s.replace(QLatin1Char('\r'), QStringLiteral("\\n"));
    return s;
}

ScriptedOperator::ScriptedOperator(QStringList answers, QTextStream& out, Lifecycle& lifecycle)
    : answers_(std::move(answers)), out_(out), lifecycle_(lifecycle) {}

bool ScriptedOperator::readScript(const QString& file, QStringList* answers) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    const QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
    answers->clear();
    for (const QString& line : lines) {
        const QString t = line.trimmed();
        if (!t.isEmpty()) answers->append(t);
    }
    return true;
}

std::optional<QString> ScriptedOperator::next(const QString& shown) {
    if (lifecycle_.exitRequested()) return std::nullopt;  // leaving: nothing more is asked
    if (answers_.isEmpty() || answers_.front().startsWith(QLatin1Char('!'))) {
        out_ << "UNANSWERED " << oneLine(shown) << Qt::endl;
        lifecycle_.requestExit(kExitUnanswered);
        return std::nullopt;
    }
    return answers_.takeFirst();
}

std::optional<QString> ScriptedOperator::takeAction() {
    if (lifecycle_.exitRequested() || answers_.isEmpty() || !answers_.front().startsWith(QLatin1Char('!')))
        return std::nullopt;
    const QString action = answers_.takeFirst().mid(1).trimmed();
    out_ << "ACTION " << action << Qt::endl;
    return action;
}

void ScriptedOperator::refuse(const QString& line) {
    out_ << "UNKNOWN ACTION " << line << Qt::endl;
    lifecycle_.requestExit(kExitUnanswered);
}

void ScriptedOperator::print(const QString& shown, const QString& answer) {
    out_ << oneLine(shown) << " -> " << answer << Qt::endl;
}

int ScriptedOperator::notice(const QString& text, const QString& button1, const QString& button2,
                             const QString& button3, int kind) {
    // A critical message box shows its title before the text.
    const QString title =
        kind == kNoticeCritical ? QStringLiteral("[%1] ").arg(Texts::messageBoxTitle()) : QString();
    const QString shown =
        QStringLiteral("NOTICE %1%2 | %3 | %4 | %5").arg(title, text, button1, button2, button3);
    const auto answer = next(shown);
    if (!answer) return button3.isEmpty() ? (button2.isEmpty() ? 1 : 2) : 3;
    print(shown, *answer);
    bool ok = false;
    const int n = answer->toInt(&ok);
    const QString captions[] = {button1, button2, button3};
    if (!ok || n < 1 || n > 3 || captions[n - 1].isEmpty()) {
        out_ << "UNANSWERED " << oneLine(text) << " (no button " << *answer << ")" << Qt::endl;
        lifecycle_.requestExit(kExitUnanswered);
        return button3.isEmpty() ? (button2.isEmpty() ? 1 : 2) : 3;
    }
    return n;
}

std::optional<QString> ScriptedOperator::textEntry(const QString& prompt) {
    const QString shown = QStringLiteral("INPUT ") + prompt;
    const auto answer = next(shown);
    if (!answer) return std::nullopt;
    print(shown, *answer);
    if (*answer == kCancel) return std::nullopt;
    return answer;
}

std::optional<QString> ScriptedOperator::enterText(const QString& prompt, const QString&) {
    return textEntry(prompt);
}

std::optional<QString> ScriptedOperator::enterPassword(const QString& prompt) {
    return textEntry(prompt);
}

NumberEntry ScriptedOperator::enterNumber(const QString& prompt, int min, int max, int,
                                          bool allowRelative) {
    const auto answer = textEntry(prompt + QStringLiteral(" [%1 ... %2]").arg(min).arg(max));
    if (!answer) return {};
    bool ok = false;
    const int value = answer->toInt(&ok);
    if (!ok) return {};
    const bool relative = allowRelative && (answer->startsWith(QLatin1Char('+')) ||
                                            answer->startsWith(QLatin1Char('-')));
    if (relative) return {2, value};
    if (value < min || value > max) return {};  // the pad refuses values out of range
    return {1, value};
}

std::optional<QString> ScriptedOperator::choose(const QString& title, const QStringList& items) {
    const auto answer = textEntry(title + QStringLiteral(" {") + items.join(QStringLiteral(", ")) +
                                  QLatin1Char('}'));
    if (!answer || !items.contains(*answer)) return std::nullopt;
    return answer;
}

std::optional<QString> ScriptedOperator::chooseFiltered(const QString& title, const QString&,
                                                        const QStringList& filters,
                                                        const std::function<QStringList(int)>& items, int) {
    // Unattended, every filter's entries are offered at once.
    QStringList all;
    for (int i = 0; i < filters.size(); ++i) all << items(i);
    all.removeDuplicates();
    return choose(title, all);
}

std::optional<std::uint32_t> ScriptedOperator::chooseColour(const QString& title, std::uint32_t current) {
    const auto answer = textEntry(QStringLiteral("COLOUR %1 (%2)").arg(title).arg(current, 6, 16, QLatin1Char('0')));
    if (!answer || answer->size() != 7 || !answer->startsWith(QLatin1Char('#'))) return std::nullopt;
    bool ok = false;
    const std::uint32_t rgb = answer->mid(1).toUInt(&ok, 16);
    if (!ok) return std::nullopt;
    // Written as on screen (red first), stored as the platform value (blue first).
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}

int ScriptedOperator::errorChoice(const ErrorReport& report, ErrorReportActions&) {
    const QString shown = QStringLiteral("ERROR %1.%2 line %3: %4")
                              .arg(report.module, report.procedure)
                              .arg(report.line)
                              .arg(report.number);
    const auto answer = next(shown);
    if (!answer) return 2;
    print(shown, *answer);
    bool ok = false;
    const int n = answer->toInt(&ok);
    return ok && n >= 0 && n <= 3 ? n : 2;
}

}  // namespace zev
