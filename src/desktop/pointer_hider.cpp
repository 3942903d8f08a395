#include "desktop/pointer_hider.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>

namespace kansu {

PointerHider::PointerHider(int idleMilliseconds, QObject* parent) : QObject(parent) {
    idle_.setSingleShot(true);
    idle_.setInterval(idleMilliseconds);
    connect(&idle_, &QTimer::timeout, this, [this] { hide(); });
}

PointerHider::~PointerHider() {
    setActive(false);
}

void PointerHider::setActive(bool active) {
    if (active == active_)
        return;
    active_ = active;
    if (active) {
        QGuiApplication::instance()->installEventFilter(this);
        idle_.start();
    } else {
        QGuiApplication::instance()->removeEventFilter(this);
        idle_.stop();
        show();
    }
}

bool PointerHider::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        show();
        idle_.start();
    }
    return QObject::eventFilter(watched, event);
}

void PointerHider::hide() {
    if (hidden_ || !active_)
        return;
    hidden_ = true;
    QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
}

void PointerHider::show() {
    if (!hidden_)
        return;
    hidden_ = false;
    QGuiApplication::restoreOverrideCursor();
}

} // namespace kansu
