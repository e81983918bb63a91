#include "instruments/Clock.h"

#include <thread>

namespace korvel {

SteadyClock::SteadyClock(double speed)
    : speed_(speed > 0 ? speed : 1.0), start_(std::chrono::steady_clock::now()) {}

Clock::TimePoint SteadyClock::now() const {
    const auto real = std::chrono::steady_clock::now();
    if (speed_ == 1.0)
        return real;
    const auto elapsed = std::chrono::duration<double>(real - start_) * speed_;
    return start_ + std::chrono::duration_cast<Duration>(elapsed);
}

void SteadyClock::sleepFor(Duration duration) {
    if (duration <= Duration::zero())
        return;
    std::this_thread::sleep_for(
        std::chrono::duration_cast<Duration>(std::chrono::duration<double>(duration) / speed_));
}

} // namespace korvel
