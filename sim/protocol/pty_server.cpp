#include "pty_server.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdexcept>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

namespace zevsim {
namespace {

using Clock = std::chrono::steady_clock;

std::runtime_error failure(const std::string& what) {
    return std::runtime_error("zevsim pty: " + what + ": " + std::strerror(errno));
}

void makeRaw(int fd) {
    termios tio {};
    if (::tcgetattr(fd, &tio) == 0) {
        ::cfmakeraw(&tio);
        ::tcsetattr(fd, TCSANOW, &tio);
    }
}

// Replaces whatever is at linkPath by a link to target, in one step.
void placeLink(const std::string& target, const std::string& linkPath) {
    const std::filesystem::path link(linkPath);
    if (link.has_parent_path())
        std::filesystem::create_directories(link.parent_path());
    const std::string temp = linkPath + ".new" + std::to_string(::getpid());
    ::unlink(temp.c_str());
    if (::symlink(target.c_str(), temp.c_str()) != 0)
        throw failure("cannot make link " + temp);
    if (::rename(temp.c_str(), linkPath.c_str()) != 0) {
        ::unlink(temp.c_str());
        throw failure("cannot place link " + linkPath);
    }
}

}  // namespace

PtyServer::PtyServer(Responder& responder, PtyServerOptions options)
    : responder_(responder), options_(std::move(options)) {}

PtyServer::~PtyServer() { stop(); }

void PtyServer::start() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0)
        throw failure("no pseudo-terminal");
    const char* name = ::ptsname(master_);
    if (!name)
        throw failure("no pty name");
    slavePath_ = name;
    // On the master descriptor this sets the slave side: a cooked line would
    // turn bytes into other bytes. The library makes its side raw as well.
    makeRaw(master_);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (!options_.linkPath.empty())
        placeLink(slavePath_, options_.linkPath);
    stopping_ = false;
    thread_ = std::thread([this] { run(); });
}

void PtyServer::stop() {
    if (thread_.joinable()) {
        stopping_ = true;
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(wake_, &one, sizeof one);
        thread_.join();
    }
    if (!options_.linkPath.empty() && !slavePath_.empty()) {
        std::error_code ec;
        if (std::filesystem::read_symlink(options_.linkPath, ec) == slavePath_)
            std::filesystem::remove(options_.linkPath, ec);
    }
    for (int* fd : {&master_, &wake_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

void PtyServer::sendPaced(const std::string& frame, Clock::time_point start) {
    const auto byteTime = options_.baud > 0 ? std::chrono::nanoseconds(10'000'000'000LL / options_.baud)
                                            : std::chrono::nanoseconds(0);
    std::size_t sent = 0;
    while (sent < frame.size() && !stopping_) {
        std::size_t due = frame.size();
        if (byteTime.count() > 0) {
            // Hand over the bytes whose last bit has passed; wait for the next one.
            const auto nextDone = start + byteTime * static_cast<long>(sent + 1);
            const auto now = Clock::now();
            if (now < nextDone) {
                std::this_thread::sleep_until(nextDone);
                continue;
            }
            due = std::min<std::size_t>(frame.size(), static_cast<std::size_t>((now - start) / byteTime));
        }
        const ssize_t n = ::write(master_, frame.data() + sent, due - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, 10);
        }
    }
}

void PtyServer::run() {
    const auto byteTime = options_.baud > 0 ? std::chrono::nanoseconds(10'000'000'000LL / options_.baud)
                                            : std::chrono::nanoseconds(0);
    auto lineBusyUntil = Clock::now();
    char buf[512];
    while (!stopping_) {
        pollfd fds[2] = {{master_, POLLIN, 0}, {wake_, POLLIN, 0}};
        if (::poll(fds, 2, 1000) <= 0 || stopping_)
            continue;
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n <= 0) {
            // Nobody has the slave side open (EIO, POLLHUP): wait for the next opener.
            if (fds[0].revents & POLLHUP)
                ::poll(fds + 1, 1, 20);
            continue;
        }
        const auto arrived = Clock::now();
        // The master's bytes occupy the line for their own time.
        lineBusyUntil = std::max(lineBusyUntil, arrived) + byteTime * n;
        for (const std::string& reply : responder_.receive(std::string_view(buf, static_cast<std::size_t>(n)))) {
            const auto start = lineBusyUntil + byteTime * options_.turnaroundBytes;
            sendPaced(reply, start);
            lineBusyUntil = std::max(Clock::now(), start + byteTime * static_cast<long>(reply.size()));
        }
    }
}

}  // namespace zevsim
