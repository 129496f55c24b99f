// The simulated plant on the bus library's in-process line: the real library
// and the real protocol, without a serial device and without line timing.
//
//     zevsim::InProcessBus bus({{16}, {8}});   // two controllers, 16 and 8 channels
//     bus.startScan();                          // as identification would leave it
//     bus.plant().inject({FaultKind::BrokenSensor, 1, 3});
//     bus.advance(5.0);                         // plant time
//     bus.waitForScan();                        // values read after the change
//     ZEV485_GetVal(1, 3, 3);
//
// Construction installs the loopback peer and opens the master port through
// ZEV485_SetMasterPort; destruction closes it, removes the peer and returns
// the library to the state it has after loading (scan and logging off, every
// address offline with 0 channels, statistics cleared). One bus at a time.
#pragma once

#include <chrono>
#include <memory>
#include <vector>

#include "plant/plant.h"
#include "responder.h"

namespace zevsim {

struct InProcessBusOptions {
    int port = 1;
    int mode = 0;
    long baud = 19200;
    int timeoutMs = 200;
    int retries = 2;
};

class InProcessBus {
public:
    explicit InProcessBus(std::vector<ControllerConfig> controllers,
                          InProcessBusOptions options = {});
    ~InProcessBus();
    InProcessBus(const InProcessBus&) = delete;
    InProcessBus& operator=(const InProcessBus&) = delete;

    Plant& plant() { return *plant_; }
    const Responder& responder() const { return *responder_; }
    Responder& responder() { return *responder_; }

    // Runs the plant model for this many seconds of plant time.
    void advance(double seconds);

    // Tells the library the channel counts and masters, sets every controller
    // online and enables the cyclic scan; returns after the first complete scan.
    void startScan();

    // Waits until a scan that started after this call has completed; false on time-out.
    bool waitForScan(std::chrono::milliseconds timeout = std::chrono::seconds(5));

private:
    std::unique_ptr<Plant> plant_;
    std::unique_ptr<Responder> responder_;
};

}  // namespace zevsim
