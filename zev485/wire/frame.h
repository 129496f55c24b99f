// Framing of the RS485 line: STX, body, two check characters, ETX.
//
// A request body is the text command itself ("G01?KAN="), a reply body is
// "G" + address + "=" + value, or "G" + address + ACK or NAK. The check
// characters are the CRC-8 of the body in two upper-case hex digits; a request
// is checked from seed 0, a reply from the check value of the request it
// answers, so that a late reply to an earlier telegram is never taken for the
// answer to the current one.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zev485::wire {

inline constexpr char kStx = '\x02';
inline constexpr char kEtx = '\x03';
inline constexpr char kAck = '\x06';
inline constexpr char kNak = '\x15';

// Longest body; a frame is at most kMaxBody + 4 bytes on the line.
inline constexpr std::size_t kMaxBody = 250;
inline constexpr std::size_t kMaxFrame = kMaxBody + 4;

// Two upper-case hex digits of a check value.
std::string checkText(std::uint8_t check);

// STX body CC ETX with CC = crc8(body, seed).
std::string encodeFrame(std::string_view body, std::uint8_t seed);

// Splits the byte stream of a line into frame contents (the bytes between STX
// and ETX: body and check characters). Bytes outside a frame are noise; an STX
// inside a frame or a frame longer than kMaxFrame breaks the partial frame.
class FrameSplitter {
public:
    struct Counts {
        std::uint64_t noiseBytes = 0;
        std::uint64_t brokenFrames = 0;
    };

    void feed(std::string_view bytes, std::vector<std::string>& frames);
    void reset();  // forget a partial frame
    bool partial() const { return inFrame_; }
    const Counts& counts() const { return counts_; }

private:
    std::string current_;
    bool inFrame_ = false;
    Counts counts_;
};

enum class FrameError {
    None,
    TooShort,      // fewer bytes than "Gnn" + one character + check characters
    BadCharacter,  // a byte the body of this frame kind may not carry
    BadCheck,      // check characters wrong or not hex
    WrongAddress,  // a reply from another address than the one asked
    BadShape,      // not "Gnn" + command, or not "Gnn=", "Gnn" ACK, "Gnn" NAK
};

const char* frameErrorText(FrameError error);

struct Request {
    int address = 0;           // 0 = broadcast
    std::string_view body;     // "G01?KAN="
    std::string_view command;  // the text after the address: "?KAN="
    std::uint8_t check = 0;    // seed of the reply's check
};

// A request frame content: printable ASCII body, "G" + two digits + command.
FrameError parseRequest(std::string_view content, Request& out);

struct Reply {
    enum class Kind { Value, Ack, Nak };
    int address = 0;
    Kind kind = Kind::Nak;
    std::string_view value;  // Value replies: the text after "="
};

// A reply frame content answering the request with check value requestCheck,
// expected from expectedAddress.
FrameError parseReply(std::string_view content, std::uint8_t requestCheck, int expectedAddress,
                      Reply& out);

}  // namespace zev485::wire
