// The text commands carried in request bodies, and the value texts of replies.
//
//   G aa mnemonic = [value]        controller value ("?KAN", "?ENA", "XRES", ...)
//   G aa ?BLK =                    block read: every channel's values at once
//   G aa KALP pp =                 zone parameter pp of every channel, 4 characters each
//   G aa K cc P pp = [value]       zone parameter pp of channel cc
//   G aa K cc item = [value]       zone value: W setpoint, X actual value, S status
//                                  word, Y output %, I current 0.1 A, M mode,
//                                  T self-tuning, Q tuning-fault acknowledge
// aa = 00 is a broadcast that every controller carries out and none answers.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zev485::wire {

// Zone items (the letter after "Kcc").
inline constexpr char kItemParameter = 'P';
inline constexpr char kItemSetpoint = 'W';
inline constexpr char kItemActual = 'X';
inline constexpr char kItemStatus = 'S';
inline constexpr char kItemOutput = 'Y';
inline constexpr char kItemCurrent = 'I';
inline constexpr char kItemMode = 'M';
inline constexpr char kItemTuning = 'T';
inline constexpr char kItemTuneAck = 'Q';

inline constexpr std::string_view kBlockMnemonic = "?BLK";
inline constexpr std::string_view kClockMnemonic = "?CLK";

// Longest mnemonic of a controller value.
inline constexpr std::size_t kMaxMnemonic = 8;

struct Command {
    enum class Kind { Controller, Block, AllChannels, Zone };
    Kind kind = Kind::Controller;
    int address = 0;
    std::string mnemonic;  // Controller
    int channel = 0;       // Zone
    char item = 0;         // Zone
    int parameter = 0;     // Zone item P, AllChannels
    bool write = false;    // a value follows "="
    long value = 0;
};

// nullopt for a body that is not one of the shapes above (unknown shape, value
// text that is not a number, channel or parameter 00).
std::optional<Command> parseCommand(std::string_view body);

// Decimal value text: at least four digits, a negative value as "-" and at
// least three digits ("0250", "-010", "-10024", "12345").
std::string formatValue(long value);

// The fixed four-character field of an all-channels reply; nullopt when the
// value does not fit (below -999 or above 9999).
std::optional<std::string> formatField4(long value);

// Strict decimal: optional "-", 1 to 9 digits, nothing else.
std::optional<long> parseValue(std::string_view text);

// "G" + two-digit address.
std::string addressText(int address);

std::string controllerCommand(int address, std::string_view mnemonic, std::optional<long> value);
std::string zoneCommand(int address, int channel, char item, int parameter,
                        std::optional<long> value);
std::string allChannelsCommand(int address, int parameter);
std::string blockCommand(int address);

// A mnemonic the controller command shape can carry (1..8 printable characters,
// no "=").
bool validMnemonic(std::string_view mnemonic);

}  // namespace zev485::wire
