// A clock that stands still until a test moves it.
#pragma once

#include "base/clock.h"

namespace zev::test {

class FakeClock final : public Clock {
public:
    explicit FakeClock(QDateTime start = QDateTime(QDate(2026, 3, 2), QTime(8, 0)))
        : now_(std::move(start)) {}
    QDateTime now() const override { return now_; }
    void set(const QDateTime& t) { now_ = t; }
    void advance(double seconds) { now_ = now_.addMSecs(static_cast<qint64>(seconds * 1000.0)); }

private:
    QDateTime now_;
};

}  // namespace zev::test
