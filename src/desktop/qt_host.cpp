#include "desktop/qt_host.h"

#include <QCoreApplication>
#include <QWidget>

namespace kansu {

QtHost::QtHost() {
    clock_.start();
    wakeUp_.setSingleShot(true);
    wakeUp_.setTimerType(Qt::PreciseTimer);
}

std::uint32_t QtHost::tickCount() {
    // A monotonic clock, cut to the 32 bits of a classic tick counter (wraps after ~49.7 days).
    return static_cast<std::uint32_t>(clock_.elapsed());
}

void QtHost::runPendingEvents(std::int32_t maxMilliseconds) {
    // Block until an event arrives or the timer ends the wait; never spin.
    wakeUp_.start(std::max(maxMilliseconds, 0));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    wakeUp_.stop();
}

void QtHost::endProgram() {
    if (window_)
        window_->hide();
    QCoreApplication::quit();
}

} // namespace kansu
