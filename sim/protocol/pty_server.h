// Serves the responder on a pseudo-terminal, so that the bus library talks to
// the simulated controllers through a real serial device path. The link
// `linkPath` points to the pty's slave side (for example <home>/ports/COM1).
//
// With a baud rate, the server reproduces the line's timing: a request counts
// as received only when its bytes would have passed at 10 bits per byte, the
// controller keeps a turnaround of `turnaroundBytes` before it answers, and the
// reply leaves byte by byte at line speed. Without one (0) replies go at once.
#pragma once

#include <atomic>
#include <string>
#include <thread>

#include "responder.h"

namespace zevsim {

struct PtyServerOptions {
    std::string linkPath;
    long baud = 0;
    int turnaroundBytes = 2;
};

class PtyServer {
public:
    PtyServer(Responder& responder, PtyServerOptions options);
    ~PtyServer();
    PtyServer(const PtyServer&) = delete;
    PtyServer& operator=(const PtyServer&) = delete;

    // Opens the pty, makes the link and starts serving; throws std::runtime_error.
    void start();
    // Stops serving, removes the link (when it still points to our pty) and
    // closes the pty: the library then reads EIO from it. Nobody but the
    // library holds the slave side, so its exclusive lock ends with its close.
    void stop();

    const std::string& devicePath() const { return slavePath_; }

private:
    void run();
    void sendPaced(const std::string& frame, std::chrono::steady_clock::time_point start);

    Responder& responder_;
    PtyServerOptions options_;
    std::string slavePath_;
    int master_ = -1;
    int wake_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace zevsim
