#include "platform/QtSerialLink.h"

#include "platform/PortLock.h"

namespace korvel {

namespace {

QSerialPort::Parity parityOf(char p) {
    switch (p) {
    case 'e':
        return QSerialPort::EvenParity;
    case 'o':
        return QSerialPort::OddParity;
    case 'm':
        return QSerialPort::MarkParity;
    case 's':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

} // namespace

QtSerialLink::QtSerialLink(PortDeviceOverride override) : override_(std::move(override)) {}

QtSerialLink::~QtSerialLink() {
    close();
}

bool QtSerialLink::open() {
    const auto line = parseLineSettings(line_);
    const std::string path = device();
    if (serial_.isOpen() || !line || path.empty())
        return false;
    // The lock is judged as the korvel tool judges it: held for as long as its holder runs.
    if (portLockHeld(path))
        return false;
    serial_.setPortName(QString::fromStdString(path));
    if (!serial_.open(QIODevice::ReadWrite))
        return false;
    const bool settled =
        serial_.setBaudRate(line->speed) &&
        serial_.setDataBits(static_cast<QSerialPort::DataBits>(line->dataBits)) &&
        serial_.setParity(parityOf(line->parity)) &&
        serial_.setStopBits(line->stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
        serial_.setFlowControl(QSerialPort::NoFlowControl);
    if (!settled) {
        serial_.close();
        return false;
    }
    serial_.clear(QSerialPort::Input);
    return true;
}

void QtSerialLink::close() {
    if (!serial_.isOpen())
        return;
    while (serial_.bytesToWrite() > 0 && serial_.waitForBytesWritten(100)) {
    }
    serial_.close();
}

void QtSerialLink::pump() {
    if (serial_.isOpen())
        serial_.waitForReadyRead(0);
}

void QtSerialLink::write(const Bytes& bytes) {
    if (!serial_.isOpen())
        return;
    serial_.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    serial_.waitForBytesWritten(0);
}

Bytes QtSerialLink::readAll() {
    pump();
    const QByteArray data = serial_.readAll();
    return Bytes(data.begin(), data.end());
}

std::size_t QtSerialLink::inCount() {
    pump();
    return static_cast<std::size_t>(serial_.bytesAvailable());
}

std::size_t QtSerialLink::outCount() {
    if (serial_.bytesToWrite() > 0)
        serial_.waitForBytesWritten(0);
    return static_cast<std::size_t>(serial_.bytesToWrite());
}

void QtSerialLink::waitForInput(std::chrono::milliseconds limit) {
    if (!serial_.isOpen())
        return;
    if (serial_.bytesToWrite() > 0)
        serial_.waitForBytesWritten(0);
    serial_.waitForReadyRead(static_cast<int>(limit.count()));
}

std::optional<LineState> QtSerialLink::lineState() {
    if (!serial_.isOpen())
        return std::nullopt;
    serial_.clearError();
    const QSerialPort::PinoutSignals lines = serial_.pinoutSignals();
    if (serial_.error() != QSerialPort::NoError) {
        serial_.clearError();
        return std::nullopt;
    }
    LineState state;
    state.cts = lines.testFlag(QSerialPort::ClearToSendSignal);
    state.dsr = lines.testFlag(QSerialPort::DataSetReadySignal);
    state.cd = lines.testFlag(QSerialPort::DataCarrierDetectSignal);
    state.ring = lines.testFlag(QSerialPort::RingIndicatorSignal);
    return state;
}

bool QtSerialLink::setDataTerminalReady(bool on) {
    if (!serial_.isOpen())
        return false;
    serial_.clearError();
    const bool done = serial_.setDataTerminalReady(on);
    serial_.clearError();
    return done;
}

QSerialPort::SerialPortError QtSerialLink::takeError() {
    const QSerialPort::SerialPortError error = serial_.error();
    serial_.clearError();
    return error == QSerialPort::TimeoutError ? QSerialPort::NoError : error;
}

bool QtSerialLink::drainOutput(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (serial_.isOpen() && serial_.bytesToWrite() > 0 && std::chrono::steady_clock::now() < deadline)
        serial_.waitForBytesWritten(20);
    return !serial_.isOpen() || serial_.bytesToWrite() == 0;
}

std::optional<int> commEventOfError(QSerialPort::SerialPortError error) {
    switch (error) {
    case QSerialPort::NoError:
    case QSerialPort::TimeoutError:
    case QSerialPort::NotOpenError:
    case QSerialPort::UnsupportedOperationError:
        return std::nullopt;
    case QSerialPort::WriteError:
        return comm::kTransmitFull;
    default:
        return comm::kUnknown;
    }
}

} // namespace korvel
