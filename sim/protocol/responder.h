// The simulated controllers on the line: decodes request frames from the byte
// stream and answers them from the plant. A controller with the fault
// ControllerSilent answers nothing; one with GarbledReplies answers with
// damaged frames, in turn: a flipped bit, a frame cut before its check
// characters, the reply of another address, and (block replies) a payload byte
// changed under a correct frame check. Damaged requests are not answered.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "plant/plant.h"
#include "wire/frame.h"

namespace zevsim {

struct ResponderCounts {
    std::uint64_t requests = 0;        // well-formed request frames
    std::uint64_t answered = 0;        // replies sent (garbled ones included)
    std::uint64_t garbled = 0;
    std::uint64_t silent = 0;          // requests a silent controller ignored
    std::uint64_t broadcasts = 0;
    std::uint64_t badRequests = 0;     // frames with a wrong check or shape
    std::uint64_t blockReads = 0;
};

class Responder {
public:
    explicit Responder(Plant& plant);

    // Bytes from the master; one reply frame per request that gets an answer,
    // in request order. Safe to call from any thread (one call at a time is served).
    std::vector<std::string> receive(std::string_view bytes);

    ResponderCounts counts() const;

    // Sees every request frame content and the reply bytes sent for it (empty: none).
    using Observer = std::function<void(std::string_view request, std::string_view reply)>;
    void setObserver(Observer observer);

private:
    std::string answer(const std::string& content);
    std::string garble(const std::string& body, std::uint8_t seed, bool block);

    Plant& plant_;
    mutable std::mutex mutex_;
    zev485::wire::FrameSplitter splitter_;
    ResponderCounts counts_;
    unsigned garbleTurn_ = 0;
    Observer observer_;
};

}  // namespace zevsim
