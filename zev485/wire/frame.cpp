#include "frame.h"

#include "check.h"

namespace zev485::wire {
namespace {

constexpr char kHex[] = "0123456789ABCDEF";

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Splits content into body and check characters and verifies the check.
FrameError splitChecked(std::string_view content, std::uint8_t seed, std::string_view& body) {
    if (content.size() < 6)  // "Gnn" + 1 + CC
        return FrameError::TooShort;
    if (content.size() > kMaxBody + 2)
        return FrameError::BadShape;
    body = content.substr(0, content.size() - 2);
    const int high = hexValue(content[content.size() - 2]);
    const int low = hexValue(content[content.size() - 1]);
    if (high < 0 || low < 0)
        return FrameError::BadCheck;
    if (static_cast<std::uint8_t>(high * 16 + low) != crc8(body, seed))
        return FrameError::BadCheck;
    return FrameError::None;
}

bool parseAddress(std::string_view body, int& address) {
    if (body.size() < 3 || body[0] != 'G' || !isDigit(body[1]) || !isDigit(body[2]))
        return false;
    address = (body[1] - '0') * 10 + (body[2] - '0');
    return true;
}

}  // namespace

std::string checkText(std::uint8_t check) {
    return std::string{kHex[check >> 4], kHex[check & 0x0F]};
}

std::string encodeFrame(std::string_view body, std::uint8_t seed) {
    std::string frame;
    frame.reserve(body.size() + 4);
    frame += kStx;
    frame += body;
    frame += checkText(crc8(body, seed));
    frame += kEtx;
    return frame;
}

void FrameSplitter::feed(std::string_view bytes, std::vector<std::string>& frames) {
    for (char c : bytes) {
        if (c == kStx) {
            if (inFrame_)
                ++counts_.brokenFrames;
            inFrame_ = true;
            current_.clear();
        } else if (!inFrame_) {
            ++counts_.noiseBytes;
        } else if (c == kEtx) {
            frames.push_back(std::move(current_));
            current_.clear();
            inFrame_ = false;
        } else if (current_.size() >= kMaxFrame) {
            ++counts_.brokenFrames;
            current_.clear();
            inFrame_ = false;
        } else {
            current_ += c;
        }
    }
}

void FrameSplitter::reset() {
    if (inFrame_)
        ++counts_.brokenFrames;
    current_.clear();
    inFrame_ = false;
}

const char* frameErrorText(FrameError error) {
    switch (error) {
    case FrameError::None: return "ok";
    case FrameError::TooShort: return "frame too short";
    case FrameError::BadCharacter: return "bad character in frame";
    case FrameError::BadCheck: return "check characters wrong";
    case FrameError::WrongAddress: return "reply from another address";
    case FrameError::BadShape: return "frame of unknown shape";
    }
    return "?";
}

FrameError parseRequest(std::string_view content, Request& out) {
    std::string_view body;
    if (const FrameError e = splitChecked(content, 0, body); e != FrameError::None)
        return e;
    for (unsigned char c : body)
        if (c < 0x20 || c > 0x7E)
            return FrameError::BadCharacter;
    if (!parseAddress(body, out.address))
        return FrameError::BadShape;
    out.body = body;
    out.command = body.substr(3);
    out.check = crc8(body, 0);
    return FrameError::None;
}

FrameError parseReply(std::string_view content, std::uint8_t requestCheck, int expectedAddress,
                      Reply& out) {
    std::string_view body;
    if (const FrameError e = splitChecked(content, requestCheck, body); e != FrameError::None)
        return e;
    if (!parseAddress(body, out.address))
        return FrameError::BadShape;
    const char marker = body[3];
    if (marker == '=') {
        out.kind = Reply::Kind::Value;
        out.value = body.substr(4);
        for (unsigned char c : out.value)
            if (c < 0x20)
                return FrameError::BadCharacter;
    } else if ((marker == kAck || marker == kNak) && body.size() == 4) {
        out.kind = marker == kAck ? Reply::Kind::Ack : Reply::Kind::Nak;
        out.value = {};
    } else {
        return FrameError::BadShape;
    }
    if (out.address != expectedAddress)
        return FrameError::WrongAddress;
    return FrameError::None;
}

}  // namespace zev485::wire
