// Starts the real window, starts automatic play, and ends the program from inside a wait, either
// with "終了" or by closing the window. The process must leave its event loop at once with status
// 0; the sanitizers catch anything touched after the window is gone.
#include "desktop/running_lesson.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool byFrame = argc > 1 && std::strcmp(argv[1], "close") == 0;
    QApplication app(argc, argv);

    kansu::RunningLesson lesson;
    kansu::Form1& form = lesson.form;
    kansu::LessonFrame& window = lesson.window;
    window.show();

    using enum kansu::ControlId;
    form.typeText(Combo1, "80"); // 400 ms a step
    QTimer::singleShot(0, &window, [&] {
        static_cast<QAbstractButton*>(window.widgetFor(jidou))->click();
        // Reached only once the run has returned.
        std::printf("run returned at michinori %g\n", form.vars().michinori);
    });
    QTimer::singleShot(600, &window, [&] {
        if (byFrame)
            window.close();
        else
            static_cast<QAbstractButton*>(window.widgetFor(end))->click();
    });
    // Should the end not stop everything, fail instead of hanging.
    QTimer::singleShot(5000, [] {
        std::fprintf(stderr, "the program did not end\n");
        std::_Exit(3);
    });
    const int status = QApplication::exec();
    if (!form.ended() || form.vars().michinori != 8) {
        std::fprintf(stderr, "expected to end after two steps, at michinori %g\n",
                     form.vars().michinori);
        return 1;
    }
    return status;
}
