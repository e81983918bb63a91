#pragma once

#include "core/ByteIO.h"
#include "instruments/Clock.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace korvel::sim {

using TimePoint = Clock::TimePoint;
using Duration = Clock::Duration;

// A simulated device on a serial line: it is fed the bytes that arrive with the time they arrive
// and gives the bytes it sends when their time has come.
class SimDevice {
public:
    virtual ~SimDevice() = default;
    virtual void receive(const Bytes& bytes, TimePoint now) = 0;
    virtual Bytes takeOutput(TimePoint now) = 0;
    // Nobody holds the port any more: what was still to be sent is lost.
    virtual void dropLine() = 0;
    // When something next happens without input; nothing when idle.
    virtual std::optional<TimePoint> nextEvent() const = 0;
    // The command bytes received, for tests and the log.
    virtual const std::vector<std::uint8_t>& commands() const = 0;
};

} // namespace korvel::sim
