#include "desktop/window_watch.h"

#include <QWidget>
#include <xcb/xcb.h>

namespace kansu {

WindowWatch::WindowWatch(const QWidget& window, std::function<void()> destroyed)
    : window_(window), destroyed_(std::move(destroyed)) {}

bool WindowWatch::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || !window_.testAttribute(Qt::WA_WState_Created))
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_DESTROY_NOTIFY)
        return false;
    const auto* destroyed = reinterpret_cast<const xcb_destroy_notify_event_t*>(event);
    if (destroyed->window == static_cast<xcb_window_t>(window_.winId()) && destroyed_)
        destroyed_();
    return false;
}

} // namespace kansu
