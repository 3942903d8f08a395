#include "script/script_runner.h"

#include "app/moment_link.h"
#include "app/state_json.h"
#include "desktop/picture_files.h"
#include "desktop/picture_render.h"
#include "desktop/problem_file.h"
#include "desktop/qt_bridge.h"
#include "desktop/whole_file.h"
#include "surface/font.h"

namespace kansu {

using script::Action;

// The virtual clock; the window goes when the program ends.
class ScriptRunner::Host : public VirtualHost {
public:
    QWidget* window = nullptr;

    void endProgram() override {
        VirtualHost::endProgram();
        if (window)
            window->hide();
    }
};

ScriptRunner::ScriptRunner(Output standardOutput)
    : host_(std::make_unique<Host>()), output_(std::move(standardOutput)) {
    form_ = std::make_unique<Form1>(*host_);
    form_->Form_Load();
    window_ = std::make_unique<LessonFrame>(*form_);
    host_->window = window_.get();
    window_->show();
}

ScriptRunner::~ScriptRunner() {
    host_->window = nullptr;
}

std::string ScriptRunner::state() const {
    RunRecord run;
    run.closed = form_->ended();
    run.clockMs = host_->elapsed();
    run.waits = host_->waits();
    return stateJson(*form_, run);
}

int ScriptRunner::run(std::string_view script) {
    int number = 0;
    while (!script.empty() || number == 0) {
        const std::size_t end = script.find('\n');
        const std::string_view line = script.substr(0, end);
        script = end == std::string_view::npos ? std::string_view() : script.substr(end + 1);
        if (!runLine(line, ++number))
            return 2;
        if (end == std::string_view::npos)
            break;
    }
    return finish() ? 0 : 2;
}

bool ScriptRunner::runLine(std::string_view text, int number) {
    try {
        const script::Line line = script::parseLine(text);
        switch (line.kind) {
        case script::Line::Kind::Nothing:
            return true;
        case script::Line::Kind::DuringWait: {
            check(line.action);
            queuedBy_.insert(number);
            host_->deliverInWait(static_cast<int>(line.wait), [this, action = line.action, number] {
                queuedBy_.erase(queuedBy_.find(number));
                if (deferredError_)
                    return;
                try {
                    perform(action);
                } catch (const Failure& failure) {
                    deferredError_ = Failure{failure.reason, number};
                }
            });
            return true;
        }
        case script::Line::Kind::Action:
            perform(line.action);
            if (Typeface::lesson().changedSinceStart())
                throw Failure{"the lesson's font file changed or was cut short while the script "
                              "ran: its pictures can no longer be trusted",
                              std::nullopt};
            // Actions whose wait let no event run are delivered when the line has finished.
            host_->deliverOverdue();
            if (deferredError_) {
                // Reported under the during-wait line that queued the action.
                const Failure failure = *deferredError_;
                deferredError_.reset();
                throw failure;
            }
            return true;
        }
    } catch (const script::ParseError& e) {
        error_ = "line " + std::to_string(number) + ": " + e.what();
    } catch (const Failure& failure) {
        error_ = "line " + std::to_string(failure.line.value_or(number)) + ": " + failure.reason;
    }
    return false;
}

bool ScriptRunner::finish() {
    if (queuedBy_.empty())
        return true;
    error_ = "line " + std::to_string(*queuedBy_.begin()) +
             ": never delivered: no later line waited that often";
    return false;
}

ControlId ScriptRunner::controlNamed(const std::string& name) const {
    for (std::size_t i = 0; i < controlCount; ++i)
        if (form_->controls()[i].name == name)
            return static_cast<ControlId>(i);
    throw Failure{"unknown control '" + name + "'", std::nullopt};
}

// What can be known of an action before it runs: its control, and what that control takes.
void ScriptRunner::check(const Action& action) const {
    switch (action.verb) {
    case Action::Verb::Click:
        controlNamed(action.name);
        return;
    case Action::Verb::Type: {
        const ControlId id = controlNamed(action.name);
        if (id != ControlId::Text1 && id != ControlId::Combo1)
            throw Failure{"only Text1 and Combo1 take typing", std::nullopt};
        return;
    }
    case Action::Verb::Png:
    case Action::Verb::Image:
        if (action.verb == Action::Verb::Png && action.name == "window")
            return;
        if (form_->control(controlNamed(action.name)).kind != ControlKind::Picture)
            throw Failure{"'" + action.name + "' is not a picture box", std::nullopt};
        return;
    case Action::Verb::Worksheet:
        if (!sheetKindNamed(action.name))
            throw Failure{"unknown worksheet kind '" + action.name + "': answers or blank",
                          std::nullopt};
        return;
    default:
        return;
    }
}

void ScriptRunner::written(const std::string& path, const QString& why) {
    if (!why.isEmpty())
        throw Failure{"cannot write '" + path + "': " + why.toStdString(), std::nullopt};
}

void ScriptRunner::writeStandardOutput(std::string_view bytes) {
    if (!output_)
        stdout_ += bytes;
    else if (!output_(bytes))
        throw Failure{"cannot write the standard output", std::nullopt};
}

void ScriptRunner::writeFile(const std::string& path, std::string_view bytes) {
    // "-" is the standard output, as for the script itself.
    if (path == "-")
        return writeStandardOutput(bytes);
    written(path, writeWhole(QString::fromStdString(path),
                             QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))));
}

