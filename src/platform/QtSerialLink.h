#pragma once

#include "instruments/CommEvents.h"
#include "instruments/PortSettings.h"
#include "instruments/SerialLink.h"

#include <QSerialPort>
#include <optional>
#include <string>

namespace korvel {

// The serial port through QSerialPort. It is used in blocking fashion, so it works in a thread
// without an event loop (the logger screens run their exchanges on a worker thread): create and
// use it in one thread.
class QtSerialLink : public SerialLink {
public:
    explicit QtSerialLink(PortDeviceOverride override = environmentPortDevice);
    ~QtSerialLink() override;

    void setPort(std::string_view port) override { port_ = std::string(port); }
    void setLineSettings(std::string_view settings) override { line_ = std::string(settings); }
    bool open() override;
    void close() override;
    bool isOpen() const override { return serial_.isOpen(); }
    void write(const Bytes& bytes) override;
    using SerialLink::write;
    Bytes readAll() override;
    std::size_t inCount() override;
    std::size_t outCount() override;
    void waitForInput(std::chrono::milliseconds limit) override;

    std::string device() const { return portDevice(port_, override_); }
    QString errorText() const { return serial_.errorString(); }

    // The modem lines CTS, DSR, CD and RI; nothing when the port is closed or cannot tell (a
    // pseudo-terminal has no modem lines).
    std::optional<LineState> lineState();
    // Sets DTR; false when the port is closed or the driver refuses.
    bool setDataTerminalReady(bool on);
    // The last fault of a read or a write, cleared once taken; the time-out of a wait is none.
    QSerialPort::SerialPortError takeError();
    // Waits until every byte written has gone out, at most `limit`; true when none is left.
    bool drainOutput(std::chrono::milliseconds limit);

private:
    void pump();

    PortDeviceOverride override_;
    std::string port_ = "Com1";
    std::string line_ = std::string(kInstrumentLine);
    QSerialPort serial_;
};

// The terminal's event code of a port fault (comm::kTransmitFull for a failed write,
// comm::kUnknown for the others); nothing for what is not a fault of the line.
std::optional<int> commEventOfError(QSerialPort::SerialPortError error);

} // namespace korvel
