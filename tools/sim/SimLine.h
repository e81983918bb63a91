#pragma once

#include "instruments/sim/SimDevice.h"

#include <atomic>
#include <string>

namespace korvel::sim {

// A byte stream the simulated logger answers on: a pseudo-terminal whose other end a program opens
// as its serial port, or a pair of file descriptors (standard input and output).
class SimLine {
public:
    // Makes a pseudo-terminal; its device path is path().
    static SimLine pseudoTerminal();
    static SimLine descriptors(int in, int out);

    SimLine(SimLine&& other) noexcept;
    SimLine(const SimLine&) = delete;
    SimLine& operator=(const SimLine&) = delete;
    ~SimLine();

    const std::string& path() const { return path_; }

    // Serves the logger until `stop` is set (or, with `watchFd` >= 0, until that descriptor
    // reaches its end). `log` receives one line per command byte when not null.
    void serve(SimDevice& logger, const std::atomic<bool>& stop, int watchFd = -1, bool verbose = false);

private:
    SimLine(int in, int out, bool pty, std::string path);

    int in_;
    int out_;
    bool pty_;
    std::string path_;
};

} // namespace korvel::sim
