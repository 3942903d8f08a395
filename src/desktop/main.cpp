#include "desktop/command_line.h"
#include "desktop/problem_file.h"
#include "desktop/running_lesson.h"
#include "desktop/settings_file.h"
#include "desktop/translations.h"
#include "desktop/window_watch.h"
#include "surface/font.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <utility>

namespace {

constexpr const char* usage = R"(Usage: kansu [--help] [--version]
Opens the moving-point lesson: on a square ABCD with 8 cm sides, P runs
B->A->D at 2 cm/s and Q runs B->C at 1 cm/s, and the area y of triangle BPQ
after x seconds is shown as a figure, a graph and a table.

Options:
  --problem NAME|FILE  start with another problem: a built-in one by its
                       name, or a teacher's own from a JSON file
  --problems           print the built-in problems as a JSON array and exit
  --help               print this help and exit
  --version            print the version and exit

Environment:
  QT_SCALE_FACTOR  scale the whole window, e.g. 1.5 for a projector
  QT_QPA_PLATFORM  the Qt platform plugin (normally chosen by Qt)

Exit status: 0 when the lesson ends, 1 when no usable display is available,
2 for an unknown option or a problem that cannot be read.
See kansu(1); kansu-script(1) runs the lesson from a script.
)";

// Runs an action once the watched widget has painted for the first time and that frame has gone
// to the screen.
class AfterFirstPaint : public QObject {
public:
    AfterFirstPaint(QWidget& widget, std::function<void()> action)
        : widget_(widget), action_(std::move(action)) {
        widget_.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            widget_.removeEventFilter(this);
            QTimer::singleShot(0, this, action_);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& widget_;
    std::function<void()> action_;
};

bool starting = true;
QtMessageHandler defaultHandler = nullptr;

// While the application starts, Qt's complaints about the display come to one line of ours: a
// teacher needs to know there is no screen to open the lesson on, not how the plugins failed.
void messages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (starting) {
        if (type != QtFatalMsg)
            return;
        std::fprintf(stderr, "kansu: no usable display: cannot open the lesson window\n");
        std::_Exit(1);
    }
    defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char* argv[]) {
    const kansu::CommandLine line = kansu::readCommandLine(argc, argv, "kansu", usage, 0, nullptr);
    if (line.exitStatus)
        return *line.exitStatus;
    // Another problem to start with, read before anything shows: one that cannot be is said.
    std::optional<kansu::motion::Problem> problem;
    if (line.problem) {
        kansu::ReadProblem read = kansu::problemNamed(*line.problem);
        if (!read.problem) {
            std::fprintf(stderr, "kansu: the problem %s cannot be used: %s\n",
                         qPrintable(*line.problem), read.error.c_str());
            return 2;
        }
        problem = std::move(read.problem);
    }

    // Without its font the lesson would draw its numbers blank: say so and stop.
    if (const std::string& problem = kansu::Typeface::lesson().problem(); !problem.empty()) {
        std::fprintf(stderr, "kansu: %s\n", problem.c_str());
        return 1;
    }
    defaultHandler = qInstallMessageHandler(messages);
    QApplication app(argc, argv);
    starting = false;
    // A platform that draws nowhere a person can see, or has no screen to draw on (a frame buffer
    // that is not there), is no display for a lesson.
    const QString platform = QGuiApplication::platformName();
    if (platform == QStringLiteral("offscreen") || platform.startsWith(QStringLiteral("minimal")) ||
        !QGuiApplication::primaryScreen()) {
        std::fprintf(stderr, "kansu: no usable display: cannot open the lesson window\n");
        return 1;
    }
    // The check boxes and the speed box are drawn in Fusion's classic shapes, whatever the
    // desktop's theme; most desktops without one start in Fusion already.
    if (QApplication::style()->name() != QStringLiteral("fusion"))
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setDesktopFileName(QStringLiteral("jp.kansu.kansu"));

    kansu::installTranslations(app, QLocale());
    QApplication::setApplicationName(QStringLiteral("kansu"));
    QApplication::setApplicationVersion(QStringLiteral(KANSU_VERSION));
    kansu::RunningLesson lesson;
    if (problem)
        lesson.form.chooseProblem(*problem);
    // The zoom of the last run, and every change of it for the next.
    kansu::SettingsFile settings(kansu::SettingsFile::standardPath());
    lesson.window.setZoom(settings.zoom().value_or(1));
    // A zoom that cannot be kept is said once, not at every change.
    QObject::connect(&lesson.window, &kansu::LessonFrame::zoomChanged, &lesson.window,
                     [&settings, said = false](double zoom) mutable {
                         const QString why = settings.setZoom(zoom);
                         if (!why.isEmpty() && !std::exchange(said, true))
                             std::fprintf(stderr, "kansu: the zoom is not kept in %s: %s\n",
                                          qPrintable(kansu::SettingsFile::standardPath()),
                                          qPrintable(why));
                     });
    // Destroyed by another program, the window ends the lesson as a close would.
    kansu::WindowWatch watch(lesson.window, [&lesson] { lesson.form.closeByFrame(); });
    app.installNativeEventFilter(&watch);
    lesson.window.show();
    // The icon theme is searched once the lesson is on the screen, not before: the search reads
    // every theme's index and costs as much as drawing the whole window.
    AfterFirstPaint iconLater(lesson.window.lessonWindow(), [&lesson] {
        lesson.window.setWindowIcon(QIcon::fromTheme(QStringLiteral("jp.kansu.kansu")));
    });
    const int status = QApplication::exec();
    app.removeNativeEventFilter(&watch);
    return status;
}
