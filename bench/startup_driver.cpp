// Start-up of two programs under a private Xvfb, measured in turns so that both meet the same
// machine: the wall time from exec to the first painted frame (the window's pale green shows), and
// the peak resident memory once the window has been closed. Prints the medians.
//   startup_driver PROGRAM TITLE BASELINE BASELINE_TITLE [RUNS]
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

// The first frame shows at the top-left of the bare screen, where a window without a window
// manager is mapped: watch a few pixels there, which is quick and needs no window id.
bool greenAtTopLeft() {
    const QImage corner = QGuiApplication::primaryScreen()->grabWindow(0, 0, 0, 8, 8).toImage();
    return !corner.isNull() && corner.pixel(5, 5) == qRgb(0xC0, 0xFF, 0xC0);
}

bool measure(const char* program, const char* title, Sample& sample) {
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    bool painted = false;
    while (Clock::now() - start < std::chrono::seconds(20)) {
        if (greenAtTopLeft()) {
            painted = true;
            break;
        }
        QThread::usleep(200);
    }
    sample.firstFrameMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (const unsigned long window = findWindow(title))
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
    // Wait for the screen to be bare again before the next start.
    while (greenAtTopLeft())
        QThread::usleep(1000);
    return painted;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 5) {
        std::fprintf(stderr,
                     "usage: startup_driver PROGRAM TITLE BASELINE BASELINE_TITLE [RUNS]\n");
        return 2;
    }
    const int runs = argc > 5 ? std::atoi(argv[5]) : 15;
    kansu::e2e::XDisplay display;
    if (!display.running())
        return 1;
    qputenv("DISPLAY", display.name().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    struct Series {
        const char* program;
        const char* title;
        std::vector<double> frames;
        std::vector<long> peaks;
    } series[] = {{argv[1], argv[2], {}, {}}, {argv[3], argv[4], {}, {}}};
    for (Series& s : series) {
        Sample warmUp; // fills the file and font caches
        measure(s.program, s.title, warmUp);
    }
    for (int i = 0; i < runs; ++i)
        for (Series& s : series) {
            Sample sample;
            if (!measure(s.program, s.title, sample))
                return 1;
            s.frames.push_back(sample.firstFrameMs);
            s.peaks.push_back(sample.peakKb);
        }
    const char* names[] = {"program", "baseline"};
    for (int k = 0; k < 2; ++k) {
        Series& s = series[k];
        // Each sample too, for a caller that pools the samples of several runs.
        for (std::size_t i = 0; i < s.frames.size(); ++i)
            std::printf("%s_first_frame_sample_ms %.1f\n%s_peak_rss_sample_kb %ld\n", names[k],
                        s.frames[i], names[k], s.peaks[i]);
        std::sort(s.frames.begin(), s.frames.end());
        std::sort(s.peaks.begin(), s.peaks.end());
        std::printf("%s_first_frame_ms %.1f\n%s_peak_rss_kb %ld\n", names[k],
                    s.frames[s.frames.size() / 2], names[k], s.peaks[s.peaks.size() / 2]);
    }
    return 0;
}
