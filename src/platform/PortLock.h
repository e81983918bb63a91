#pragma once

#include <string>

namespace korvel {

// The lock file of a serial port, in the convention QSerialPort keeps: "LCK.." followed by the
// device name (after its first five characters when it is a path, "/" written "_"), in the first
// of the usual lock directories that can be read and either holds the file or can be written. The
// desktop program (through QSerialPort) and the korvel tool (through the termios link) both hold
// it while a port is open, so the two never share a port. Empty when no directory is usable.
std::string portLockPath(const std::string& device);

// Whether a running process holds the port's lock (this process included). A lock left by a
// process that no longer runs on this machine holds nothing.
bool portLockHeld(const std::string& device);

// Holds the lock of one port from acquire() to release() or destruction. The file holds the
// process id, the program name and the host name, one a line, as QSerialPort writes it.
class PortLock {
public:
    PortLock() = default;
    ~PortLock() { release(); }
    PortLock(const PortLock&) = delete;
    PortLock& operator=(const PortLock&) = delete;

    // False when another running process holds the port; a stale lock is taken over. A port whose
    // lock cannot be written anywhere is opened without one.
    bool acquire(const std::string& device);
    void release();

private:
    std::string path_;
};

} // namespace korvel
