#pragma once

#include "core/ByteIO.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvel {

// The serial port as the instrument code sees it: a byte stream with counts of the bytes waiting
// in each direction. Input is always binary: reads return raw bytes.
class SerialLink {
public:
    virtual ~SerialLink() = default;

    // The port, as a port text ("Com3") or a device path; see portDevice().
    virtual void setPort(std::string_view port) = 0;
    // "19200,n,8,1": speed, parity, data bits and stop bits.
    virtual void setLineSettings(std::string_view settings) = 0;

    // False when the port is busy, absent or cannot take the line settings.
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    virtual void write(const Bytes& bytes) = 0;
    // Every byte waiting; the input buffer is empty afterwards.
    virtual Bytes readAll() = 0;
    // Bytes waiting to be read (InBufferCount) and bytes not yet sent.
    virtual std::size_t inCount() = 0;
    virtual std::size_t outCount() = 0;

    // Returns when more input may have arrived or after at most `limit`, whichever comes first.
    // Waits poll through this, so that a wait neither spins nor sleeps past an arriving byte.
    virtual void waitForInput(std::chrono::milliseconds limit) = 0;

    void write(std::uint8_t byte) { write(Bytes{byte}); }
};

// The line of the direct instrument screens.
inline constexpr std::string_view kInstrumentLine = "19200,n,8,1";

struct LineSettings {
    int speed = 0;
    char parity = 'n';
    int dataBits = 8;
    int stopBits = 1;
};

// "19200,n,8,1" into its parts; nothing when a part is missing or not understood.
std::optional<LineSettings> parseLineSettings(std::string_view text);

} // namespace korvel
