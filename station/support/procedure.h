// Guarded procedures. A procedure that can fail at run time is written as a
// sequence of steps; an exception in a step goes to the error dialog and the
// operator's choice is carried out here:
//   0 repeat: the failing step runs again (the dialog shows again if it fails again),
//   1 continue: the procedure goes on with the next step,
//   2 leave: the remaining steps are skipped,
//   3 end: the remaining steps are skipped and the program leaves through its
//     exit path (ErrorProtocol requests it).
// The line number in the protocol is the line of the failing step. Each
// procedure enters its name in the error protocol's call stack when it begins.
#pragma once

#include "support/error_protocol.h"

#include <QString>
#include <source_location>

namespace zev {

class Procedure {
public:
    Procedure(ErrorProtocol& errors, QString module, QString name)
        : errors_(errors), module_(std::move(module)), name_(std::move(name)) {
        errors_.enterProcedure(module_, name_);
    }

    // Runs one step unless the procedure was left. Returns false once it was left.
    template <class F>
    bool step(F&& f, std::source_location where = std::source_location::current()) {
        while (!left_) {
            try {
                f();
                return true;
            } catch (...) {
                switch (errors_.OnError(module_, name_, static_cast<int>(where.line()))) {
                case kRepeat: continue;
                case kContinue: return true;
                default: left_ = true; return false;
                }
            }
        }
        return false;
    }
    // Leaves the procedure on purpose (an early return between steps).
    void leave() { left_ = true; }
    bool left() const { return left_; }

private:
    ErrorProtocol& errors_;
    QString module_;
    QString name_;
    bool left_ = false;
};

// A procedure of one step: event handlers and timer ticks.
template <class F>
bool guarded(ErrorProtocol& errors, const QString& module, const QString& name, F&& f,
             std::source_location where = std::source_location::current()) {
    Procedure p(errors, module, name);
    return p.step(std::forward<F>(f), where);
}

}  // namespace zev