void ScriptRunner::writePicture(const std::string& path, const QImage& image) {
    const QByteArray png = encodePng(image);
    if (png.isEmpty())
        throw Failure{"cannot write '" + path + "': the picture could not be encoded",
                      std::nullopt};
    writeFile(path, std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
}

void ScriptRunner::perform(const Action& action) {
    if (action.verb == Action::Verb::State || action.verb == Action::Verb::Link) {
        // The state as JSON, or the address fragment that opens the page at this moment.
        std::string text;
        if (action.verb == Action::Verb::State) {
            text = state();
        } else {
            const std::optional<std::string> link = linkOf(momentOf(*form_));
            if (!link)
                throw Failure{"no link can name this moment: the speed box's text is longer than "
                              "64 bytes or holds a control character",
                              std::nullopt};
            text = '#';
            text += *link;
            text += '\n';
        }
        if (action.file.empty())
            writeStandardOutput(text);
        else
            writeFile(action.file, text);
        return;
    }
    check(action);
    if (form_->ended())
        throw Failure{"the program has ended", std::nullopt};

    switch (action.verb) {
    case Action::Verb::Click:
        form_->click(controlNamed(action.name));
        return;
    case Action::Verb::Type:
        form_->typeText(controlNamed(action.name), action.text);
        return;
    case Action::Verb::Maximize:
    case Action::Verb::Restore: {
        const bool maximise = action.verb == Action::Verb::Maximize;
        window_->setWindowState(maximise ? Qt::WindowMaximized : Qt::WindowNoState);
        // The window reports its state and size back to the lesson, as a real one would.
        form_->setWindowState(maximise ? 2 : 0);
        return;
    }
    case Action::Verb::Close:
        window_->close();
        if (!form_->ended())
            form_->closeByFrame();
        return;
    case Action::Verb::Png: {
        const double scale = action.scale;
        if (action.name == "window")
            return writePicture(action.file, window_->lessonWindow().renderAt(scale));
        return writePicture(action.file, pictureAsSeen(*form_, controlNamed(action.name), scale));
    }
    case Action::Verb::Image:
        return writePicture(action.file, qtImage(form_->box(controlNamed(action.name)).image()));
    case Action::Verb::Worksheet: {
        QByteArray pdf;
        written(action.file, encodeWorksheetPdf(*form_, *sheetKindNamed(action.name), pdf));
        return writeFile(action.file,
                         std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    }
    case Action::Verb::Problem: {
        const ReadProblem read = problemNamed(QString::fromStdString(action.name));
        if (!read.problem)
            throw Failure{"the problem '" + action.name + "' cannot be used: " + read.error,
                          std::nullopt};
        if (!form_->chooseProblem(*read.problem))
            throw Failure{"no other problem while automatic play runs", std::nullopt};
        return;
    }
    case Action::Verb::State:
    case Action::Verb::Link:
        return;
    }
}

} // namespace kansu
