#pragma once

#include "instruments/Clock.h"
#include "instruments/SerialLink.h"

#include <chrono>
#include <cstdint>
#include <stop_token>

namespace korvel {

using Seconds = std::chrono::seconds;

// The steps every logger command is made of, on one link and one clock. A wait ends with false
// when its deadline passes (or the exchange is stopped); the caller closes the port and tells the
// user. The port stays open between the steps of a command.
class Exchange {
public:
    Exchange(SerialLink& link, Clock& clock, std::stop_token stop = {});

    SerialLink& link() { return link_; }
    Clock& clock() { return clock_; }
    bool stopRequested() const { return stop_.stop_requested(); }
    std::stop_token stopToken() const { return stop_; }

    // Opens the port unless it is open already; false when it cannot be opened.
    bool openPort();
    void closePort();

    // Open the port; write 0x01 up to `repeats` times, stopping as soon as a byte waits; write
    // 0x01 once more; discard the input; wait for at least one byte, at most `firstWait`.
    // False when the port cannot be opened (see portOpenFailed()) or the wait runs out.
    bool wakeLogger(int repeats, Clock::Duration firstWait);
    bool portOpenFailed() const { return openFailed_; }

    // Poll until exactly `count` bytes wait. More bytes than that do not end the wait.
    bool awaitCount(std::size_t count, Clock::Duration timeout);
    // Until at least one byte waits.
    bool awaitAny(Clock::Duration timeout);
    // Write the command byte, discard the input at once, then awaitCount for the reply.
    bool sendWithEchoDiscard(std::uint8_t command, std::size_t replyLength, Clock::Duration timeout);
    // Write the bytes and loop until the output count is zero.
    void writeAndDrain(const Bytes& bytes);

    void write(std::uint8_t byte) { link_.write(byte); }
    void write(const Bytes& bytes) { link_.write(bytes); }
    Bytes readAll() { return link_.readAll(); }
    void discardInput() { link_.readAll(); }

    // How long one poll of a wait may block: short, so that a deadline is seen promptly on a
    // clock that runs faster than real time.
    static constexpr std::chrono::milliseconds kPollSlice{5};

private:
    template <typename Done> bool waitUntil(Clock::Duration timeout, Done done);

    SerialLink& link_;
    Clock& clock_;
    std::stop_token stop_;
    bool openFailed_ = false;
};

} // namespace korvel
