#include "app/form1.h"
#include "app/widgets/lesson_window.h"
#include "app/widgets/qt_host.h"

#include <QApplication>
#include <QIcon>
#include <QStyleFactory>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setDesktopFileName(QStringLiteral("jp.kansu.Kansu"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("jp.kansu.Kansu")));

    kansu::QtHost host;
    kansu::Form1 form(host);
    form.Form_Load();
    kansu::LessonWindow window(form);
    host.attach(&window);
    window.show();
    return QApplication::exec();
}
