#pragma once

#include "instruments/Clock.h"
#include "instruments/Exchange.h"
#include "instruments/ProtocolLog.h"
#include "instruments/SerialLink.h"

#include <utility>

namespace korvel {

// A serial link that passes every operation on to another and logs the bytes written and read,
// with the time on the exchange's clock since the recording began.
class RecordingLink : public SerialLink {
public:
    RecordingLink(SerialLink& inner, const Clock& clock);

    void setPort(std::string_view port) override { inner_.setPort(port); }
    void setLineSettings(std::string_view settings) override { inner_.setLineSettings(settings); }
    bool open() override;
    void close() override;
    bool isOpen() const override { return inner_.isOpen(); }
    void write(const Bytes& bytes) override;
    using SerialLink::write;
    Bytes readAll() override;
    std::size_t inCount() override { return inner_.inCount(); }
    std::size_t outCount() override { return inner_.outCount(); }
    void waitForInput(std::chrono::milliseconds limit) override { inner_.waitForInput(limit); }

    const ProtocolLog& log() const { return log_; }

private:
    long long elapsedMs() const;

    SerialLink& inner_;
    const Clock& clock_;
    Clock::TimePoint start_;
    ProtocolLog log_;
};

template <typename Result> struct RecordedSession {
    Result result;
    ProtocolLog log;
};

// Runs `job` on an exchange over the same link, clock and stop request as `exchange`, with every
// byte on the line logged: the session of one download, kept beside its image.
template <typename Job> auto recordSession(Exchange& exchange, Job&& job) {
    RecordingLink recorder(exchange.link(), exchange.clock());
    Exchange recorded(recorder, exchange.clock(), exchange.stopToken());
    auto result = job(recorded);
    return RecordedSession<decltype(result)>{std::move(result), recorder.log()};
}

} // namespace korvel
