#include "instruments/Exchange.h"

#include <algorithm>

namespace korvel {

namespace {

constexpr std::uint8_t kWakeByte = 0x01;

} // namespace

Exchange::Exchange(SerialLink& link, Clock& clock, std::stop_token stop)
    : link_(link), clock_(clock), stop_(std::move(stop)) {}

bool Exchange::openPort() {
    if (link_.isOpen())
        return true;
    openFailed_ = !link_.open();
    return !openFailed_;
}

void Exchange::closePort() {
    if (link_.isOpen())
        link_.close();
}

template <typename Done> bool Exchange::waitUntil(Clock::Duration timeout, Done done) {
    const Clock::TimePoint deadline = clock_.now() + timeout;
    for (;;) {
        if (done())
            return true;
        if (clock_.passed(deadline) || stop_.stop_requested())
            return false;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - clock_.now()) +
                          std::chrono::milliseconds(1);
        link_.waitForInput(std::clamp(left, std::chrono::milliseconds(1), kPollSlice));
    }
}

bool Exchange::wakeLogger(int repeats, Clock::Duration firstWait) {
    if (!openPort())
        return false;
    for (int i = 0; i < repeats && !stop_.stop_requested(); ++i) {
        link_.write(kWakeByte);
        if (link_.inCount() != 0)
            break;
    }
    link_.write(kWakeByte);
    discardInput();
    return awaitAny(firstWait);
}

bool Exchange::awaitCount(std::size_t count, Clock::Duration timeout) {
    return waitUntil(timeout, [&] { return link_.inCount() == count; });
}

bool Exchange::awaitAny(Clock::Duration timeout) {
    return waitUntil(timeout, [&] { return link_.inCount() != 0; });
}

bool Exchange::sendWithEchoDiscard(std::uint8_t command, std::size_t replyLength, Clock::Duration timeout) {
    link_.write(command);
    discardInput();
    return awaitCount(replyLength, timeout);
}

void Exchange::writeAndDrain(const Bytes& bytes) {
    link_.write(bytes);
    while (link_.outCount() != 0 && !stop_.stop_requested())
        link_.waitForInput(std::chrono::milliseconds(1));
}

} // namespace korvel
