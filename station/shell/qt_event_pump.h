// The program's event pump: lets pending Qt events run.
#pragma once

#include "base/event_pump.h"

#include <QCoreApplication>
#include <QThread>

namespace zev {

class QtEventPump final : public EventPump {
public:
    void yield() override {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        // Waiting loops call this in a row: do not spin a core meanwhile.
        QThread::msleep(2);
    }
};

}  // namespace zev
