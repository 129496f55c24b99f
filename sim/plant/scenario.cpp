// The scenario line parser: tokens separated by blanks, '#' starts a comment.
#include "scenario.h"

#include "parameter_table.h"
#include "wiring.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

namespace zevsim {

const char* issueName(ScenarioIssue issue) {
    switch (issue) {
    case ScenarioIssue::LineTooLong: return "line too long";
    case ScenarioIssue::BadTime: return "bad time";
    case ScenarioIssue::UnknownCommand: return "unknown command";
    case ScenarioIssue::UnknownFault: return "unknown fault";
    case ScenarioIssue::MissingArgument: return "missing argument";
    case ScenarioIssue::ExtraArgument: return "extra argument";
    case ScenarioIssue::BadZone: return "bad zone";
    case ScenarioIssue::BadNumber: return "bad number";
    case ScenarioIssue::NoSuchTarget: return "no such controller or zone";
    case ScenarioIssue::Refused: return "refused";
    }
    return "?";
}

namespace {

// Thrown inside the parser only, caught in parseScenarioLine: it keeps every
// argument check a single line.
struct LineError {
    ScenarioIssue issue;
    std::string message;
};

[[noreturn]] void reject(ScenarioIssue issue, std::string message) { throw LineError{issue, std::move(message)}; }

std::string lower(std::string_view s) {
    std::string out(s);
    for (auto& ch : out) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return out;
}

std::vector<std::string_view> tokenize(std::string_view line) {
    if (const auto hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && std::isspace(static_cast<unsigned char>(line[i]))) ++i;
        size_t j = i;
        while (j < line.size() && !std::isspace(static_cast<unsigned char>(line[j]))) ++j;
        if (j > i) tokens.push_back(line.substr(i, j - i));
        i = j;
    }
    return tokens;
}

std::optional<long> toLong(std::string_view s) {
    long v = 0;
    const auto* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, v);
    if (ec != std::errc{} || ptr != end) return std::nullopt;
    return v;
}

std::optional<double> toDouble(std::string_view s) {
    double v = 0;
    const auto* end = s.data() + s.size();
    const auto [ptr, ec] = std::from_chars(s.data(), end, v);
    if (ec != std::errc{} || ptr != end || !std::isfinite(v)) return std::nullopt;
    return v;
}

// "90", "90s", "1.5s", "500ms", "2m", "1m30s", "1h2m3s".
std::optional<double> parseTime(std::string_view s) {
    if (s.empty()) return std::nullopt;
    if (auto plain = toDouble(s)) {
        if (*plain < 0 || *plain > kMaxScenarioSeconds) return std::nullopt;
        return plain;
    }
    double total = 0.0;
    size_t i = 0;
    while (i < s.size()) {
        size_t j = i;
        while (j < s.size() && (std::isdigit(static_cast<unsigned char>(s[j])) || s[j] == '.')) ++j;
        size_t k = j;
        while (k < s.size() && std::isalpha(static_cast<unsigned char>(s[k]))) ++k;
        const auto number = toDouble(s.substr(i, j - i));
        const std::string unit = lower(s.substr(j, k - j));
        if (!number || unit.empty()) return std::nullopt;
        double scale = 0.0;
        if (unit == "h") scale = 3600.0;
        else if (unit == "m" || unit == "min") scale = 60.0;
        else if (unit == "s") scale = 1.0;
        else if (unit == "ms") scale = 0.001;
        else return std::nullopt;
        total += *number * scale;
        i = k;
    }
    if (total > kMaxScenarioSeconds) return std::nullopt;
    return total;
}

