#pragma once

#include <QPushButton>

namespace kansu {

// A command button that shows its back colour on the whole face, with the classic raised border
// (sunken while pressed) and a dotted focus rectangle.
class FaceButton : public QPushButton {
    Q_OBJECT
public:
    FaceButton(const QString& caption, QColor face, QFont font, QWidget* parent);
    // Drawn grown by a scale: its bevel, its caption and its focus rectangle.
    void setScale(double scale) {
        scale_ = scale;
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor face_;
    QFont font_; // at the design's size
    double scale_ = 1;
};

} // namespace kansu
