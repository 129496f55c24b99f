// A clock that stands still until a test moves it. advance() moves the wall
// clock and the monotonic reading together; set() only sets the wall clock, as
// an operator setting the date and time would.
#pragma once

#include "base/clock.h"

namespace zev::test {

class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 3, 2), QTime(8, 0)))
        : now_(std::move(start)) {}
    QDateTime now() const override { return now_; }
    qint64 monotonicMs() const override { return monotonic_; }
    void set(const QDateTime& t) { now_ = t; }
    void advance(double seconds) {
        const auto ms = static_cast<qint64>(seconds * 1000.0);
        now_ = now_.addMSecs(ms);
        monotonic_ += ms;
    }

private:
    QDateTime now_;
    qint64 monotonic_ = 1'000'000;
};

}  // namespace zev::test
