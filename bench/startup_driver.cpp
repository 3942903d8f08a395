// Start-up of a program under a private Xvfb: the wall time from exec to its first painted frame
// (its window's background shows), and its peak resident memory once it has been closed.
//   startup_driver PROGRAM TITLE RUNS
#include "x_display.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QThread>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

unsigned long findWindow(const char* title) {
    QProcess search;
    search.start(QStringLiteral("xdotool"),
                 {QStringLiteral("search"), QStringLiteral("--name"), QString::fromUtf8(title)});
    search.waitForFinished(2000);
    return QString::fromLocal8Bit(search.readAllStandardOutput()).section(u'\n', 0, 0).toULong();
}

struct Sample {
    double firstFrameMs = 0;
    long peakKb = 0;
};

bool measure(const char* program, const char* title, Sample& sample) {
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    unsigned long window = 0;
    bool painted = false;
    while (Clock::now() - start < std::chrono::seconds(20)) {
        if (!window)
            window = findWindow(title);
        if (window) {
            const QImage image = QGuiApplication::primaryScreen()->grabWindow(window).toImage();
            if (!image.isNull() && image.width() > 10 &&
                image.pixel(5, image.height() / 2) == qRgb(0xC0, 0xFF, 0xC0)) {
                painted = true;
                break;
            }
        }
        QThread::usleep(500);
    }
    sample.firstFrameMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (window)
        kansu::e2e::requestClose(window);
    int status = 0;
    rusage usage{};
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (wait4(pid, &status, WNOHANG, &usage) == 0) {
        if (Clock::now() > deadline)
            kill(pid, SIGKILL);
        QThread::usleep(1000);
    }
    sample.peakKb = usage.ru_maxrss;
    return painted;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: startup_driver PROGRAM TITLE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    kansu::e2e::XDisplay display;
    if (!display.running())
        return 1;
    qputenv("DISPLAY", display.name().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    std::vector<double> frames;
    std::vector<long> peaks;
    Sample warmUp;
    measure(argv[1], argv[2], warmUp); // fills the file and font caches
    for (int i = 0; i < runs; ++i) {
        Sample s;
        if (!measure(argv[1], argv[2], s))
            return 1;
        frames.push_back(s.firstFrameMs);
        peaks.push_back(s.peakKb);
    }
    std::sort(frames.begin(), frames.end());
    std::sort(peaks.begin(), peaks.end());
    std::printf("first_frame_ms %.1f\npeak_rss_kb %ld\n", frames[frames.size() / 2],
                peaks[peaks.size() / 2]);
    return 0;
}
