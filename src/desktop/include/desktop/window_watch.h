#pragma once

#include <QAbstractNativeEventFilter>
#include <functional>

class QWidget;

namespace kansu {

// Notices when another program destroys the window behind our back (an X client may): the lesson
// then ends as if its window had been closed, instead of running on without one.
class WindowWatch : public QAbstractNativeEventFilter {
public:
    WindowWatch(const QWidget& window, std::function<void()> destroyed);
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    const QWidget& window_;
    std::function<void()> destroyed_;
};

} // namespace kansu
