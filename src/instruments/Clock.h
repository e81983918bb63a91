#pragma once

#include <chrono>

namespace korvel {

// Monotonic time for the deadlines of the serial exchanges: a wait that spans midnight or a
// change of the computer's clock still ends on time.
class Clock {
public:
    using Duration = std::chrono::steady_clock::duration;
    using TimePoint = std::chrono::steady_clock::time_point;

    virtual ~Clock() = default;
    virtual TimePoint now() const = 0;
    // Lets the given time pass (the reception ticks of a download).
    virtual void sleepFor(Duration duration) = 0;

    // A deadline has passed when the clock is later than it.
    bool passed(TimePoint deadline) const { return now() > deadline; }
};

// The steady clock of the machine. `speed` clock seconds pass per real second: 1 for the
// program; tests of real ports against the simulator run the deadlines faster.
class SteadyClock : public Clock {
public:
    explicit SteadyClock(double speed = 1.0);
    TimePoint now() const override;
    void sleepFor(Duration duration) override;

private:
    double speed_;
    std::chrono::steady_clock::time_point start_;
};

} // namespace korvel
