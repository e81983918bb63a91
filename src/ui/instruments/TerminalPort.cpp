#include "ui/instruments/TerminalPort.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>
#include <QTimer>

namespace korvel {

namespace {

constexpr int kPollMs = 20;
constexpr unsigned long kDtrLowMs = 100;

} // namespace

// What lives on the port's thread: the link, the clock and the 20 ms look at the port.
class TerminalPort::Side : public QObject {
public:
    Side(TerminalPort& owner, LinkFactory link, ClockFactory clock)
        : owner_(owner), linkFactory_(std::move(link)), clockFactory_(std::move(clock)) {}

    void start() {
        poll_ = new QTimer(this);
        poll_->setInterval(kPollMs);
        QObject::connect(poll_, &QTimer::timeout, this, [this] { poll(); });
    }

    void shutdown() {
        close();
        delete poll_;
        poll_ = nullptr;
        clock_.reset();
    }

    bool open() {
        if (isOpen())
            return true;
        if (!link_)
            link_ = linkFactory_();
        if (!link_->open()) {
            link_.reset();
            return false;
        }
        opened();
        return true;
    }

    void close() {
        if (poll_ != nullptr)
            poll_->stop();
        if (link_)
            link_->close();
        link_.reset();
        lines_.reset();
        linesKnown_ = true;
    }

    void write(const Bytes& bytes) {
        if (isOpen())
            link_->write(bytes);
    }

    void setDataTerminalReady(bool on) {
        dtr_ = on;
        if (isOpen())
            link_->setDataTerminalReady(on);
    }

    void pulseDataTerminalReady(bool restore) {
        if (!isOpen())
            return;
        link_->setDataTerminalReady(true);
        link_->setDataTerminalReady(false);
        QThread::msleep(kDtrLowMs);
        dtr_ = restore;
        link_->setDataTerminalReady(restore);
    }

    bool drain(int limitMs) { return !isOpen() || link_->drainOutput(std::chrono::milliseconds(limitMs)); }

    std::function<void()> runJob(const std::function<std::function<void()>(Exchange&)>& job,
                                 std::stop_token stop) {
        if (!link_)
            link_ = linkFactory_();
        if (!clock_)
            clock_ = clockFactory_();
        const bool wasOpen = link_->isOpen();
        std::function<void()> deliver;
        {
            Exchange exchange(*link_, *clock_, std::move(stop));
            deliver = job(exchange);
        }
        if (!link_->isOpen())
            close();
        else if (!wasOpen)
            opened();
        return deliver;
    }

    bool isOpen() const { return link_ && link_->isOpen(); }
    const std::optional<LineState>& lines() const { return lines_; }

private:
    void opened() {
        link_->setDataTerminalReady(dtr_);
        lines_.reset();
        linesKnown_ = true;
        faultReported_ = false;
        if (poll_ != nullptr && !poll_->isActive())
            poll_->start();
    }

    void poll() {
        if (!isOpen())
            return;
        const Bytes bytes = link_->readAll();
        if (!bytes.empty()) {
            faultReported_ = false;
            QByteArray data(reinterpret_cast<const char*>(bytes.data()),
                            static_cast<qsizetype>(bytes.size()));
            owner_.post([owner = &owner_, data] { emit owner->received(data); });
        }
        // A lasting fault (a port that went away) is told once, not at every look.
        if (const auto code = commEventOfError(link_->takeError()); code && !faultReported_) {
            faultReported_ = true;
            report(*code);
        }
        if (!linesKnown_)
            return;
        const std::optional<LineState> now = link_->lineState();
        if (!now) {
            // The port cannot tell its lines (a pseudo-terminal): stop asking until it is reopened.
            linesKnown_ = false;
            return;
        }
        if (lines_ && *lines_ == *now)
            return;
        if (lines_)
            for (const int code : lineChangeEvents(*lines_, *now))
                report(code);
        lines_ = now;
        owner_.post([owner = &owner_, now] { owner->reportState(true, now); });
    }

    void report(int code) {
        owner_.post([owner = &owner_, code] { emit owner->commEvent(code); });
    }

    TerminalPort& owner_;
    LinkFactory linkFactory_;
    ClockFactory clockFactory_;
    std::unique_ptr<QtSerialLink> link_;
    std::unique_ptr<Clock> clock_;
    QTimer* poll_ = nullptr;
    std::optional<LineState> lines_;
    bool linesKnown_ = true;
    bool faultReported_ = false;
    bool dtr_ = true;
};

TerminalPort::TerminalPort(LinkFactory link, ClockFactory clock, QObject* parent)
    : QObject(parent), thread_(std::make_unique<QThread>()),
      side_(new Side(*this, std::move(link), std::move(clock))) {
    side_->moveToThread(thread_.get());
    thread_->start();
    onPortThread([side = side_] { side->start(); });
}

TerminalPort::~TerminalPort() {
    stop_.request_stop();
    QMetaObject::invokeMethod(
        side_,
        [side = side_] {
            side->shutdown();
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    thread_->wait();
    delete side_;
}

void TerminalPort::post(std::function<void()> f) {
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

void TerminalPort::onPortThread(std::function<void()> f) {
    ++pending_;
    QMetaObject::invokeMethod(
        side_,
        [this, f = std::move(f)] {
            f();
            const bool open = side_->isOpen();
            const auto lines = side_->lines();
            post([this, open, lines] {
                --pending_;
                reportState(open, lines);
            });
        },
        Qt::QueuedConnection);
}

void TerminalPort::reportState(bool open, std::optional<LineState> lines) {
    lines_ = lines;
    if (open == open_)
        return;
    open_ = open;
    emit openChanged(open);
}

void TerminalPort::open(std::function<void(bool)> done) {
    onPortThread([this, side = side_, done = std::move(done)] {
        const bool open = side->open();
        if (done)
            post([done, open] { done(open); });
    });
}

void TerminalPort::close() {
    onPortThread([side = side_] { side->close(); });
}

void TerminalPort::write(const QByteArray& bytes) {
    onPortThread([side = side_, bytes = Bytes(bytes.begin(), bytes.end())] { side->write(bytes); });
}

void TerminalPort::setDataTerminalReady(bool on) {
    onPortThread([side = side_, on] { side->setDataTerminalReady(on); });
}

void TerminalPort::pulseDataTerminalReady(bool restore) {
    onPortThread([side = side_, restore] { side->pulseDataTerminalReady(restore); });
}

void TerminalPort::drain(int limitMs, std::function<void(bool)> done) {
    onPortThread([this, side = side_, limitMs, done = std::move(done)] {
        const bool drained = side->drain(limitMs);
        post([done, drained] { done(drained); });
    });
}

bool TerminalPort::start(std::function<std::function<void()>(Exchange&)> job) {
    if (busy_)
        return false;
    busy_ = true;
    stop_ = std::stop_source();
    onPortThread([this, side = side_, job = std::move(job), stop = stop_.get_token()] {
        std::function<void()> deliver = side->runJob(job, stop);
        post([this, deliver = std::move(deliver)] {
            busy_ = false;
            deliver();
        });
    });
    return true;
}

bool TerminalPort::waitForIdle(int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while ((pending_ > 0 || busy_) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return pending_ == 0 && !busy_;
}

} // namespace korvel
