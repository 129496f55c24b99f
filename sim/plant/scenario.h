// Scenario files: one event per line, scheduled over plant time, for example
//     at 30s   fault broken-sensor 1.3
//     at 2m    clear broken-sensor 1.3
//     at 10s   setpoint 2.1 210
// The same line without "at ..." is a command that applies at once (the
// simulator's live control channel). docs/scenario.md describes every command.
// Parsing never throws: bad lines come back as typed warnings with their line number.
#pragma once

#include "plant.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zevsim {

enum class ScenarioCommand {
    Fault, Clear, ClearAll, Setpoint, Mode, Output, Tuning, Acknowledge, Parameter,
    Outputs, Global, Restart, Defaults, Ambient, Temperature, Noise, Clock,
};

// address 0 = every controller; channel 0 = every channel of the controller(s).
struct ZoneSelector {
    int address = 0;
    int channel = 0;
    bool single() const { return address > 0 && channel > 0; }
};

struct ScenarioAction {
    ScenarioCommand command = ScenarioCommand::ClearAll;
    FaultKind fault = FaultKind::BrokenSensor;  // Fault, Clear
    ZoneSelector zone;                          // zone commands; address only for controller commands
    ZoneSelector partner;                       // crossed faults
    int number = 0;                             // parameter number
    long value = 0;                             // setpoint, mode, output, parameter or global value, on/off
    double amount = 0.0;                        // ambient, noise
    std::string code;                           // global parameter mnemonic, upper case, without '?'
};

enum class ScenarioIssue {
    LineTooLong,      // more than kMaxLineLength characters
    BadTime,          // "at" without a valid time
    UnknownCommand,
    UnknownFault,
    MissingArgument,
    ExtraArgument,
    BadZone,          // not "A.C", "A.*" or "*", or a wildcard where one zone is needed
    BadNumber,        // not a number, or out of the range the command allows
    NoSuchTarget,     // applying: no such controller or zone in the plant
    Refused,          // applying: the plant refused the write (limits, read-only, monitor zone)
};

const char* issueName(ScenarioIssue issue);

struct ScenarioWarning {
    int line = 0;
    ScenarioIssue issue = ScenarioIssue::UnknownCommand;
    std::string message;
};

struct ScenarioEvent {
    double time = 0.0;  // plant seconds after the scenario's start
    int line = 0;
    ScenarioAction action;
};

struct ScenarioParse {
    std::vector<ScenarioEvent> events;  // sorted by time, file order within one time
    std::vector<ScenarioWarning> warnings;
};

struct LineParse {
    std::optional<double> at;             // the "at" time, when the line has one
    std::optional<ScenarioAction> action; // nullopt for blank lines, comments and bad lines
    std::optional<ScenarioWarning> warning;
};

constexpr std::size_t kMaxLineLength = 1000;
constexpr double kMaxScenarioSeconds = 366.0 * 86400.0;

LineParse parseScenarioLine(std::string_view line, int lineNumber = 1);

// A whole file. A line without "at" counts as "at 0".
ScenarioParse parseScenario(std::string_view text);

// Carries out one action; returns what the plant refused or could not find.
std::vector<ScenarioWarning> applyScenarioAction(Plant& plant, const ScenarioAction& action, int line = 0);

// Parses one command line and applies it at once. A line with "at" is refused
// here (BadTime): timed events belong in a ScenarioPlayer.
std::vector<ScenarioWarning> applyScenarioLine(Plant& plant, std::string_view line, int lineNumber = 1);

// Runs the events of a scenario as plant time passes.
class ScenarioPlayer {
public:
    // Event times count from startTime (plant seconds).
    explicit ScenarioPlayer(std::vector<ScenarioEvent> events, double startTime = 0.0);

    // Advances the plant by seconds, stopping at each event's time so that events
    // act exactly when they are due. Returns the warnings of the events applied.
    std::vector<ScenarioWarning> advance(Plant& plant, double seconds);

    // Applies every event due at the plant's present time.
    std::vector<ScenarioWarning> runDue(Plant& plant);

    bool finished() const { return next_ >= events_.size(); }
    std::optional<double> nextTime() const;  // plant time of the next event
    std::size_t applied() const { return next_; }

private:
    std::vector<ScenarioEvent> events_;
    double start_;
    std::size_t next_ = 0;
};

}  // namespace zevsim
