#include "ui/common/DeferredCommand.h"

namespace korvel {

DeferredCommand::DeferredCommand(QObject* screen, const QString& timerName, std::function<void()> work)
    : QObject(screen), work_(std::move(work)) {
    setObjectName(timerName);
    timer_.setSingleShot(true);
    timer_.setInterval(kIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &DeferredCommand::fire);
}

void DeferredCommand::arm() {
    timer_.start();
}

void DeferredCommand::runNow() {
    if (timer_.isActive())
        fire();
}

void DeferredCommand::fire() {
    timer_.stop();
    if (work_)
        work_();
}

} // namespace korvel
