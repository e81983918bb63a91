#include "platform/PosixSerialLink.h"

#ifndef _WIN32

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace korvel {

namespace {

speed_t speedCode(int speed) {
    switch (speed) {
    case 1200:
        return B1200;
    case 2400:
        return B2400;
    case 4800:
        return B4800;
    case 9600:
        return B9600;
    case 19200:
        return B19200;
    case 38400:
        return B38400;
    case 57600:
        return B57600;
    case 115200:
        return B115200;
    default:
        return B0;
    }
}

bool applyLine(int fd, const LineSettings& line) {
    termios t{};
    if (::tcgetattr(fd, &t) != 0)
        return false;
    ::cfmakeraw(&t);
    const speed_t speed = speedCode(line.speed);
    if (speed == B0)
        return false;
    ::cfsetispeed(&t, speed);
    ::cfsetospeed(&t, speed);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cflag |= line.dataBits == 5 ? CS5 : line.dataBits == 6 ? CS6 : line.dataBits == 7 ? CS7 : CS8;
    if (line.parity == 'e' || line.parity == 'o')
        t.c_cflag |= PARENB;
    if (line.parity == 'o')
        t.c_cflag |= PARODD;
    if (line.stopBits == 2)
        t.c_cflag |= CSTOPB;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    return ::tcsetattr(fd, TCSANOW, &t) == 0;
}

} // namespace

PosixSerialLink::PosixSerialLink(PortDeviceOverride override) : override_(std::move(override)) {}

PosixSerialLink::~PosixSerialLink() {
    close();
}

bool PosixSerialLink::open() {
    if (fd_ >= 0)
        return false;
    const std::string path = device();
    const auto line = parseLineSettings(line_);
    if (path.empty() || !line || !lock_.acquire(path))
        return false;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        lock_.release();
        return false;
    }
    if (!::isatty(fd) || ::ioctl(fd, TIOCEXCL) != 0 || !applyLine(fd, *line)) {
        ::close(fd);
        lock_.release();
        return false;
    }
    // Input left from an earlier session is not for us; output of an earlier session still goes out.
    ::tcflush(fd, TCIFLUSH);
    fd_ = fd;
    input_.clear();
    return true;
}

void PosixSerialLink::close() {
    if (fd_ < 0)
        return;
    ::tcdrain(fd_);
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    input_.clear();
    lock_.release();
}

void PosixSerialLink::write(const Bytes& bytes) {
    std::size_t done = 0;
    while (fd_ >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            // The driver's output buffer is full: wait until it takes more, reading meanwhile so
            // that the other side is never blocked by us.
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, 10);
            pump();
        } else {
            break;
        }
    }
}

void PosixSerialLink::pump() {
    if (fd_ < 0)
        return;
    std::uint8_t buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        input_.insert(input_.end(), buffer, buffer + n);
    }
}

Bytes PosixSerialLink::readAll() {
    pump();
    Bytes out;
    out.swap(input_);
    return out;
}

std::size_t PosixSerialLink::inCount() {
    pump();
    return input_.size();
}

std::size_t PosixSerialLink::outCount() {
    int waiting = 0;
    if (fd_ < 0 || ::ioctl(fd_, TIOCOUTQ, &waiting) != 0)
        return 0;
    return waiting > 0 ? static_cast<std::size_t>(waiting) : 0;
}

void PosixSerialLink::waitForInput(std::chrono::milliseconds limit) {
    if (fd_ < 0)
        return;
    pollfd p{fd_, POLLIN, 0};
    ::poll(&p, 1, static_cast<int>(limit.count()));
    pump();
}

} // namespace korvel

#endif
