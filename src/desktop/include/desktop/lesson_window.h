#pragma once

#include "app/form1.h"

#include <QWidget>
#include <array>
#include <vector>

namespace kansu {

class ScaledStyle;

// The lesson's window: a widget for every windowed control at its design place, the picture boxes,
// and the labels painted on the window itself, all at a scale (1: the design's pixels). It shows
// the state held by Form1, kept in step by Form1's changes, and turns the user's clicks and typing
// into Form1's calls; it holds no lesson state of its own. A LessonFrame holds it on the screen.
class LessonWindow : public QWidget {
    Q_OBJECT
public:
    explicit LessonWindow(Form1& form, QWidget* parent = nullptr);

    // The whole client area as an image at a device scale (1: one pixel a design pixel).
    QImage renderAt(qreal scale);

    // The widget that shows a windowed control (nullptr for the lightweight ones).
    QWidget* widgetFor(ControlId id) const { return widgets_[indexOf(id)]; }
    // Where the keyboard starts: the first control of the design's focus order that is in view
    // and on which no key changes the lesson (a picture box): not 終了, which a stray Space would
    // end the lesson with, nor a text box, which would keep the presenter's arrows.
    QWidget* firstFocus() const;

    // Every control, font and picture grown by a scale, the pictures drawn again at it; the
    // lesson's client area stays in design pixels.
    void setScale(double scale);
    double scale() const { return scale_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void build();
    void place(ControlId id);
    void showChanges(const Changes& changes);
    void showControl(ControlId id);
    // Only controls in view take the focus; one that leaves the view hands it on.
    void keepFocusInView();
    bool inView(ControlId id) const;
    // Keeps what assistive technology reads of the pictures in step, and announces changes.
    void describe();

    Form1& form_;
    ScaledStyle* style_;
    double scale_ = 1;
    std::array<QWidget*, controlCount> widgets_{};
    std::array<Qt::FocusPolicy, controlCount> focusPolicies_{};
    Subscription changes_;
    std::vector<int> describedColumns_;
};

} // namespace kansu
