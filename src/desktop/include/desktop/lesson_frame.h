#pragma once

#include "app/form1.h"
#include "desktop/lesson_window.h"
#include "desktop/pointer_hider.h"

#include <QWidget>

class QMenu;

namespace kansu {

// The lesson's top-level window around its LessonWindow: the title, the size the lesson asks for,
// closing, maximising, the keys of a presenter's clicker, the context menu, and zoom and full
// screen for a projector. Zoomed or in full screen the LessonWindow itself grows as one, every
// control, font and picture drawn again at the scale, so the screen stays sharp and assistive
// technology sees the controls where they are.
class LessonFrame : public QWidget {
    Q_OBJECT
public:
    explicit LessonFrame(Form1& form, QWidget* parent = nullptr);

    LessonWindow& lessonWindow() { return window_; }
    QWidget* widgetFor(ControlId id) const { return window_.widgetFor(id); }

    // The zoom the teacher chose, 1 to 3 (100 to 300 %), kept between runs. The window shows the
    // largest step up to it at which the window fits its screen.
    double zoom() const { return zoom_; }
    void setZoom(double zoom);
    // One step up, as long as the window still fits its screen; one step down.
    void zoomIn();
    void zoomOut();
    void toggleFullScreen();
    // The scale the lesson is shown at now: the zoom that fits, or what fills the screen in full
    // screen.
    double shownScale() const { return shownScale_; }
    // Whether the mouse pointer is hidden, as it is in full screen after a while without
    // movement.
    bool pointerHidden() const { return pointer_.hidden(); }

signals:
    void zoomChanged(double zoom);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void arrange();
    // The zoom the window shows when it is neither in full screen nor maximised.
    double fittedZoom() const;
    QSize askedClient() const;
    QSize frameMargins() const;
    QSize available() const;
    void presenterKey(int key);
    void buildMenu();
    void openMenuAtFocus();

    Form1& form_;
    LessonWindow window_;
    double zoom_ = 1;
    double shownScale_ = 1;
    QMenu* menu_ = nullptr;
    PointerHider pointer_;
    bool arranging_ = false;
    Subscription changes_;
};

} // namespace kansu
