#include "desktop/lesson_frame.h"

#include "desktop/frame_actions.h"
#include "desktop/qt_bridge.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGraphicsProxyWidget>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <algorithm>
#include <cmath>

namespace kansu {

LessonFrame::LessonFrame(Form1& form, QWidget* parent)
    : QWidget(parent), form_(form), window_(form, this) {
    setWindowTitle(qt(window::title));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, qtColour(window::backColour));
    setPalette(pal);
    window_.move(0, 0);
    changes_ = form_.changes().connect([this](const Changes& changes) {
        if (changes.window) {
            applySize();
            arrange();
        }
    });
    buildMenu();
    applySize();
    arrange();
}

void LessonFrame::buildMenu() {
    menu_ = new QMenu(this);
    auto add = [this](const QString& text, QKeySequence keys, auto slot) {
        QAction* action = menu_->addAction(text);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, slot);
        addAction(action);
        return action;
    };
    add(QStringLiteral("図をコピー"), QKeySequence::Copy, [this] { copyFigure(form_); });
    add(QStringLiteral("画像を保存…"), QKeySequence::Save,
        [this] { savePicture(*this, form_, shownScale_ * devicePixelRatioF()); });
    add(QStringLiteral("ワークシートを印刷…"), QKeySequence::Print,
        [this] { printWorksheet(*this, form_); });
    menu_->addSeparator();
    add(QStringLiteral("全画面"), QKeySequence(Qt::Key_F11), [this] { toggleFullScreen(); });
    QAction* in =
        add(QStringLiteral("拡大"), QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { zoomIn(); });
    in->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus),
                      QKeySequence::ZoomIn});
    add(QStringLiteral("縮小"), QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { zoomOut(); });
    add(QStringLiteral("等倍 (100%)"), QKeySequence(Qt::CTRL | Qt::Key_0), [this] { setZoom(1); });
    menu_->addSeparator();
    add(QStringLiteral("このソフトについて"), QKeySequence(), [this] { showAbout(*this); });

    // A presenter's clicker sends PageDown and PageUp; the arrows and Home do the same from a
    // keyboard, and P (or the clicker's start key, F5) plays and stops. Each acts only as a click
    // on its button would, so only when that button is enabled. Keys typed into the time box or
    // the speed box stay theirs: a text box takes the arrows, Home and letters before these do.
    const struct {
        QKeySequence keys;
        int key;
    } presenter[] = {{Qt::Key_PageDown, Qt::Key_PageDown},
                     {Qt::Key_Right, Qt::Key_PageDown},
                     {Qt::Key_PageUp, Qt::Key_PageUp},
                     {Qt::Key_Left, Qt::Key_PageUp},
                     {Qt::Key_Home, Qt::Key_Home},
                     {Qt::Key_P, Qt::Key_P},
                     {Qt::Key_F5, Qt::Key_P},
                     {Qt::Key_Escape, Qt::Key_Escape}};
    for (const auto& p : presenter) {
        auto* shortcut = new QShortcut(p.keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, key = p.key] { presenterKey(key); });
    }
}

void LessonFrame::presenterKey(int key) {
    if (QApplication::activeModalWidget())
        return;
    switch (key) {
    case Qt::Key_PageDown:
        return form_.click(role::forwardButton);
    case Qt::Key_PageUp:
        return form_.click(role::backButton);
    case Qt::Key_Home:
        return form_.click(role::initialScreenButton);
    case Qt::Key_P:
        if (form_.control(role::playButton).enabled)
            return form_.click(role::playButton);
        return form_.click(role::stopButton);
    case Qt::Key_Escape:
        if (isFullScreen())
            toggleFullScreen();
        return;
    default:
        return;
    }
}

void LessonFrame::contextMenuEvent(QContextMenuEvent* event) {
    menu_->popup(event->globalPos());
}

void LessonFrame::setZoom(double zoom) {
    zoom = std::clamp(zoom, zoomSteps[0], zoomSteps[std::size(zoomSteps) - 1]);
    if (zoom == zoom_)
        return;
    zoom_ = zoom;
    // Into the view before the frame grows; back out of it once the frame is the lesson's size.
    if (zoom_ != 1)
        arrange();
    applySize();
    arrange();
    emit zoomChanged(zoom_);
}

