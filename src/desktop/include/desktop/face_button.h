#pragma once

#include <QPushButton>

namespace kansu {

// A command button that shows its back colour on the whole face, with the classic raised border
// (sunken while pressed) and a dotted focus rectangle.
class FaceButton : public QPushButton {
    Q_OBJECT
public:
    FaceButton(const QString& caption, QColor face, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor face_;
};

} // namespace kansu
