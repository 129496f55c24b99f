#include "in_process_bus.h"

#include <stdexcept>

#include "zev485.h"
#include "zev485_diag.h"
#include "zev485_loopback.h"

namespace zevsim {
namespace {

constexpr int kAddresses = 99;

class ResponderPeer final : public zev485::LoopbackPeer {
public:
    explicit ResponderPeer(Responder& responder) : responder_(responder) {}
    std::string exchange(std::string_view written) override {
        std::string line;
        for (const std::string& reply : responder_.receive(written))
            line += reply;
        return line;
    }

private:
    Responder& responder_;
};

void resetLibrary() {
    ZEV485_EnableCyclicScan(0);
    ZEV485_FileLogging(0);
    ZEV485_SetLogFileDir("");
    for (int a = 1; a <= kAddresses; ++a) {
        ZEV485_SetOnline(static_cast<uint8_t>(a), 0);
        ZEV485_Set_AnzKan(static_cast<uint8_t>(a), 0);
        ZEV485_Set_Master(static_cast<uint8_t>(a), 0);
    }
    ZEV485_ResComStatus();
}

}  // namespace

InProcessBus::InProcessBus(std::vector<ControllerConfig> controllers, InProcessBusOptions options)
    : plant_(std::make_unique<Plant>(std::move(controllers))),
      responder_(std::make_unique<Responder>(*plant_)) {
    zev485::installLoopbackPeer(std::make_shared<ResponderPeer>(*responder_));
    const auto opened = ZEV485_SetMasterPort(
        static_cast<uint8_t>(options.port), static_cast<int16_t>(options.mode),
        static_cast<int32_t>(options.baud), static_cast<int16_t>(options.timeoutMs),
        static_cast<int16_t>(options.retries));
    if (opened != 1) {
        zev485::removeLoopbackPeer();
        throw std::runtime_error("InProcessBus: master port did not open");
    }
}

InProcessBus::~InProcessBus() {
    ZEV485_SetMasterPort(0, 0, 0, 0, 0);  // the line is gone before the plant is
    zev485::removeLoopbackPeer();
    resetLibrary();
}

void InProcessBus::advance(double seconds) { plant_->advance(seconds); }

void InProcessBus::startScan() {
    for (int a = 1; a <= plant_->controllerCount(); ++a) {
        const auto address = static_cast<uint8_t>(a);
        ZEV485_Set_AnzKan(address, static_cast<uint8_t>(plant_->config(a).channels));
        ZEV485_Set_Master(address, static_cast<uint8_t>(plant_->masterOf(a)));
        ZEV485_SetOnline(address, 1);
    }
    ZEV485_EnableCyclicScan(1);
    waitForScan();
}

bool InProcessBus::waitForScan(std::chrono::milliseconds timeout) {
    // The scan running now may have read the plant before the caller changed it.
    return zev485::waitForScans(zev485::completedScans() + 2, timeout);
}

}  // namespace zevsim