// "HH:MM" or "HH:MM:SS" to seconds since midnight.
std::optional<long> parseClock(std::string_view token) {
    long parts[3] = {0, 0, 0};
    size_t count = 0, from = 0;
    for (;;) {
        if (count == 3) return std::nullopt;
        const size_t colon = std::min(token.find(':', from), token.size());
        const auto v = toLong(token.substr(from, colon - from));
        if (!v || *v < 0 || *v > 59) return std::nullopt;
        parts[count++] = *v;
        if (colon >= token.size()) break;
        from = colon + 1;
    }
    if (count < 2 || parts[0] > 23) return std::nullopt;
    return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

class Arguments {
public:
    Arguments(std::vector<std::string_view> tokens, size_t first) : tokens_(std::move(tokens)), next_(first) {}

    std::string_view take(const char* what) {
        if (next_ >= tokens_.size()) reject(ScenarioIssue::MissingArgument, std::string("missing ") + what);
        return tokens_[next_++];
    }
    bool more() const { return next_ < tokens_.size(); }
    void end() const {
        if (more()) reject(ScenarioIssue::ExtraArgument, "unexpected \"" + std::string(tokens_[next_]) + "\"");
    }

    long integer(const char* what, long min, long max) {
        const auto token = take(what);
        const auto v = toLong(token);
        if (!v || *v < min || *v > max)
            reject(ScenarioIssue::BadNumber, std::string(what) + " \"" + std::string(token) + "\" is not a whole number from " +
                                                 std::to_string(min) + " to " + std::to_string(max));
        return *v;
    }

    double real(const char* what, double min, double max) {
        const auto token = take(what);
        const auto v = toDouble(token);
        if (!v || *v < min || *v > max)
            reject(ScenarioIssue::BadNumber, std::string(what) + " \"" + std::string(token) + "\" is out of range");
        return *v;
    }

    bool onOff() {
        const std::string t = lower(take("on or off"));
        if (t == "on" || t == "1") return true;
        if (t == "off" || t == "0") return false;
        reject(ScenarioIssue::BadNumber, "\"" + t + "\" is neither on nor off");
    }

    // "A.C", "A.*" or "*"; single demands one zone.
    ZoneSelector zone(bool single) {
        const auto token = take("zone");
        ZoneSelector z;
        const auto bad = [&] {
            reject(ScenarioIssue::BadZone, "\"" + std::string(token) + (single ? "\" is not one zone A.C" : "\" is not a zone A.C, A.* or *"));
        };
        if (token == "*") {
            if (single) bad();
            return z;
        }
        const auto dot = token.find('.');
        if (dot == std::string_view::npos) bad();
        const auto address = toLong(token.substr(0, dot));
        const auto channelText = token.substr(dot + 1);
        if (!address || *address < 1 || *address > 27) bad();
        z.address = static_cast<int>(*address);
        if (channelText == "*") {
            if (single) bad();
            return z;
        }
        const auto channel = toLong(channelText);
        if (!channel || *channel < 1 || *channel > 32) bad();
        z.channel = static_cast<int>(*channel);
        return z;
    }

    // A bus address 1..27 or "*" (every controller).
    ZoneSelector controller() {
        const auto token = take("controller");
        ZoneSelector z;
        if (token == "*") return z;
        const auto address = toLong(token);
        if (!address || *address < 1 || *address > 27)
            reject(ScenarioIssue::BadZone, "\"" + std::string(token) + "\" is not a bus address 1..27");
        z.address = static_cast<int>(*address);
        return z;
    }

private:
    std::vector<std::string_view> tokens_;
    size_t next_;
};

void parseFault(Arguments& args, ScenarioAction& a, bool clearing) {
    const std::string name = lower(args.take("fault kind"));
    if (clearing && name == "all") {
        a.command = ScenarioCommand::ClearAll;
        return;
    }
    const auto kind = faultKindFromName(name);
    if (!kind) reject(ScenarioIssue::UnknownFault, "unknown fault \"" + name + "\"");
    a.fault = *kind;
    if (isControllerFault(*kind)) {
        a.zone = args.controller();
    } else if (isCrossedFault(*kind)) {
        a.zone = args.zone(true);
        if (!clearing || args.more()) a.partner = args.zone(true);
    } else {
        a.zone = args.zone(false);
    }
}

int parseMode(Arguments& args) {
    const std::string t = lower(args.take("mode"));
    if (t == "off" || t == "0") return 0;
    if (t == "manual" || t == "1") return 1;
    if (t == "control" || t == "2") return 2;
    reject(ScenarioIssue::BadNumber, "mode \"" + t + "\" is not off, manual or control");
}

ScenarioAction parseAction(Arguments& args) {
    ScenarioAction a;
    const std::string command = lower(args.take("command"));
    if (command == "fault" || command == "clear") {
        a.command = command == "fault" ? ScenarioCommand::Fault : ScenarioCommand::Clear;
        parseFault(args, a, command == "clear");
    } else if (command == "setpoint") {
        a.command = ScenarioCommand::Setpoint;
        a.zone = args.zone(false);
        a.value = args.integer("setpoint", -999, 9999);
    } else if (command == "mode") {
        a.command = ScenarioCommand::Mode;
        a.zone = args.zone(false);
        a.value = parseMode(args);
    } else if (command == "output") {
        a.command = ScenarioCommand::Output;
        a.zone = args.zone(false);
        a.value = args.integer("output", 0, 100);
    } else if (command == "tuning") {
        a.command = ScenarioCommand::Tuning;
        a.zone = args.zone(false);
        a.value = args.onOff();
    } else if (command == "ack") {
        a.command = ScenarioCommand::Acknowledge;
        a.zone = args.zone(false);
    } else if (command == "param") {
        a.command = ScenarioCommand::Parameter;
        a.zone = args.zone(false);
        a.number = static_cast<int>(args.integer("parameter number", 1, kZoneParameterCount));
        a.value = args.integer("value", -9999, 9999);
    } else if (command == "outputs") {
        a.command = ScenarioCommand::Outputs;
        a.zone = args.controller();
        a.value = args.onOff();
    } else if (command == "global") {
        a.command = ScenarioCommand::Global;
        a.zone = args.controller();
        std::string code(args.take("code"));
        if (!code.empty() && code.front() == '?') code.erase(0, 1);
        for (auto& ch : code) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        if (code.empty() || code.size() > 8) reject(ScenarioIssue::BadNumber, "bad global code \"" + code + "\"");
        a.code = code;
        a.value = args.integer("value", -9999, 9999);
    } else if (command == "restart" || command == "defaults") {
        a.command = command == "restart" ? ScenarioCommand::Restart : ScenarioCommand::Defaults;
        a.zone = args.controller();
    } else if (command == "ambient") {
        a.command = ScenarioCommand::Ambient;
        a.amount = args.real("ambient temperature", -40.0, 200.0);
    } else if (command == "temperature") {
        a.command = ScenarioCommand::Temperature;
        a.zone = args.zone(false);
        a.value = args.integer("temperature", -99, 1500);
    } else if (command == "noise") {
        a.command = ScenarioCommand::Noise;
        a.amount = args.real("noise", 0.0, 5.0);
    } else if (command == "clock") {
        a.command = ScenarioCommand::Clock;
        const auto token = args.take("time of day");
        const auto seconds = parseClock(token);
        if (!seconds)
            reject(ScenarioIssue::BadNumber, "\"" + std::string(token) + "\" is not a time of day HH:MM[:SS]");
        a.value = *seconds;
    } else {
        reject(ScenarioIssue::UnknownCommand, "unknown command \"" + command + "\"");
    }
    args.end();
    return a;
}

}  // namespace

