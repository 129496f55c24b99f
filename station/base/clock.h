// The program's notion of now. Every date, time of day and "seconds since
// midnight" comes from one injectable clock, so that day changes and the login
// fall-back are tested without waiting.
#pragma once

#include <QDateTime>

namespace zev {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;

    QDate today() const { return now().date(); }
    // Seconds since local midnight, with the fraction of the current second.
    double secondsSinceMidnight() const;
    // Days since 30 December 1899, the time as the fraction of a day.
    double dateSerial() const;
    static double toDateSerial(const QDateTime& t);
    static QDateTime fromDateSerial(double serial);
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

}  // namespace zev
