#include "app/widgets/running_lesson.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setDesktopFileName(QStringLiteral("jp.kansu.Kansu"));

    kansu::RunningLesson lesson;
    lesson.window.show();
    // The icon theme is searched once the lesson is on the screen, not before.
    QTimer::singleShot(0, &lesson.window, [&lesson] {
        lesson.window.setWindowIcon(QIcon::fromTheme(QStringLiteral("jp.kansu.Kansu")));
    });
    return QApplication::exec();
}
