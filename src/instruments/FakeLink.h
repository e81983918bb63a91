#pragma once

#include "instruments/Clock.h"
#include "instruments/SerialLink.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace korvel {

// A clock that moves only when told: waits and sleeps advance it instead of taking real time.
class FakeClock : public Clock {
public:
    TimePoint now() const override { return now_; }
    void sleepFor(Duration duration) override { advance(duration); }
    void advance(Duration duration) {
        if (duration > Duration::zero())
            now_ += duration;
    }
    void advanceTo(TimePoint t) {
        if (t > now_)
            now_ = t;
    }
    // Time passed since the clock was made.
    Duration elapsed() const { return now_ - TimePoint{}; }

private:
    TimePoint now_{};
};

// A serial link for tests of the protocols: it records what is written and delivers input that a
// script schedules, with time taken from a FakeClock. Waiting for input advances the clock to the
// next delivery (or by the wait's limit).
class ScriptedLink : public SerialLink {
public:
    struct Written {
        Clock::TimePoint at;
        Bytes bytes;
    };
    // Called after every write with the bytes written; it may schedule input with deliver().
    using Responder = std::function<void(ScriptedLink& link, const Bytes& written)>;

    explicit ScriptedLink(FakeClock& clock) : clock_(clock) {}

    void setResponder(Responder responder) { responder_ = std::move(responder); }
    // Input that arrives `after` the present moment of the clock.
    void deliver(const Bytes& bytes, Clock::Duration after = Clock::Duration::zero());
    // Output stays counted as not yet sent for this long after each write.
    void setSendTime(Clock::Duration perByte) { sendTimePerByte_ = perByte; }
    // Opening fails (a busy or absent port).
    void setOpenFails(bool fails) { openFails_ = fails; }

    void setPort(std::string_view port) override { port_ = std::string(port); }
    void setLineSettings(std::string_view settings) override { lineSettings_ = std::string(settings); }
    bool open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    void write(const Bytes& bytes) override;
    using SerialLink::write;
    Bytes readAll() override;
    std::size_t inCount() override;
    std::size_t outCount() override;
    void waitForInput(std::chrono::milliseconds limit) override;

    // What the protocol did.
    const std::string& port() const { return port_; }
    const std::string& lineSettings() const { return lineSettings_; }
    const std::vector<Written>& writes() const { return writes_; }
    Bytes allWritten() const;
    int openCount() const { return opens_; }
    int closeCount() const { return closes_; }
    int readAllCount() const { return readAlls_; }

private:
    struct Pending {
        Clock::TimePoint at;
        Bytes bytes;
    };
    void arrive();

    FakeClock& clock_;
    Responder responder_;
    std::deque<Pending> pending_;
    Bytes input_;
    std::vector<Written> writes_;
    std::string port_ = "Com1";
    std::string lineSettings_;
    Clock::Duration sendTimePerByte_ = Clock::Duration::zero();
    Clock::TimePoint sentBy_{};
    bool sending_ = false;
    bool open_ = false;
    bool openFails_ = false;
    int opens_ = 0;
    int closes_ = 0;
    int readAlls_ = 0;
};

} // namespace korvel
