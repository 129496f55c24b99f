// The error protocol: every unexpected run-time failure ends here. OnError
// composes the failure protocol, appends it to ZEV3.ERR in the program
// directory, shows the error dialog and returns the operator's choice:
// 0 repeat the failing step, 1 continue with the next, 2 leave the procedure,
// 3 end the program. Guarded procedures (support/procedure.h) carry the choice out.
#pragma once

#include "support/operator.h"
#include "support/report.h"

#include <QString>
#include <QStringList>
#include <exception>

namespace zev {

class Clock;
class Lifecycle;
class Printer;
class Texts;

enum ErrorChoice { kRepeat = 0, kContinue = 1, kLeave = 2, kEndProgram = 3 };

// Exit status of a program ended from the error dialog.
constexpr int kExitAfterFailure = 4;

class ErrorProtocol final : private ErrorReportActions {
public:
    ErrorProtocol(Texts& texts, Operator& op, const Clock& clock, Lifecycle& lifecycle,
                  Printer& printer, QString programDir);

    // Reports the exception being handled (call inside a catch block): its
    // description in the operator's language, then its technical detail.
    int OnError(const QString& module, const QString& procedure, int line = 0);
    // Reports the given failure.
    int OnError(const QString& module, const QString& procedure, int number,
                const QString& description, int line);

    void CallStack(const QString& entry);
    // A guarded procedure begins: "module.procedure" goes to the top of the call
    // stack. One that is listed already moves up instead of being listed twice,
    // so that the ticks of the timers cannot push everything else out.
    void enterProcedure(const QString& module, const QString& procedure);
    void SetProgInfo(const QString& text) { progInfo_ = text; }
    const QStringList& callStack() const { return callStack_; }
    bool busy() const { return busy_; }

    QString errorFile() const;            // <program directory>/ZEV3.ERR
    // The configuration view's error log: the file's text, or text 302 when absent.
    QString ReadErrorFile() const;
    // Deletes the error log (the caller has checked the level).
    bool deleteErrorLog();

    // The protocol of the failure being shown (or last shown).
    const QString& protocol() const { return protocol_; }
    // Print layout: words kept whole, a new line after column 73 indented by 20.
    static QStringList wrapForPrint(const QString& protocol);
    // What printing sends to the printer: the wrapped protocol in a fixed-pitch
    // font, with page numbers.
    Report protocolReport() const;

    void printProtocol() override;
    void storeProtocol() override;

private:
    QString composeProtocol(const QString& numberText, const QString& module,
                            const QString& procedure, int line) const;
    bool appendToErrorFile(const QString& text) const;

    Texts& texts_;
    Operator& op_;
    const Clock& clock_;
    Lifecycle& lifecycle_;
    Printer& printer_;
    QString programDir_;
    QString progInfo_;
    QStringList callStack_;
    QString protocol_;
    bool busy_ = false;
};

}  // namespace zev
