// The baseline for start-up: the smallest Qt Widgets program that shows one Japanese label in the
// lesson's font.
#include "desktop/qt_bridge.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("関数の利用"));
    label.setWindowTitle(QStringLiteral("baseline"));
    label.setFont(kansu::designFont({24, false}));
    label.setAutoFillBackground(true);
    QPalette palette = label.palette();
    palette.setColor(QPalette::Window, QColor(0xC0, 0xFF, 0xC0));
    label.setPalette(palette);
    label.resize(671, 558);
    label.show();
    return QApplication::exec();
}
