#include "desktop/lesson_frame.h"

#include "desktop/frame_actions.h"
#include "desktop/qt_bridge.h"
#include "desktop/zoom.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <algorithm>
#include <cmath>

namespace kansu {

namespace {

// How long the pointer may rest over a lesson in full screen before it is hidden.
constexpr int pointerRestMs = 3000;

// The application's font as it started: menus and dialogs are set in it, grown with the lesson.
const QFont& baseFont() {
    static const QFont font = QApplication::font();
    return font;
}

} // namespace

LessonFrame::LessonFrame(Form1& form, QWidget* parent)
    : QWidget(parent), form_(form), window_(form, this), pointer_(pointerRestMs, this) {
    baseFont();
    setWindowTitle(qt(window::title));
    // Only full screen shows the frame around the lesson: dark, as a projector's black.
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::black);
    setPalette(pal);
    setAutoFillBackground(true);
    window_.move(0, 0);
    changes_ = form_.changes().connect([this](const Changes& changes) {
        if (changes.window)
            arrange();
    });
    buildMenu();
    arrange();
    if (QWidget* first = window_.firstFocus())
        first->setFocus();
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
    add(tr("Copy figure"), QKeySequence::Copy,
        [this] { copyFigure(form_, shownScale_ * devicePixelRatioF()); });
    add(tr("Save picture…"), QKeySequence::Save,
        [this] { savePicture(*this, form_, shownScale_ * devicePixelRatioF()); });
    add(tr("Print worksheet…"), QKeySequence::Print, [this] { printWorksheet(*this, form_); });
    // The problem the lesson shows: filled afresh each time it opens, so it ticks the one shown
    // and offers the others only while they may be chosen.
    QMenu* problems = menu_->addMenu(tr("Problem"));
    connect(problems, &QMenu::aboutToShow, this,
            [this, problems] { fillProblemMenu(*problems, *this, form_); });
    menu_->addSeparator();
    add(tr("Full screen"), QKeySequence(Qt::Key_F11), [this] { toggleFullScreen(); });
    // In on Ctrl+= and Ctrl++ however the keyboard makes +: Shift+= (US), Shift+; (Japanese),
    // the keypad; out on Ctrl+− and the keypad's −. The keypad's keys zoom without Ctrl too,
    // outside the text boxes, which take them as characters. (Qt matches a key by what it types,
    // whatever the Shift or the keypad it took.)
    QAction* in = add(tr("Zoom in"), QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { zoomIn(); });
    in->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Equal), QKeySequence(Qt::CTRL | Qt::Key_Plus),
                      QKeySequence(Qt::CTRL | Qt::Key_Semicolon), QKeySequence(Qt::Key_Plus)});
    QAction* out =
        add(tr("Zoom out"), QKeySequence(Qt::CTRL | Qt::Key_Minus), [this] { zoomOut(); });
    out->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Minus), QKeySequence(Qt::Key_Minus)});
    add(tr("Actual size (100%)"), QKeySequence(Qt::CTRL | Qt::Key_0), [this] { setZoom(1); });
    menu_->addSeparator();
    add(tr("About kansu"), QKeySequence(), [this] { showAbout(*this); });

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
    // The menu by the keyboard: the Menu key reaches contextMenuEvent, Shift+F10 comes here.
    auto* menuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    menuKey->setContext(Qt::WindowShortcut);
    connect(menuKey, &QShortcut::activated, this, [this] { openMenuAtFocus(); });
}

void LessonFrame::openMenuAtFocus() {
    const QWidget* focus = QApplication::focusWidget();
    const QPoint at = focus && isAncestorOf(focus) ? focus->mapToGlobal(focus->rect().center())
                                                   : mapToGlobal(rect().center());
    menu_->popup(at);
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
    zoom = zoomStep(zoom);
    if (zoom == zoom_)
        return;
    zoom_ = zoom;
    arrange();
    emit zoomChanged(zoom_);
}

void LessonFrame::zoomIn() {
    const auto next = stepAbove(fittedZoom());
    if (next && fits(askedClient(), *next, frameMargins(), available()))
        setZoom(*next);
}

void LessonFrame::zoomOut() {
    if (const auto next = stepBelow(fittedZoom()))
        setZoom(*next);
}

void LessonFrame::toggleFullScreen() {
    if (isFullScreen())
        showNormal();
    else
        showFullScreen();
}

QSize LessonFrame::askedClient() const {
    const WindowGeometry& g = form_.geometry();
    return {g.askedWidth, g.askedHeight};
}

QSize LessonFrame::frameMargins() const {
    return isVisible() ? frameGeometry().size() - size() : QSize(0, 0);
}

QSize LessonFrame::available() const {
    return screen()->availableGeometry().size();
}

double LessonFrame::fittedZoom() const {
    return fittingZoom(zoom_, askedClient(), frameMargins(), available());
}

// The lesson at the scale it is shown at, and the frame around it: the lesson's size at the zoom
// that fits, unless the window is maximised (the lesson fills it) or in full screen (the lesson
// fills the screen, centred, keeping its shape).
void LessonFrame::arrange() {
    if (arranging_ || form_.ended())
        return;
    arranging_ = true;
    const WindowGeometry& g = form_.geometry();
    double scale = fittedZoom();
    if (isFullScreen()) {
        scale = std::min(width() / double(g.clientWidth), height() / double(g.clientHeight));
        window_.setScale(scale);
        window_.move((width() - window_.width()) / 2, (height() - window_.height()) / 2);
    } else {
        window_.setScale(scale);
        if (!isMaximized() && g.state != 2) {
            const QSize lesson(static_cast<int>(std::lround(g.clientWidth * scale)),
                               static_cast<int>(std::lround(g.clientHeight * scale)));
            if (size() != lesson)
                resize(lesson);
        }
        window_.setGeometry(rect());
    }
    if (scale != shownScale_) {
        shownScale_ = scale;
        // Menus and dialogs grow with the lesson, so they read from where it reads.
        QFont font = baseFont();
        if (font.pointSizeF() > 0)
            font.setPointSizeF(font.pointSizeF() * scale);
        else
            font.setPixelSize(static_cast<int>(std::lround(font.pixelSize() * scale)));
        QApplication::setFont(font);
    }
    pointer_.setActive(isFullScreen());
    arranging_ = false;
}

void LessonFrame::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    if (isFullScreen()) {
        arrange();
        return;
    }
    // Resized by hand or by the window manager: the lesson fills the window at its scale; the
    // controls stay where they are, only what is in view of the picture boxes changes.
    window_.setGeometry(rect());
}

void LessonFrame::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) {
        form_.setWindowState(isMaximized() ? 2 : 0);
        arrange();
    }
}

void LessonFrame::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Now the frame's decorations and the screen it is on are known.
    arrange();
}

void LessonFrame::closeEvent(QCloseEvent* event) {
    // No confirmation and nothing to save: closing the frame is "終了".
    form_.closeByFrame();
    event->accept();
}

} // namespace kansu
