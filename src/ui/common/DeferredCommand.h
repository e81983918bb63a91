#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

namespace korvel {

// A long command that a menu does not run at once: the menu arms the screen's one-shot timer
// (1 ms), so the menu closes and the screen repaints first; the timer's handler disarms itself
// and does the work. Arming again before it fired still runs the work once.
class DeferredCommand : public QObject {
    Q_OBJECT
public:
    static constexpr int kIntervalMs = 1;

    DeferredCommand(QObject* screen, const QString& timerName, std::function<void()> work);

    void arm();
    bool isArmed() const { return timer_.isActive(); }
    // Runs an armed command now (tests, and closing a screen that still has one pending).
    void runNow();

private:
    void fire();

    QTimer timer_;
    std::function<void()> work_;
};

} // namespace korvel