void LessonFrame::zoomIn() {
    for (double step : zoomSteps)
        if (step > zoom_ + 1e-9)
            return setZoom(step);
}

void LessonFrame::zoomOut() {
    for (auto it = std::rbegin(zoomSteps); it != std::rend(zoomSteps); ++it)
        if (*it < zoom_ - 1e-9)
            return setZoom(*it);
}

void LessonFrame::toggleFullScreen() {
    if (isFullScreen())
        showNormal();
    else
        showFullScreen();
}

// The size the lesson asks for: its client area at the zoom, unless the window is maximised or
// in full screen, where the screen decides.
void LessonFrame::applySize() {
    const WindowGeometry& g = form_.geometry();
    if (!form_.ended() && window_.size() != QSize(g.clientWidth, g.clientHeight))
        window_.resize(g.clientWidth, g.clientHeight);
    if (form_.ended() || g.state == 2 || isMaximized() || isFullScreen())
        return;
    const QSize target(static_cast<int>(std::lround(g.clientWidth * zoom_)),
                       static_cast<int>(std::lround(g.clientHeight * zoom_)));
    if (size() != target)
        resize(target);
}

void LessonFrame::arrange() {
    if (arranging_)
        return;
    arranging_ = true;
    const bool scaled = zoom_ != 1 || isFullScreen();
    if (scaled && !view_) {
        view_ = new QGraphicsView(this);
        view_->setFrameShape(QFrame::NoFrame);
        view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // Text smooth at any scale; rectangles snapped to pixels, so neighbouring controls of
        // one colour meet without a seam.
        view_->setRenderHints(QPainter::TextAntialiasing);
        view_->setViewportUpdateMode(QGraphicsView::SmartViewportUpdate);
        scene_ = new QGraphicsScene(view_);
        view_->setScene(scene_);
        // Only a window of its own can go into a view.
        window_.setParent(nullptr);
        proxy_ = scene_->addWidget(&window_);
        window_.show();
        proxy_->show();
        view_->show();
    } else if (!scaled && view_) {
        proxy_->setWidget(nullptr);
        window_.setParent(this);
        delete view_;
        view_ = nullptr;
        scene_ = nullptr;
        proxy_ = nullptr;
        window_.move(0, 0);
        window_.show();
    }
    if (view_) {
        view_->setGeometry(rect());
        const QSizeF lesson = window_.size();
        double scale = zoom_;
        if (isFullScreen())
            scale = std::min(width() / lesson.width(), height() / lesson.height());
        shownScale_ = scale;
        view_->setBackgroundBrush(isFullScreen() ? QColor(Qt::black)
                                                 : qtColour(window::backColour));
        view_->setTransform(QTransform::fromScale(scale, scale));
        scene_->setSceneRect(QRectF(QPointF(0, 0), lesson));
        view_->setAlignment(isFullScreen() ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
    } else {
        shownScale_ = 1;
        window_.setGeometry(rect());
    }
    arranging_ = false;
}

void LessonFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (!view_) {
        // The controls stay where they are; only what is in view of the picture boxes changes.
        window_.setGeometry(rect());
        return;
    }
    if (!isFullScreen()) {
        // Resized by hand, zoomed: the lesson's client area is the window's, unscaled.
        const QSize client(static_cast<int>(std::lround(width() / zoom_)),
                           static_cast<int>(std::lround(height() / zoom_)));
        if (window_.size() != client)
            window_.resize(client);
    }
    arrange();
}

void LessonFrame::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        form_.setWindowState(isMaximized() ? 2 : 0);
        arrange();
        if (!isMaximized() && !isFullScreen())
            applySize();
    }
}

void LessonFrame::closeEvent(QCloseEvent* event) {
    // No confirmation and nothing to save: closing the frame is "終了".
    form_.closeByFrame();
    event->accept();
}

} // namespace kansu
