#include "SimLine.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace korvel::sim {

namespace {

void setNonBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL, 0);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags | O_NONBLOCK);
}

} // namespace

SimLine::SimLine(int in, int out, bool pty, std::string path)
    : in_(in), out_(out), pty_(pty), path_(std::move(path)) {}

SimLine::SimLine(SimLine&& other) noexcept
    : in_(other.in_), out_(other.out_), pty_(other.pty_), path_(std::move(other.path_)) {
    other.in_ = other.out_ = -1;
}

SimLine::~SimLine() {
    if (pty_ && in_ >= 0)
        ::close(in_);
}

SimLine SimLine::pseudoTerminal() {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        throw std::runtime_error("cannot make a pseudo-terminal");
    const char* name = ::ptsname(master);
    if (name == nullptr)
        throw std::runtime_error("cannot name the pseudo-terminal");
    std::string path = name;
    // Raw line from the start, so that nothing is echoed before the port's owner sets it.
    const int slave = ::open(name, O_RDWR | O_NOCTTY);
    if (slave >= 0) {
        termios t{};
        if (::tcgetattr(slave, &t) == 0) {
            ::cfmakeraw(&t);
            ::cfsetspeed(&t, B19200);
            ::tcsetattr(slave, TCSANOW, &t);
        }
        ::close(slave);
    }
    setNonBlocking(master);
    return SimLine(master, master, true, std::move(path));
}

SimLine SimLine::descriptors(int in, int out) {
    setNonBlocking(in);
    return SimLine(in, out, false, {});
}

void SimLine::serve(SimDevice& logger, const std::atomic<bool>& stop, int watchFd, bool verbose) {
    using Clock = std::chrono::steady_clock;
    Bytes pending;
    std::size_t logged = 0;
    bool lineUp = false;
    while (!stop.load()) {
        int timeout = 200;
        if (const auto next = logger.nextEvent()) {
            const auto wait =
                std::chrono::duration_cast<std::chrono::milliseconds>(*next - Clock::now()).count() + 1;
            timeout = static_cast<int>(std::clamp<long long>(wait, 0, 200));
        }
        const bool writing = !pending.empty();
        pollfd fds[3];
        nfds_t count = 0;
        fds[count++] = {in_, static_cast<short>(POLLIN | (writing && in_ == out_ ? POLLOUT : 0)), 0};
        const nfds_t outIndex = writing && in_ != out_ ? count : 0;
        if (outIndex != 0)
            fds[count++] = {out_, POLLOUT, 0};
        const nfds_t watchIndex = watchFd >= 0 ? count : 0;
        if (watchIndex != 0)
            fds[count++] = {watchFd, POLLIN, 0};
        if (::poll(fds, count, timeout) < 0 && errno != EINTR)
            break;
        if (watchIndex != 0 && (fds[watchIndex].revents & (POLLIN | POLLHUP))) {
            char c;
            if (::read(watchFd, &c, 1) <= 0)
                break;
        }
        const auto now = Clock::now();
        if (pty_ && (fds[0].revents & POLLHUP) && !(fds[0].revents & POLLIN)) {
            // Nobody holds the port: what was on its way is lost.
            if (lineUp || !pending.empty()) {
                pending.clear();
                logger.dropLine();
            }
            lineUp = false;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        if (fds[0].revents & (POLLIN | POLLHUP)) {
            std::uint8_t buffer[4096];
            const ssize_t n = ::read(in_, buffer, sizeof buffer);
            if (n > 0) {
                lineUp = true;
                logger.receive(Bytes(buffer, buffer + n), now);
            } else if (n == 0 && !pty_) {
                break;
            }
        }
        const Bytes out = logger.takeOutput(now);
        pending.insert(pending.end(), out.begin(), out.end());
        if (!pending.empty()) {
            const ssize_t n = ::write(out_, pending.data(), pending.size());
            if (n > 0)
                pending.erase(pending.begin(), pending.begin() + n);
        }
        if (verbose)
            for (; logged < logger.commands().size(); ++logged)
                std::fprintf(stderr, "korvel-sim: 0x%02X\n", logger.commands()[logged]);
    }
}

} // namespace korvel::sim
