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

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Form1& form_;
    ControlId id_;
};

// Paints what the user sees of a picture box (border excluded) into painter at origin; shared by
// the widget and by picture export.
void paintPictureContents(QPainter& painter, const Form1& form, ControlId id, QPoint origin);

} // namespace kansu
