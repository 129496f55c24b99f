// zevsim: the simulated controllers served on a pseudo-terminal (zevsim --help).
#include <csignal>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <mutex>
#include <sstream>

#include "plant/scenario.h"
#include "protocol/control_channel.h"
#include "protocol/pty_server.h"
#include "protocol/sim_options.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kTick{50};

std::mutex logMutex;

void log(const std::string& text) {
    std::lock_guard lock(logMutex);
    std::cerr << "zevsim: " << text << std::endl;
}

std::string printable(std::string_view bytes) {
    std::string out;
    for (unsigned char c : bytes) {
        if (c == 0x02) out += "<STX>";
        else if (c == 0x03) out += "<ETX>";
        else if (c == 0x06) out += "<ACK>";
        else if (c == 0x15) out += "<NAK>";
        else if (c >= 0x20 && c < 0x7F) out += static_cast<char>(c);
        else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "<%02X>", c);
            out += hex;
        }
    }
    return out;
}

std::vector<zevsim::ScenarioEvent> loadScenario(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read scenario " + file);
    std::stringstream text;
    text << in.rdbuf();
    zevsim::ScenarioParse parse = zevsim::parseScenario(text.str());
    for (const auto& w : parse.warnings)
        log(file + ":" + std::to_string(w.line) + ": " + zevsim::issueName(w.issue) + ": " + w.message);
    return std::move(parse.events);
}

int run(const zevsim::SimOptions& options) {
    // Signals are taken by the main loop only; every thread started later inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    zevsim::Plant plant(options.controllers);
    if (options.noise)
        plant.setNoise(*options.noise);
    zevsim::ScenarioPlayer player(options.scenarioFile.empty() ? std::vector<zevsim::ScenarioEvent>{}
                                                                : loadScenario(options.scenarioFile));
    zevsim::Responder responder(plant);
    if (options.verbose)
        responder.setObserver([](std::string_view request, std::string_view reply) {
            log(printable(request) + "  ->  " + (reply.empty() ? "(no reply)" : printable(reply)));
        });

    zevsim::PtyServer server(responder, {options.portLink, options.baud, 2});
    server.start();
    zevsim::ControlChannel control(plant, options.controlPath, log);
    if (!options.controlPath.empty())
        control.start();

    std::ostringstream banner;
    banner << "controllers ";
    for (std::size_t i = 0; i < options.controllers.size(); ++i)
        banner << (i ? "," : "") << options.controllers[i].channels;
    banner << " on " << server.devicePath() << " (link " << options.portLink << "), ";
    if (options.baud)
        banner << options.baud << " baud";
    else
        banner << "no line timing";
    banner << ", plant time x" << options.speed;
    log(banner.str());

    auto last = Clock::now();
    const timespec tick{0, std::chrono::nanoseconds(kTick).count()};
    for (;;) {
        siginfo_t info {};
        if (sigtimedwait(&signals, &info, &tick) > 0) {
            log(std::string("ended by ") + (info.si_signo == SIGTERM ? "SIGTERM" : "SIGINT"));
            break;
        }
        const auto now = Clock::now();
        const double seconds = std::chrono::duration<double>(now - last).count() * options.speed;
        last = now;
        for (const auto& w : player.advance(plant, seconds))
            log("scenario line " + std::to_string(w.line) + ": " + zevsim::issueName(w.issue) + ": " + w.message);
    }
    control.stop();
    server.stop();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const zevsim::OptionsParse parse =
        zevsim::parseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (parse.options.help) {
        std::cout << zevsim::simUsage();
        return 0;
    }
    if (!parse.error.empty()) {
        std::cerr << "zevsim: " << parse.error << "\n(zevsim --help lists the options)\n";
        return 2;
    }
    try {
        return run(parse.options);
    } catch (const std::exception& e) {
        std::cerr << "zevsim: " << e.what() << "\n";
        return 1;
    }
}
