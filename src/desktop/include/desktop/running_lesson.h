#pragma once

#include "app/form1.h"
#include "desktop/lesson_frame.h"
#include "desktop/qt_host.h"

namespace kansu {

// The program's one window, with its state and the real host, brought up as the program starts:
// the load handler draws the initial screen before the window exists, then the window shows it.
struct RunningLesson {
    QtHost host;
    Form1 form{host};
    LessonFrame window{(form.Form_Load(), form)};

    RunningLesson() { host.attach(&window); }
    ~RunningLesson() { host.attach(nullptr); }
    RunningLesson(const RunningLesson&) = delete;
    RunningLesson& operator=(const RunningLesson&) = delete;
};

} // namespace kansu
