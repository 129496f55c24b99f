#include "sim_options.h"

#include <charconv>
#include <set>

namespace zevsim {
namespace {

constexpr int kMaxControllers = 27;

template <typename T>
bool number(const std::string& text, T& out) {
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && p == end;
}

bool list(const std::string& text, std::vector<int>& out) {
    out.clear();
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = text.find(',', start);
        const std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        int v = 0;
        if (!number(item, v))
            return false;
        out.push_back(v);
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    return !out.empty();
}

}  // namespace

const char* simUsage() {
    return R"(zevsim - simulated temperature controllers on a pseudo-terminal

Usage: zevsim [options]

  --port-link PATH     make PATH a link to the simulator's serial device, for
                       example <home>/ports/COM1 (default ports/COM1); the bus
                       library opens COM n through the link COMn of the
                       directory named by ZEV485_PORTS
  --baud N             emulate the line's timing at N baud, 10 bits per byte
                       (default 19200); 0 answers at once
  --speed F            run the plant model F times faster than real time
                       (default 1)
  --controllers LIST   channel counts of the controllers at addresses 1, 2, ...
                       (default 16,16,16); at most 27 controllers, 1..32
                       channels each, 270 zones in all
  --slaves LIST        addresses of slave devices ("?DTP=" answers 0002); they
                       belong to the master device before them
  --az LIST            driver number of every controller, or one per controller
                       (default 12)
  --fahrenheit         the controllers work in degrees Fahrenheit
  --noise K            peak measurement noise in kelvin (0 = exact readings)
  --scenario FILE      play the timed events of a scenario file
  --control PATH       a FIFO (made when missing, removed at the end) that takes
                       scenario lines without "at" and applies them at once, e.g.
                         echo "fault silent 2" > PATH
                         echo "clear all" > PATH
  --verbose            print every request and reply
  --help               this text

Scenario lines are described in docs/scenario.md, the wire protocol in
docs/protocol.md. SIGTERM or SIGINT end the program and remove the link.
)";
}

OptionsParse parseSimOptions(const std::vector<std::string>& args) {
    OptionsParse r;
    SimOptions& o = r.options;
    std::vector<int> channels{16, 16, 16};
    std::vector<int> slaves;
    std::vector<int> az{12};
    bool fahrenheit = false;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                r.error = arg + " needs a value";
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        if (arg == "--help" || arg == "-h") {
            o.help = true;
        } else if (arg == "--fahrenheit") {
            fahrenheit = true;
        } else if (arg == "--verbose") {
            o.verbose = true;
        } else if (arg == "--port-link") {
            if (!value(o.portLink)) return r;
        } else if (arg == "--scenario") {
            if (!value(o.scenarioFile)) return r;
        } else if (arg == "--control") {
            if (!value(o.controlPath)) return r;
        } else if (arg == "--baud") {
            if (!value(v)) return r;
            if (!number(v, o.baud) || o.baud < 0 || o.baud > 1000000) {
                r.error = "--baud: \"" + v + "\" is not a baud rate";
                return r;
            }
        } else if (arg == "--speed") {
            if (!value(v)) return r;
            if (!number(v, o.speed) || !(o.speed > 0.0) || o.speed > 100000.0) {
                r.error = "--speed: \"" + v + "\" is not a factor above 0";
                return r;
            }
        } else if (arg == "--noise") {
            if (!value(v)) return r;
            double k = 0;
            if (!number(v, k) || k < 0.0 || k > 50.0) {
                r.error = "--noise: \"" + v + "\" is not 0..50 kelvin";
                return r;
            }
            o.noise = k;
        } else if (arg == "--controllers" || arg == "--slaves" || arg == "--az") {
            if (!value(v)) return r;
            std::vector<int>& target = arg == "--controllers" ? channels : arg == "--slaves" ? slaves : az;
            if (!list(v, target)) {
                r.error = arg + ": \"" + v + "\" is not a list of numbers like 16,8";
                return r;
            }
        } else {
            r.error = "unknown option \"" + arg + "\"";
            return r;
        }
    }

    if (channels.size() > kMaxControllers) {
        r.error = "--controllers: at most 27 controllers";
        return r;
    }
    if (az.size() != 1 && az.size() != channels.size()) {
        r.error = "--az: one number, or one per controller";
        return r;
    }
    const std::set<int> slaveSet(slaves.begin(), slaves.end());
    for (int s : slaveSet) {
        if (s < 2 || s > static_cast<int>(channels.size())) {
            r.error = "--slaves: " + std::to_string(s) + " is not the address of a controller after the first";
            return r;
        }
    }
    int zones = 0;
    for (std::size_t i = 0; i < channels.size(); ++i) {
        const int c = channels[i];
        if (c < 1 || c > 32) {
            r.error = "--controllers: " + std::to_string(c) + " channels (1..32 allowed)";
            return r;
        }
        zones += c;
        ControllerConfig config;
        config.channels = c;
        config.slave = slaveSet.count(static_cast<int>(i) + 1) != 0;
        config.az = az.size() == 1 ? az[0] : az[i];
        config.fahrenheit = fahrenheit;
        config.type = "ZEV-" + std::to_string(c);
        o.controllers.push_back(config);
    }
    if (zones > 270)
        r.error = "--controllers: " + std::to_string(zones) + " zones (270 at most)";
    return r;
}

}  // namespace zevsim
