#include "responder.h"

#include "plant_commands.h"
#include "wire/command.h"

namespace zevsim {
namespace wire = zev485::wire;

Responder::Responder(Plant& plant) : plant_(plant) {}

std::vector<std::string> Responder::receive(std::string_view bytes) {
    std::lock_guard lock(mutex_);
    std::vector<std::string> frames;
    splitter_.feed(bytes, frames);
    std::vector<std::string> replies;
    for (const std::string& content : frames) {
        std::string reply = answer(content);
        if (observer_)
            observer_(content, reply);
        if (!reply.empty())
            replies.push_back(std::move(reply));
    }
    return replies;
}

void Responder::setObserver(Observer observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

ResponderCounts Responder::counts() const {
    std::lock_guard lock(mutex_);
    return counts_;
}

std::string Responder::answer(const std::string& content) {
    wire::Request request;
    if (wire::parseRequest(content, request) != wire::FrameError::None) {
        ++counts_.badRequests;
        return {};
    }
    ++counts_.requests;
    const auto cmd = wire::parseCommand(request.body);
    if (request.address == 0) {
        ++counts_.broadcasts;
        if (cmd)
            executeBroadcast(plant_, *cmd);
        return {};
    }
    if (!plant_.present(request.address))
        return {};
    if (plant_.silent(request.address)) {
        ++counts_.silent;
        return {};
    }
    std::optional<std::string> body;
    if (cmd)
        body = executeCommand(plant_, *cmd);
    else  // a command of unknown shape: the controller refuses it
        body = wire::addressText(request.address) + wire::kNak;
    if (!body)
        return {};
    ++counts_.answered;
    const bool block = cmd && cmd->kind == wire::Command::Kind::Block;
    if (block)
        ++counts_.blockReads;
    if (plant_.garbled(request.address)) {
        ++counts_.garbled;
        return garble(*body, request.check, block);
    }
    return wire::encodeFrame(*body, request.check);
}

std::string Responder::garble(const std::string& body, std::uint8_t seed, bool block) {
    const unsigned turn = garbleTurn_++ % (block ? 4u : 3u);
    std::string frame = wire::encodeFrame(body, seed);
    switch (turn) {
    case 0:  // a bit flipped on the line
        frame[1 + body.size() / 2] ^= 0x04;
        return frame;
    case 1:  // the controller stops in mid-frame
        return frame.substr(0, 1 + body.size());
    case 2: {  // a reply that claims another address
        std::string other = body;
        other[2] = other[2] == '9' ? '0' : static_cast<char>(other[2] + 1);
        return wire::encodeFrame(other, seed);
    }
    default: {  // damaged data under a correct frame check
        std::string damaged = body;
        damaged[damaged.size() / 2 + 2] ^= 0x01;  // stays inside the block alphabet
        return wire::encodeFrame(damaged, seed);
    }
    }
}

}  // namespace zevsim
