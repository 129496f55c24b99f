// libFuzzer target of everything that decodes bytes from the line: the frame
// splitter, request and reply checks, the command parser and the block decoder.
// Besides "no crash, no sanitizer report" it checks that a block that decodes
// encodes back to a payload that decodes to the same values.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "wire/block.h"
#include "wire/command.h"
#include "wire/frame.h"

using namespace zev485::wire;

namespace {

void checkBlock(std::string_view payload) {
    Block block;
    if (decodeBlock(payload, block) != BlockError::None)
        return;
    Block again;
    if (decodeBlock(encodeBlock(block), again) != BlockError::None || !(again == block))
        std::abort();
}

void checkContent(const std::string& content, std::uint8_t seed, int address) {
    Request request;
    if (parseRequest(content, request) == FrameError::None) {
        if (request.address < 0 || request.address > 99)
            std::abort();
        if (const auto cmd = parseCommand(request.body); cmd && cmd->address != request.address)
            std::abort();
    }
    Reply reply;
    if (parseReply(content, seed, address, reply) == FrameError::None) {
        if (reply.address != address)
            std::abort();
        if (reply.kind == Reply::Kind::Value)
            checkBlock(reply.value);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2)
        return 0;
    // The first two bytes choose the reply seed and the expected address.
    const std::uint8_t seed = data[0];
    const int address = data[1] % 100;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);

    // Whole and in pieces: a frame split across reads must decode alike.
    FrameSplitter whole;
    FrameSplitter pieces;
    std::vector<std::string> a;
    std::vector<std::string> b;
    whole.feed(bytes, a);
    for (std::size_t i = 0; i < bytes.size(); i += 7)
        pieces.feed(bytes.substr(i, 7), b);
    if (a != b)
        std::abort();
    for (const std::string& content : a) {
        if (content.size() > kMaxFrame)
            std::abort();
        checkContent(content, seed, address);
    }

    checkBlock(bytes);
    (void)parseCommand(bytes);
    (void)parseValue(bytes);
    return 0;
}
