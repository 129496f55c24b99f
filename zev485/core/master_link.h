// Telegrams on the master line: one request, one reply, with the answer
// time-out, the gap allowed inside a reply, the half-duplex turnaround and the
// repetitions; every try is counted in the statistics of its address.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "com_stats.h"
#include "wire/frame.h"
#include "transport.h"

namespace zev485 {

struct LinkTiming {
    std::chrono::milliseconds answerTimeout{200};  // until the first byte of the reply
    int retries = 2;                               // repetitions after a failed try
};

enum class Outcome {
    Answered,
    NoAnswer,     // silence
    Damaged,      // bytes came, but no acceptable reply among them
    PortFailed,   // the device failed or is gone
    Interrupted,  // the port is being closed
};

struct Answer {
    wire::Reply::Kind kind = wire::Reply::Kind::Nak;
    std::string value;  // of a value reply
    std::string raw;    // reply as handed to ZEV485_Ask: body, check characters, ETX
};

struct Exchange {
    Outcome outcome = Outcome::NoAnswer;
    Answer answer;
};

// Extra acceptance test of a reply (a block that does not decode is damaged).
using ReplyCheck = std::function<bool(const Answer&)>;

class MasterLink {
public:
    MasterLink(std::unique_ptr<Transport> transport, LinkTiming timing, ComStats& stats);

    // Tries the request up to `tries` times; stops early when the port fails.
    Exchange transact(int address, std::string_view body, int tries, const ReplyCheck& accept = {});
    // A request to address 00: nobody answers.
    Outcome broadcast(std::string_view body);

    int tries() const { return timing_.retries + 1; }
    void interrupt() { transport_->interrupt(); }
    bool portFailed() const { return portFailed_; }
    // Reopens a failed device (at most once a second); true when usable.
    bool recover();

private:
    Outcome attempt(int address, std::string_view frame, std::string_view content,
                    std::uint8_t check, const ReplyCheck& accept, Answer& answer);
    Outcome sendFrame(std::string_view frame);
    void waitForTurnaround();
    std::chrono::nanoseconds bytesTime(std::size_t n) const;

    std::unique_ptr<Transport> transport_;
    LinkTiming timing_;
    ComStats& stats_;
    wire::FrameSplitter splitter_;
    SteadyClock::time_point lineFreeAt_{};
    bool portFailed_ = false;
};

}  // namespace zev485
