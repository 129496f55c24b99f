#include "serial_transport.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace zev485 {
namespace {

constexpr std::chrono::seconds kRecoveryInterval{1};
constexpr std::chrono::milliseconds kBluetoothLatency{100};

bool speedOf(long baud, speed_t& speed) {
    switch (baud) {
    case 1200: speed = B1200; return true;
    case 2400: speed = B2400; return true;
    case 4800: speed = B4800; return true;
    case 9600: speed = B9600; return true;
    case 19200: speed = B19200; return true;
    case 38400: speed = B38400; return true;
    case 57600: speed = B57600; return true;
    case 115200: speed = B115200; return true;
    case 230400: speed = B230400; return true;
    default: return false;
    }
}

std::string describe(const std::string& device, const char* what, int err) {
    return device + ": " + what + " (" + std::strerror(err) + ")";
}

int pollTimeoutMs(SteadyClock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - SteadyClock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(std::min<long long>(left.count(), 60000));
}

}  // namespace

int SerialTransport::openDevice(const SerialSettings& s, std::string& error) {
    speed_t speed {};
    if (!speedOf(s.baud, speed)) {
        error = s.device + ": baud rate " + std::to_string(s.baud) + " not supported";
        return -1;
    }
    if (s.mode != kModeConverter && s.mode != kModeBluetooth && s.mode != kModeKernelRs485) {
        error = s.device + ": transfer mode " + std::to_string(s.mode) + " unknown";
        return -1;
    }
    const int fd = ::open(s.device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = describe(s.device, "cannot open", errno);
        return -1;
    }
    auto fail = [&](const char* what) {
        error = describe(s.device, what, errno);
        ::close(fd);
        return -1;
    };
    // Two programs on one RS485 line garble each other's telegrams.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
        return fail("in use by another program");
    termios tio {};
    if (::tcgetattr(fd, &tio) != 0)
        return fail("not a serial device");
    ::cfmakeraw(&tio);
    tio.c_cflag &= ~(CSTOPB | PARENB | CRTSCTS);
    tio.c_cflag |= CLOCAL | CREAD | CS8;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::cfsetispeed(&tio, speed);
    ::cfsetospeed(&tio, speed);
    if (::tcsetattr(fd, TCSANOW, &tio) != 0)
        return fail("cannot set line parameters");
    if (s.mode == kModeKernelRs485) {
        serial_rs485 rs485 {};
        rs485.flags = SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
        if (::ioctl(fd, TIOCSRS485, &rs485) != 0)
            return fail("kernel RS485 mode not supported by this device");
    }
    ::ioctl(fd, TIOCEXCL);
    ::tcflush(fd, TCIOFLUSH);
    return fd;
}

std::unique_ptr<SerialTransport> SerialTransport::open(const SerialSettings& settings,
                                                       std::string& error) {
    const int fd = openDevice(settings, error);
    if (fd < 0)
        return nullptr;
    const int wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd < 0) {
        error = describe(settings.device, "no event descriptor", errno);
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<SerialTransport>(new SerialTransport(settings, fd, wakeFd));
}

SerialTransport::SerialTransport(SerialSettings settings, int fd, int wakeFd)
    : settings_(std::move(settings)), fd_(fd), wakeFd_(wakeFd),
      byteTime_(std::chrono::nanoseconds(10'000'000'000LL / settings_.baud)) {}

SerialTransport::~SerialTransport() {
    if (fd_ >= 0) {
        ::ioctl(fd_, TIOCNXCL);  // a pty's flag would outlive us while its master stays open
        ::close(fd_);
    }
    ::close(wakeFd_);
}

std::chrono::milliseconds SerialTransport::extraLatency() const {
    return settings_.mode == kModeBluetooth ? kBluetoothLatency : std::chrono::milliseconds{};
}

IoResult SerialTransport::send(std::string_view bytes, SteadyClock::time_point deadline) {
    while (!bytes.empty()) {
        if (interrupted_)
            return IoResult::Interrupted;
        if (failed_ || fd_ < 0)
            return IoResult::Failed;
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            failed_ = true;
            return IoResult::Failed;
        }
        pollfd fds[2] = {{fd_, POLLOUT, 0}, {wakeFd_, POLLIN, 0}};
        const int timeout = pollTimeoutMs(deadline);
        if (timeout == 0)
            return IoResult::Timeout;
        ::poll(fds, 2, timeout);
    }
    return IoResult::Data;
}

IoResult SerialTransport::receive(std::string& out, SteadyClock::time_point deadline) {
    for (;;) {
        if (interrupted_)
            return IoResult::Interrupted;
        if (failed_ || fd_ < 0)
            return IoResult::Failed;
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        const int ready = ::poll(fds, 2, pollTimeoutMs(deadline));
        if (ready == 0)
            return IoResult::Timeout;
        if (ready < 0)
            continue;  // EINTR
        if (fds[0].revents & POLLIN) {
            char buf[512];
            const ssize_t n = ::read(fd_, buf, sizeof buf);
            if (n > 0) {
                out.append(buf, static_cast<std::size_t>(n));
                return IoResult::Data;
            }
            if (n < 0 && (errno == EAGAIN || errno == EINTR))
                continue;
            failed_ = true;  // EIO or end of file: the device or the pty's other end went away
            return IoResult::Failed;
        }
        if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
            failed_ = true;
            return IoResult::Failed;
        }
    }
}

void SerialTransport::discardInput() {
    if (fd_ >= 0)
        ::tcflush(fd_, TCIFLUSH);
}

void SerialTransport::interrupt() {
    interrupted_ = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto n = ::write(wakeFd_, &one, sizeof one);
}

bool SerialTransport::recover() {
    if (!failed_)
        return true;
    const auto now = SteadyClock::now();
    if (now - lastRecovery_ < kRecoveryInterval)
        return false;
    lastRecovery_ = now;
    if (fd_ >= 0) {
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
        fd_ = -1;
    }
    std::string error;
    fd_ = openDevice(settings_, error);
    failed_ = fd_ < 0;
    return !failed_;
}

}  // namespace zev485
