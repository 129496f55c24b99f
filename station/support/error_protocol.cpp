#include "support/error_protocol.h"
#include "support/notices.h"

#include "base/lifecycle.h"
#include "base/profile_codepage.h"
#include "base/clock.h"
#include "support/printing.h"
#include "support/text_numbers.h"
#include "support/texts.h"
#include "support/zev_error.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>

namespace zev {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
constexpr int kCallStackDepth = 20;
constexpr int kPrintColumns = 73;
constexpr qint64 kMaxShownLog = 2 * 1024 * 1024;  // the view shows the newest 2 MiB

// The error log is ANSI text like every file of the program.
QByteArray toAnsi(const QString& s) { return profile::toWindows1252(s); }
}  // namespace

ErrorProtocol::ErrorProtocol(Texts& texts, Operator& op, const Clock& clock, Lifecycle& lifecycle,
                             Printer& printer, QString programDir)
    : texts_(texts), op_(op), clock_(clock), lifecycle_(lifecycle), printer_(printer),
      programDir_(std::move(programDir)) {}

QString ErrorProtocol::errorFile() const {
    return QDir(programDir_).filePath(QStringLiteral("ZEV3.ERR"));
}

int ErrorProtocol::OnError(const QString& module, const QString& procedure, int line) {
    const PendingError e = currentError(std::current_exception());
    return OnError(module, procedure, e.number, e.description, line);
}

int ErrorProtocol::OnError(const QString& module, const QString& procedure, int number,
                           const QString& description, int line) {
    busy_ = true;
    ErrorReport report;
    report.number = QStringLiteral("%1 (%2)").arg(number).arg(description);
    report.module = module;
    report.procedure = procedure;
    report.line = line;
    protocol_ = composeProtocol(report.number, module, procedure, line);
    report.protocol = protocol_;
    appendToErrorFile(protocol_ + kCrLf);
    int choice = op_.errorChoice(report, *this);
    if (choice < kRepeat || choice > kEndProgram) choice = kLeave;
    if (choice == kEndProgram) lifecycle_.requestExit(kExitAfterFailure);
    busy_ = false;
    return choice;
}

void ErrorProtocol::CallStack(const QString& entry) {
    if (busy_) return;
    callStack_.prepend(entry + QLatin1Char(' ') +
                       clock_.now().time().toString(QStringLiteral("HH:mm:ss")));
    while (callStack_.size() > kCallStackDepth) callStack_.removeLast();
}

QString ErrorProtocol::composeProtocol(const QString& numberText, const QString& module,
                                       const QString& procedure, int line) const {
    const QChar tab(QLatin1Char('\t'));
    QStringList l;
    l << QString(70, QLatin1Char('-'));
    l << QString(10, QLatin1Char(' ')) + texts_(136);
    l << texts_(146).toUpper() << progInfo_;
    l << texts_(147).toUpper();
    l << texts_(151) + tab + numberText;
    l << texts_(150) + tab + module;
    l << texts_(149) + tab + procedure;
    l << texts_(148) + tab + QString::number(line);
    const QDateTime now = clock_.now();
    l << texts_(130) + tab + now.date().toString(QStringLiteral("dd.MM.yyyy")) +
             QStringLiteral(" / ") + now.time().toString(QStringLiteral("HH:mm:ss"));
    l << texts_(TextNo::CallStackCaption).toUpper();
    l << callStack_;
    l << texts_(131);
    // The system lines name the Linux kernel and the distribution.
    l << QStringLiteral("Plattform:") + tab + QSysInfo::kernelType();
    l << QStringLiteral("Version:") + tab + QSysInfo::kernelVersion().section(QLatin1Char('.'), 0, 1);
    l << QStringLiteral("Build:") + tab + QSysInfo::kernelVersion() + QStringLiteral("   ") +
             QSysInfo::prettyProductName();
    return l.join(kCrLf);
}

bool ErrorProtocol::appendToErrorFile(const QString& text) const {
    QFile f(errorFile());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const QByteArray bytes = toAnsi(text);
    const bool ok = f.write(bytes) == bytes.size();
    return f.flush() && ok;
}

QStringList ErrorProtocol::wrapForPrint(const QString& protocol) {
    QStringList out;
    const QStringList lines = (protocol + kCrLf).split(kCrLf);
    for (qsizetype i = 0; i + 1 < lines.size(); ++i) {
        const QStringList words = (lines[i] + QLatin1Char(' ')).split(QLatin1Char(' '));
        QString current;
        qsizetype column = 0;
        for (qsizetype w = 0; w + 1 < words.size(); ++w) {
            const QString word = words[w] + QLatin1Char(' ');
            column += word.size();
            if (column > kPrintColumns) {
                if (!current.isEmpty()) out << current;
                current = QString(20, QLatin1Char(' '));
                column = word.size();
            }
            current += word;
        }
        out << current;
    }
    return out;
}

void ErrorProtocol::printProtocol() {
    QString error;
    QString pdf;
    if (!printer_.printLines(texts_(136), wrapForPrint(protocol_), &error, &pdf))
        tellOperator(op_, texts_, texts_(TextNo::PrintFailed) + error);
    else if (!pdf.isEmpty())
        tellOperator(op_, texts_, texts_(TextNo::PrintedToFile) + pdf);
}

void ErrorProtocol::storeProtocol() {
    // The protocol goes into a file of its own: replacing ZEV3.ERR would wipe the
    // history of every earlier failure.
    const QString file = QDir(programDir_).filePath(
        clock_.now().toString(QStringLiteral("'ZEV3_'yyyyMMdd_HHmmss'.ERR'")));
    if (QFile::exists(file)) {
        const int answer = op_.notice(texts_(132) + file + texts_(133), texts_(TextNo::Yes),
                                      QString(), texts_(TextNo::No), kNoticeQuestion);
        if (answer != 1) return;
    }
    QFile f(file);
    const QByteArray bytes = toAnsi(protocol_);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
        tellOperator(op_, texts_, texts_(TextNo::FileWriteFailed) + file);
        return;
    }
    tellOperator(op_, texts_, texts_(134) + file + texts_(135));
}

QString ErrorProtocol::ReadErrorFile() const {
    QFile f(errorFile());
    if (!f.exists() || !f.open(QIODevice::ReadOnly)) return texts_(302);
    if (f.size() > kMaxShownLog) f.seek(f.size() - kMaxShownLog);
    QStringList lines;
    while (!f.atEnd()) {
        QByteArray raw = f.readLine();
        while (raw.endsWith('\n') || raw.endsWith('\r')) raw.chop(1);
        lines << profile::fromWindows1252(raw);
    }
    return lines.join(kCrLf);
}

bool ErrorProtocol::deleteErrorLog() {
    const QString file = errorFile();
    return !QFile::exists(file) || QFile::remove(file);
}

}  // namespace zev
