#include "port_names.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace zev485 {

std::string comPortDevice(int port) {
    if (port < kFirstComPort || port > kLastComPort)
        return {};
    if (const char* dir = std::getenv("ZEV485_PORTS"); dir && *dir) {
        std::string link = dir;
        if (link.back() != '/')
            link += '/';
        link += "COM" + std::to_string(port);
        struct stat st {};
        if (::lstat(link.c_str(), &st) == 0)
            return link;
    }
    return "/dev/ttyS" + std::to_string(port - 1);
}

bool comPortFree(int port) {
    const std::string device = comPortDevice(port);
    if (device.empty())
        return false;
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    termios tio {};
    bool usable = ::tcgetattr(fd, &tio) == 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (usable)
        ::flock(fd, LOCK_UN);
    ::close(fd);
    return usable;
}

}  // namespace zev485
