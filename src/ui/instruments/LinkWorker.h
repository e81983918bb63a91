#pragma once

#include "instruments/Clock.h"
#include "instruments/Exchange.h"
#include "instruments/SerialLink.h"

#include <QObject>
#include <QPointer>
#include <QThread>
#include <functional>
#include <memory>
#include <stop_token>

namespace korvel {

// Runs a serial exchange on a thread of its own, so that the screen keeps repainting and taking
// input while a command waits for the logger. The link and the clock are made on that thread (a
// QSerialPort belongs to the thread that makes it) and dropped at the end of the command. The
// result comes back on the screen's thread.
class LinkWorker : public QObject {
    Q_OBJECT
public:
    using LinkFactory = std::function<std::unique_ptr<SerialLink>()>;
    using ClockFactory = std::function<std::unique_ptr<Clock>()>;

    LinkWorker(LinkFactory link, ClockFactory clock, QObject* parent = nullptr);
    // Stops a running exchange (its waits end at once) and waits for its thread.
    ~LinkWorker() override;

    void setLinkFactory(LinkFactory link) { linkFactory_ = std::move(link); }
    void setClockFactory(ClockFactory clock) { clockFactory_ = std::move(clock); }
    bool busy() const { return busy_; }

    // Runs `job` on the worker thread; `done` gets its result on this object's thread. False when
    // an exchange is running already.
    template <typename Result>
    bool run(std::function<Result(Exchange&)> job, std::function<void(Result)> done) {
        return start([this, job = std::move(job), done = std::move(done)](Exchange& exchange) mutable {
            auto result = std::make_shared<Result>(job(exchange));
            return std::function<void()>([done, result] { done(std::move(*result)); });
        });
    }

    // Runs `f` on this object's thread (progress from inside a job).
    void post(std::function<void()> f);
    // Ends the waits of the running exchange.
    void stop();
    // Waits for the running exchange to end, handling its result (tests).
    bool waitForIdle(int milliseconds);

signals:
    void started();
    void finished();

private:
    bool start(std::function<std::function<void()>(Exchange&)> job);

    LinkFactory linkFactory_;
    ClockFactory clockFactory_;
    std::unique_ptr<QThread> thread_;
    std::stop_source stop_;
    bool busy_ = false;
};

} // namespace korvel
