#pragma once

#include "app/form1.h"
#include "desktop/lesson_window.h"

#include <QWidget>

class QGraphicsProxyWidget;
class QGraphicsScene;
class QGraphicsView;
class QMenu;

namespace kansu {

// The lesson's top-level window around its LessonWindow: the title, the size the lesson asks for,
// closing, maximising, the keys of a presenter's clicker, the context menu, and zoom and full
// screen for a projector. At zoom 1 in a normal window the LessonWindow fills it directly, as it
// was designed; zoomed or in full screen it is shown through a view that scales it as one, so
// every control and picture scales uniformly and is drawn again at the screen's resolution.
class LessonFrame : public QWidget {
    Q_OBJECT
public:
    explicit LessonFrame(Form1& form, QWidget* parent = nullptr);

    LessonWindow& lessonWindow() { return window_; }
    QWidget* widgetFor(ControlId id) const { return window_.widgetFor(id); }

    // The zoom of a normal window, 1 to 3 (100 to 300 %), kept between runs.
    static constexpr double zoomSteps[] = {1, 1.25, 1.5, 1.75, 2, 2.5, 3};
    double zoom() const { return zoom_; }
    void setZoom(double zoom);
    void zoomIn();
    void zoomOut();
    void toggleFullScreen();
    // The scale the lesson is shown at now: the zoom, or what fits the screen in full screen.
    double shownScale() const { return shownScale_; }

signals:
    void zoomChanged(double zoom);

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void applySize();
    void arrange();
    void presenterKey(int key);
    void buildMenu();

    Form1& form_;
    LessonWindow window_;
    double zoom_ = 1;
    double shownScale_ = 1;
    QGraphicsView* view_ = nullptr;
    QGraphicsScene* scene_ = nullptr;
    QGraphicsProxyWidget* proxy_ = nullptr;
    QMenu* menu_ = nullptr;
    bool arranging_ = false;
    Subscription changes_;
};

} // namespace kansu
