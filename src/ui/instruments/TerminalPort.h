#pragma once

#include "instruments/Clock.h"
#include "instruments/CommEvents.h"
#include "instruments/Exchange.h"
#include "platform/QtSerialLink.h"

#include <QByteArray>
#include <QObject>
#include <QThread>
#include <functional>
#include <memory>
#include <optional>
#include <stop_token>

namespace korvel {

// The modem terminal's port: one QSerialPort on a thread of its own, open from "Portu aç" or the
// dial to the hang-up. While no logger command runs, the thread looks at the port every 20 ms and
// reports what came in (received()), the faults of the line and the changes of its CTS, DSR, CD
// and RI lines (commEvent()). Writes and the logger commands are queued to that thread in the
// order they are asked for; their results come back on the screen's thread. The screen's thread
// never waits for the port.
class TerminalPort : public QObject {
    Q_OBJECT
public:
    // Makes the link for each opening (its port and line as stored at that moment).
    using LinkFactory = std::function<std::unique_ptr<QtSerialLink>()>;
    using ClockFactory = std::function<std::unique_ptr<Clock>()>;

    TerminalPort(LinkFactory link, ClockFactory clock, QObject* parent = nullptr);
    // Ends a running command, closes the port and waits for the thread.
    ~TerminalPort() override;

    // Opens the port unless it is open; `done` gets whether it is open afterwards.
    void open(std::function<void(bool)> done = {});
    void close();
    void write(const QByteArray& bytes);
    void setDataTerminalReady(bool on);
    // DTR on, then off for a moment, then `restore`: a modem hangs up when DTR drops.
    void pulseDataTerminalReady(bool restore);
    // Waits on the port's thread until the output is sent, at most `limitMs`; `done` gets whether
    // nothing is left to send.
    void drain(int limitMs, std::function<void(bool)> done);

    // Runs a logger command on the port (opened by the command when it is closed); `done` gets
    // its result. The terminal's reports pause while it runs. False when one runs already.
    template <typename Result>
    bool run(std::function<Result(Exchange&)> job, std::function<void(Result)> done) {
        return start([job = std::move(job), done = std::move(done)](Exchange& exchange) mutable {
            auto result = std::make_shared<Result>(job(exchange));
            return std::function<void()>([done, result] { done(std::move(*result)); });
        });
    }
    // Runs `f` on the screen's thread (progress from inside a command).
    void post(std::function<void()> f);

    bool isOpen() const { return open_; }
    bool busy() const { return busy_; }
    // The line state last seen; nothing while the port is closed or cannot tell.
    const std::optional<LineState>& lines() const { return lines_; }
    // Handles the port's reports until every queued request is done (tests).
    bool waitForIdle(int milliseconds);

signals:
    void received(const QByteArray& bytes);
    void commEvent(int code);
    void openChanged(bool open);

private:
    class Side;
    bool start(std::function<std::function<void()>(Exchange&)> job);
    // Runs `f` on the port's thread; the request counts as pending until it is done.
    void onPortThread(std::function<void()> f);
    void reportState(bool open, std::optional<LineState> lines);

    std::unique_ptr<QThread> thread_;
    Side* side_;
    std::stop_source stop_;
    int pending_ = 0;
    bool open_ = false;
    bool busy_ = false;
    std::optional<LineState> lines_;
};

} // namespace korvel