LineParse parseScenarioLine(std::string_view line, int lineNumber) {
    LineParse result;
    if (line.size() > kMaxLineLength) {
        result.warning = ScenarioWarning{lineNumber, ScenarioIssue::LineTooLong,
                                         "line longer than " + std::to_string(kMaxLineLength) + " characters"};
        return result;
    }
    const auto tokens = tokenize(line);
    if (tokens.empty()) return result;
    try {
        size_t first = 0;
        if (lower(tokens[0]) == "at") {
            if (tokens.size() < 2) reject(ScenarioIssue::BadTime, "\"at\" without a time");
            result.at = parseTime(tokens[1]);
            if (!result.at) reject(ScenarioIssue::BadTime, "bad time \"" + std::string(tokens[1]) + "\"");
            first = 2;
        }
        Arguments args(tokens, first);
        result.action = parseAction(args);
    } catch (const LineError& e) {
        result.at.reset();
        result.action.reset();
        result.warning = ScenarioWarning{lineNumber, e.issue, e.message};
    }
    return result;
}

ScenarioParse parseScenario(std::string_view text) {
    ScenarioParse result;
    int number = 0;
    size_t pos = 0;
    while (pos <= text.size()) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++number;
        auto parsed = parseScenarioLine(line, number);
        if (parsed.warning) result.warnings.push_back(std::move(*parsed.warning));
        if (parsed.action) result.events.push_back(ScenarioEvent{parsed.at.value_or(0.0), number, *parsed.action});
        if (end >= text.size()) break;
        pos = end + 1;
    }
    std::stable_sort(result.events.begin(), result.events.end(),
                     [](const ScenarioEvent& a, const ScenarioEvent& b) { return a.time < b.time; });
    return result;
}

}  // namespace zevsim
