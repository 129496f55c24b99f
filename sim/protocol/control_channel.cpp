#include "control_channel.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "plant/scenario.h"

namespace zevsim {

ControlChannel::ControlChannel(Plant& plant, std::string path, Report report)
    : plant_(plant), path_(std::move(path)), report_(std::move(report)) {}

ControlChannel::~ControlChannel() { stop(); }

void ControlChannel::start() {
    struct stat st {};
    if (::stat(path_.c_str(), &st) != 0) {
        if (::mkfifo(path_.c_str(), 0660) != 0)
            throw std::runtime_error("zevsim: cannot make FIFO " + path_ + ": " + std::strerror(errno));
        created_ = true;
    } else if (!S_ISFIFO(st.st_mode)) {
        throw std::runtime_error("zevsim: " + path_ + " exists and is not a FIFO");
    }
    // Open for writing too, so that the FIFO never reports end of file when a writer leaves.
    fd_ = ::open(path_.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        throw std::runtime_error("zevsim: cannot open FIFO " + path_ + ": " + std::strerror(errno));
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    thread_ = std::thread([this] { run(); });
}

void ControlChannel::stop() {
    if (thread_.joinable()) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(wake_, &one, sizeof one);
        thread_.join();
    }
    for (int* fd : {&fd_, &wake_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
    if (created_)
        ::unlink(path_.c_str());
    created_ = false;
}

std::string ControlChannel::apply(const std::string& line) {
    std::string text;
    for (const ScenarioWarning& w : applyScenarioLine(plant_, line, ++lineNumber_))
        text += std::string(text.empty() ? "" : "; ") + issueName(w.issue) + ": " + w.message;
    return text;
}

void ControlChannel::run() {
    std::string pending;
    char buf[512];
    for (;;) {
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[1].revents & POLLIN)
            return;
        const ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n <= 0)
            continue;
        pending.append(buf, static_cast<std::size_t>(n));
        std::size_t eol;
        while ((eol = pending.find('\n')) != std::string::npos) {
            std::string line = pending.substr(0, eol);
            pending.erase(0, eol + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            const std::string problem = apply(line);
            report_(problem.empty() ? "control: " + line : "control: " + line + " -> " + problem);
        }
        if (pending.size() > kMaxLineLength)  // a line without end is garbage, not a command
            pending.clear();
    }
}

}  // namespace zevsim
