#include "base/event_pump.h"

#include "base/clock.h"

namespace zev {

void Wait(EventPump& pump, const Clock& clock, double seconds) {
    const QDateTime end = clock.now().addMSecs(static_cast<qint64>(seconds * 1000.0));
    while (clock.now() < end)
        pump.yield();
}

}  // namespace zev
