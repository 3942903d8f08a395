// A whole automatic run at the default speed "20" in real time, in the real window (offscreen):
// prints its wall time and the process's CPU time over it, in milliseconds.
#include "desktop/running_lesson.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {
double cpuMilliseconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec * 1e3 + usage.ru_utime.tv_usec / 1e3 +
           usage.ru_stime.tv_sec * 1e3 + usage.ru_stime.tv_usec / 1e3;
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kansu::RunningLesson lesson;
    kansu::Form1& form = lesson.form;
    lesson.window.show();
    QApplication::processEvents();

    const double cpuBefore = cpuMilliseconds();
    QElapsedTimer wall;
    wall.start();
    form.click(kansu::ControlId::jidou);
    const double wallMs = static_cast<double>(wall.nsecsElapsed()) / 1e6;
    const double cpuMs = cpuMilliseconds() - cpuBefore;
    std::printf("run_wall_ms %.1f\nrun_cpu_ms %.1f\nsteps %g\n", wallMs, cpuMs,
                form.vars().michinori / 4);
    return form.vars().michinori == 320 ? 0 : 1;
}
