#include "ui/instruments/LinkWorker.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMetaObject>

namespace korvel {

LinkWorker::LinkWorker(LinkFactory link, ClockFactory clock, QObject* parent)
    : QObject(parent), linkFactory_(std::move(link)), clockFactory_(std::move(clock)) {}

LinkWorker::~LinkWorker() {
    stop();
    if (thread_)
        thread_->wait();
}

void LinkWorker::post(std::function<void()> f) {
    QMetaObject::invokeMethod(this, std::move(f), Qt::QueuedConnection);
}

void LinkWorker::stop() {
    stop_.request_stop();
}

bool LinkWorker::start(std::function<std::function<void()>(Exchange&)> job) {
    if (busy_)
        return false;
    if (thread_) {
        thread_->wait();
        thread_.reset();
    }
    busy_ = true;
    stop_ = std::stop_source();
    const std::stop_token token = stop_.get_token();
    thread_.reset(QThread::create([this, job = std::move(job), token]() mutable {
        std::function<void()> deliver;
        {
            const std::unique_ptr<SerialLink> link = linkFactory_();
            const std::unique_ptr<Clock> clock = clockFactory_();
            Exchange exchange(*link, *clock, token);
            deliver = job(exchange);
            exchange.closePort();
        }
        post([this, deliver = std::move(deliver)] {
            busy_ = false;
            deliver();
            emit finished();
        });
    }));
    emit started();
    thread_->start();
    return true;
}

bool LinkWorker::waitForIdle(int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (busy_ && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return !busy_;
}

} // namespace korvel
