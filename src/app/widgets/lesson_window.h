#pragma once

#include "app/form1.h"

#include <QWidget>
#include <array>
#include <functional>

namespace kansu {

// The lesson's top-level window: a widget for every windowed control at its design place, the
// picture boxes, and the labels painted on the window itself. It shows the state held by Form1 and
// turns the user's clicks and typing into Form1's calls; it holds no lesson state of its own.
class LessonWindow : public QWidget {
    Q_OBJECT
public:
    explicit LessonWindow(Form1& form, QWidget* parent = nullptr);

    // Brings every widget in line with the model: enabled, visible, values, texts, pictures,
    // and the window's size.
    void refresh();

    // The whole client area as an image at a device scale (1: one pixel a design pixel).
    QImage renderAt(qreal scale);

    // The widget that shows a windowed control (nullptr for the lightweight ones).
    QWidget* widgetFor(ControlId id) const { return widgets_[indexOf(id)]; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void build();
    void act(const std::function<void()>& action);
    void applyWindowSize();

    Form1& form_;
    std::array<QWidget*, controlCount> widgets_{};
    // What the widgets show now, so a refresh repaints only what has changed.
    ControlSet shown_;
    std::array<std::uint64_t, 3> shownRevisions_{};
    bool everShown_ = false;
};

} // namespace kansu
