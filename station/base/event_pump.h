// Long operations (identification, transfers, diagnosis) run inside one event
// and let pending events run between their steps through this pump. In the
// program it processes Qt events; in tests it steps a fake clock and the simulator.
#pragma once

namespace zev {

class Clock;

class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void yield() = 0;
};

// Lets pending events run until the given seconds have passed on the clock.
void Wait(EventPump& pump, const Clock& clock, double seconds);

}  // namespace zev
