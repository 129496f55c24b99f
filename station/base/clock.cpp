#include "base/clock.h"

#include <cmath>

namespace zev {

namespace {
const QDate kSerialEpoch(1899, 12, 30);
}

double Clock::secondsSinceMidnight() const {
    const QTime t = now().time();
    return t.msecsSinceStartOfDay() / 1000.0;
}

double Clock::dateSerial() const { return toDateSerial(now()); }

double Clock::toDateSerial(const QDateTime& t) {
    const double days = static_cast<double>(kSerialEpoch.daysTo(t.date()));
    return days + t.time().msecsSinceStartOfDay() / 86400000.0;
}

QDateTime Clock::fromDateSerial(double serial) {
    const double whole = std::floor(serial);
    const QDate date = kSerialEpoch.addDays(static_cast<qint64>(whole));
    const int ms = static_cast<int>(std::llround((serial - whole) * 86400000.0));
    return QDateTime(date, QTime(0, 0).addMSecs(std::min(ms, 86399999)));
}

}  // namespace zev
