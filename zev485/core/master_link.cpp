#include "master_link.h"

#include <algorithm>
#include <thread>
#include <vector>

#include "bus_constants.h"
#include "wire/check.h"

namespace zev485 {

MasterLink::MasterLink(std::unique_ptr<Transport> transport, LinkTiming timing, ComStats& stats)
    : transport_(std::move(transport)), timing_(timing), stats_(stats) {}

std::chrono::nanoseconds MasterLink::bytesTime(std::size_t n) const {
    return transport_->byteTime() * static_cast<long>(n);
}

void MasterLink::waitForTurnaround() {
    if (transport_->byteTime().count() == 0)
        return;
    std::this_thread::sleep_until(lineFreeAt_ + bytesTime(kTurnaroundBytes));
}

bool MasterLink::recover() {
    if (!portFailed_)
        return true;
    portFailed_ = !transport_->recover();
    return !portFailed_;
}

Outcome MasterLink::sendFrame(std::string_view frame) {
    transport_->discardInput();
    splitter_.reset();
    waitForTurnaround();
    const auto sendDeadline = SteadyClock::now() + std::chrono::seconds(1) + bytesTime(frame.size());
    switch (transport_->send(frame, sendDeadline)) {
    case IoResult::Interrupted: return Outcome::Interrupted;
    case IoResult::Data: break;
    default:
        portFailed_ = true;
        return Outcome::PortFailed;
    }
    lineFreeAt_ = SteadyClock::now() + bytesTime(frame.size());
    return Outcome::Answered;
}

Outcome MasterLink::attempt(int address, std::string_view frame, std::string_view content,
                            std::uint8_t check, const ReplyCheck& accept, Answer& answer) {
    if (const Outcome sent = sendFrame(frame); sent != Outcome::Answered)
        return sent;

    const auto byteTime = transport_->byteTime();
    const auto latency = transport_->extraLatency();
    const auto gap = std::max<std::chrono::nanoseconds>(byteTime * kInterByteGapBytes,
                                                        kMinInterByteGap) + latency;
    auto deadline = lineFreeAt_ + timing_.answerTimeout + latency;
    // A line that babbles without ever completing a frame must not hold us longer.
    const auto hardStop = deadline + gap + bytesTime(2 * wire::kMaxFrame);
    const auto noiseAtStart = splitter_.counts().noiseBytes;

    std::string received;
    std::vector<std::string> frames;
    for (;;) {
        received.clear();
        const IoResult r = transport_->receive(received, std::min(deadline, hardStop));
        if (r == IoResult::Interrupted)
            return Outcome::Interrupted;
        if (r == IoResult::Failed) {
            portFailed_ = true;
            return Outcome::PortFailed;
        }
        if (r == IoResult::Timeout) {
            const bool sawBytes = splitter_.partial() || splitter_.counts().noiseBytes != noiseAtStart;
            return sawBytes ? Outcome::Damaged : Outcome::NoAnswer;
        }
        const auto now = SteadyClock::now();
        lineFreeAt_ = now;
        deadline = now + gap;
        frames.clear();
        splitter_.feed(received, frames);
        if (frames.empty() && splitter_.partial() && byteTime.count() > 0)
            std::this_thread::sleep_for(byteTime * kReadBatchBytes);
        for (const std::string& f : frames) {
            if (f == content)
                continue;  // our own request echoed by the converter
            wire::Reply reply;
            if (wire::parseReply(f, check, address, reply) != wire::FrameError::None)
                return Outcome::Damaged;
            answer.kind = reply.kind;
            answer.value.assign(reply.value);
            answer.raw = f;
            answer.raw += wire::kEtx;
            if (accept && !accept(answer))
                return Outcome::Damaged;
            return Outcome::Answered;
        }
    }
}

Exchange MasterLink::transact(int address, std::string_view body, int tries,
                              const ReplyCheck& accept) {
    const std::uint8_t check = wire::crc8(body, 0);
    const std::string frame = wire::encodeFrame(body, 0);
    const std::string_view content = std::string_view(frame).substr(1, frame.size() - 2);

    Exchange ex;
    bool damaged = false;
    for (int i = 0; i < std::max(tries, 1); ++i) {
        ex.outcome = attempt(address, frame, content, check, accept, ex.answer);
        if (ex.outcome == Outcome::Interrupted)
            return ex;
        if (ex.outcome == Outcome::Answered) {
            stats_.countGood(address);
            return ex;
        }
        stats_.countError(address);
        damaged = damaged || ex.outcome == Outcome::Damaged;
        if (ex.outcome == Outcome::PortFailed)
            return ex;
    }
    // A controller that answered garbage at least once is not merely silent.
    if (damaged)
        ex.outcome = Outcome::Damaged;
    return ex;
}

Outcome MasterLink::broadcast(std::string_view body) {
    const std::string frame = wire::encodeFrame(body, 0);
    return sendFrame(frame);
}

}  // namespace zev485
