#pragma once

#include "surface/host.h"

#include <QElapsedTimer>
#include <QTimer>

class QWidget;

namespace kansu {

// The real host: a monotonic millisecond clock and the application's event loop.
class QtHost : public Host {
public:
    QtHost();

    void attach(QWidget* window) { window_ = window; }

    std::uint32_t tickCount() override;
    void runPendingEvents(std::int32_t maxMilliseconds) override;
    void endProgram() override;

private:
    QElapsedTimer clock_;
    QTimer wakeUp_;
    QWidget* window_ = nullptr;
};

} // namespace kansu
