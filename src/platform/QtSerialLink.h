#pragma once

#include "instruments/PortSettings.h"
#include "instruments/SerialLink.h"

#include <QSerialPort>
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

private:
    void pump();

    PortDeviceOverride override_;
    std::string port_ = "Com1";
    std::string line_ = std::string(kInstrumentLine);
    QSerialPort serial_;
};

} // namespace korvel
