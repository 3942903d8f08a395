#pragma once

#include "app/form1.h"

#include <QWidget>

namespace kansu {

// Shows one picture box: its sunken border, its drawn image, and above it the lightweight controls
// it contains, in their stacking order.
class PictureBoxWidget : public QWidget {
    Q_OBJECT
public:
    PictureBoxWidget(const Form1& form, ControlId id, QWidget* parent);

    // Draws the picture at this device scale instead of the screen's (0: the screen's), for
    // rendering the window into an image of another resolution.
    void setRenderScale(qreal scale) { renderScale_ = scale; }
    // Shown grown by a scale, its picture drawn again at it.
    void setScale(double scale) {
        scale_ = scale;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    const Form1& form_;
    ControlId id_;
    qreal renderScale_ = 0;
    double scale_ = 1;
};

} // namespace kansu
