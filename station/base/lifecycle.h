// How any part of the program asks to end it: the request is remembered and the
// main window leaves through its normal exit path as soon as control returns to
// the event loop. Long procedures test exitRequested() between their steps.
#pragma once

#include <functional>

namespace zev {

class Lifecycle {
public:
    virtual ~Lifecycle() = default;
    virtual void requestExit(int exitCode) = 0;
    virtual bool exitRequested() const = 0;
    virtual int exitCode() const = 0;
};

// The plain implementation: remembers the request and calls a hook once.
class ExitRequest final : public Lifecycle {
public:
    template <class F> void onRequest(F f) { hook_ = std::move(f); }
    void requestExit(int code) override {
        if (requested_) return;
        requested_ = true;
        code_ = code;
        if (hook_) hook_(code);
    }
    bool exitRequested() const override { return requested_; }
    int exitCode() const override { return code_; }

private:
    bool requested_ = false;
    int code_ = 0;
    std::function<void(int)> hook_;
};

}  // namespace zev
