#pragma once

#include "instruments/PortSettings.h"
#include "instruments/SerialLink.h"
#include "platform/PortLock.h"

#include <string>

namespace korvel {

// A serial port through the POSIX terminal interface (termios), without Qt: the korvel tool's link.
// Bytes are read from the device into a buffer of the link, so that waiting for input blocks until
// more arrives. The port is held exclusively while open: its lock file (the one QSerialPort keeps)
// and the terminal's exclusive mode, so a port another program holds does not open.
class PosixSerialLink : public SerialLink {
public:
    explicit PosixSerialLink(PortDeviceOverride override = environmentPortDevice);
    ~PosixSerialLink() override;
    PosixSerialLink(const PosixSerialLink&) = delete;
    PosixSerialLink& operator=(const PosixSerialLink&) = delete;

    void setPort(std::string_view port) override { port_ = std::string(port); }
    void setLineSettings(std::string_view settings) override { line_ = std::string(settings); }
    bool open() override;
    void close() override;
    bool isOpen() const override { return fd_ >= 0; }
    void write(const Bytes& bytes) override;
    using SerialLink::write;
    Bytes readAll() override;
    std::size_t inCount() override;
    std::size_t outCount() override;
    void waitForInput(std::chrono::milliseconds limit) override;

    // The device the port text opens.
    std::string device() const { return portDevice(port_, override_); }

private:
    void pump();

    PortDeviceOverride override_;
    std::string port_ = "Com1";
    std::string line_ = std::string(kInstrumentLine);
    int fd_ = -1;
    Bytes input_;
    PortLock lock_;
};

} // namespace korvel
