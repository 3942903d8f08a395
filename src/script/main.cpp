// kansu-script: runs the lesson headless from a script and writes its state and pictures.
#include "desktop/command_line.h"
#include "script/line_reader.h"
#include "script/script_runner.h"
#include "surface/font.h"

#include <QApplication>
#include <QStyleFactory>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <unistd.h>

namespace {

constexpr const char* usage =
    R"(Usage: kansu-script [--problem NAME|FILE] [--problems] [--help] [--version] [FILE]
Runs the kansu lesson offscreen from a script read from FILE, or from
standard input when FILE is absent or "-", writing its state as JSON and
its pictures as PNG. One action a line; blank lines and lines starting
with # are skipped.

  click NAME             click a button or toggle a check box
  type NAME "TEXT"       set the text of Text1 or Combo1 (a JSON string)
  maximize | restore     maximise the window, or make it normal again
  close                  close the window by its frame
  during-wait K ACTION   do ACTION inside the K-th wait of automatic play
  state [FILE]           write the state as JSON to FILE or standard output
  link [FILE]            write the address fragment that opens the page at
                         this moment (#x=4.5&c=000001&s=20)
  png NAME FILE [SCALE]  PNG of kokuban, gamen, hyo or window (SCALE up to 8)
  image NAME FILE        PNG of picture box NAME's drawn image alone
  worksheet KIND FILE    the worksheet of this moment as a PDF, KIND answers
                         (解答用) or blank (問題用)
  problem NAME|FILE      show another problem from its initial screen: a
                         built-in one by its name, or a teacher's own file
A FILE of "-" is standard output.

Options: --problem NAME|FILE starts with another problem; --problems prints
the built-in problems as a JSON array; --help prints this help, --version the
version; these three exit 0.
Exit status: 0 when every line ran, 2 when a line could not run (standard
error then holds "line N: reason"), or for a wrong command line.
See kansu-script(1).
)";

// Keeps standard error for the script's own errors, "line N: reason": Qt's notes (a session
// without a runtime directory, a font without a script's shaping, a file name it cannot encode)
// say nothing about the script and go unsaid. A fatal message from Qt (it could not start, say)
// is the script's failure at line 0.
void messages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "line 0: %s\n", message.toLocal8Bit().constData());
        std::_Exit(2);
    }
}

bool writeOut(std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
           std::fflush(stdout) == 0;
}

// A word of a script line that holds any text: a JSON string.
std::string quoted(const QString& text) {
    std::string out = "\"";
    for (const char c : text.toStdString()) {
        if (c == '"' || c == '\\')
            out += '\\';
        if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
            continue;
        }
        out += c;
    }
    return out + "\"";
}

int fail(const std::string& message) {
    std::fprintf(stderr, "%s\n", message.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(messages);
    // Always headless, whatever platform the environment names.
    qputenv("QT_QPA_PLATFORM", "offscreen");

    // The command line before anything starts: --help and --version need no lesson.
    const kansu::CommandLine command =
        kansu::readCommandLine(argc, argv, "kansu-script", usage, 1, "one script at most");
    if (command.exitStatus)
        return *command.exitStatus;
    const std::string path = command.files.isEmpty()
                                 ? std::string("-")
                                 : command.files.front().toLocal8Bit().toStdString();

    // Without its font the lesson would draw its numbers blank: no picture could be trusted.
    if (const std::string& problem = kansu::Typeface::lesson().problem(); !problem.empty())
        return fail("line 0: " + problem);

    // A reader that has gone away (`kansu-script | head`) is a failed write, reported as one.
    std::signal(SIGPIPE, SIG_IGN);

    std::FILE* in = stdin;
    if (path != "-") {
        in = std::fopen(path.c_str(), "rb");
        if (!in)
            return fail("line 0: cannot read script '" + path + "': " + std::strerror(errno));
    }

    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    kansu::ScriptRunner runner(writeOut);
    if (command.problem && !runner.runLine("problem " + quoted(*command.problem), 0))
        return fail(runner.error());
    kansu::script::LineReader reader(in, kansu::script::maxLineBytes);
    std::string line;
    for (int number = 1;; ++number) {
        switch (reader.next(line)) {
        case kansu::script::LineReader::Result::Line:
            if (!runner.runLine(line, number))
                return fail(runner.error());
            continue;
        case kansu::script::LineReader::Result::TooLong:
            return fail("line " + std::to_string(number) + ": line too long");
        case kansu::script::LineReader::Result::Failed:
            // Unreadable from its first byte (a folder, say), the script never started.
            if (number == 1)
                return fail("line 0: cannot read script '" + path + "': " + std::strerror(errno));
            return fail("line " + std::to_string(number) +
                        ": cannot read script: " + std::strerror(errno));
        case kansu::script::LineReader::Result::End:
            if (!runner.finish())
                return fail(runner.error());
            return 0;
        }
    }
}
