#include "command.h"

#include <cstdio>

namespace zev485::wire {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool twoDigits(std::string_view text, std::size_t at, int& out) {
    if (text.size() < at + 2 || !isDigit(text[at]) || !isDigit(text[at + 1]))
        return false;
    out = (text[at] - '0') * 10 + (text[at + 1] - '0');
    return true;
}

bool isZoneItem(char c) {
    switch (c) {
    case kItemSetpoint: case kItemActual: case kItemStatus: case kItemOutput:
    case kItemCurrent: case kItemMode: case kItemTuning: case kItemTuneAck:
        return true;
    default:
        return false;
    }
}

// Reads "=" and an optional value from text at position at; false on a bad value.
bool readAssignment(std::string_view text, std::size_t at, Command& cmd) {
    if (at >= text.size() || text[at] != '=')
        return false;
    const std::string_view valueText = text.substr(at + 1);
    if (valueText.empty())
        return true;
    const auto value = parseValue(valueText);
    if (!value)
        return false;
    cmd.write = true;
    cmd.value = *value;
    return true;
}

std::string twoDigitText(int n) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n % 100);
    return buf;
}

}  // namespace

std::optional<Command> parseCommand(std::string_view body) {
    Command cmd;
    if (body.size() < 4 || body[0] != 'G' || !twoDigits(body, 1, cmd.address))
        return std::nullopt;
    const std::string_view text = body.substr(3);

    if (text.size() >= 4 && text[0] == 'K' && isDigit(text[1])) {
        cmd.kind = Command::Kind::Zone;
        if (!twoDigits(text, 1, cmd.channel) || cmd.channel == 0 || text.size() < 4)
            return std::nullopt;
        cmd.item = text[3];
        std::size_t at = 4;
        if (cmd.item == kItemParameter) {
            if (!twoDigits(text, 4, cmd.parameter) || cmd.parameter == 0)
                return std::nullopt;
            at = 6;
        } else if (!isZoneItem(cmd.item)) {
            return std::nullopt;
        }
        if (!readAssignment(text, at, cmd))
            return std::nullopt;
        return cmd;
    }

    if (text.substr(0, 4) == "KALP") {
        cmd.kind = Command::Kind::AllChannels;
        if (!twoDigits(text, 4, cmd.parameter) || cmd.parameter == 0)
            return std::nullopt;
        if (!readAssignment(text, 6, cmd))
            return std::nullopt;
        return cmd;
    }

    const std::size_t eq = text.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    const std::string_view mnemonic = text.substr(0, eq);
    if (!validMnemonic(mnemonic))
        return std::nullopt;
    cmd.mnemonic = std::string(mnemonic);
    cmd.kind = mnemonic == kBlockMnemonic ? Command::Kind::Block : Command::Kind::Controller;
    if (!readAssignment(text, eq, cmd))
        return std::nullopt;
    return cmd;
}

std::string formatValue(long value) {
    char buf[24];
    if (value < 0)
        std::snprintf(buf, sizeof buf, "-%03llu", 0ULL - static_cast<unsigned long long>(value));
    else
        std::snprintf(buf, sizeof buf, "%04ld", value);
    return buf;
}

std::optional<std::string> formatField4(long value) {
    if (value < -999 || value > 9999)
        return std::nullopt;
    return formatValue(value);
}

std::optional<long> parseValue(std::string_view text) {
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    long value = 0;
    for (char c : text) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::string addressText(int address) { return "G" + twoDigitText(address); }

bool validMnemonic(std::string_view mnemonic) {
    if (mnemonic.empty() || mnemonic.size() > kMaxMnemonic)
        return false;
    for (unsigned char c : mnemonic)
        if (c < 0x21 || c > 0x7E || c == '=')
            return false;
    return true;
}

std::string controllerCommand(int address, std::string_view mnemonic, std::optional<long> value) {
    std::string body = addressText(address);
    body += mnemonic;
    body += '=';
    if (value)
        body += formatValue(*value);
    return body;
}

std::string zoneCommand(int address, int channel, char item, int parameter,
                        std::optional<long> value) {
    std::string body = addressText(address) + "K" + twoDigitText(channel) + item;
    if (item == kItemParameter)
        body += twoDigitText(parameter);
    body += '=';
    if (value)
        body += formatValue(*value);
    return body;
}

std::string allChannelsCommand(int address, int parameter) {
    return addressText(address) + "KALP" + twoDigitText(parameter) + "=";
}

std::string blockCommand(int address) { return controllerCommand(address, kBlockMnemonic, {}); }

}  // namespace zev485::wire
