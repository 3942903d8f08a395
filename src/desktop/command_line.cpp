#include "desktop/command_line.h"

#include "app/json.h"
#include "app/problems.h"

#include <QCommandLineParser>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace kansu {

namespace {

// What --help or --version writes, written out now: a full disk or a closed output is a failure
// said on standard error (status 2), never a success.
int printed(const char* program, const std::string& text) {
    errno = 0;
    const bool whole = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (whole && std::fflush(stdout) == 0 && !std::ferror(stdout))
        return 0;
    const int error = errno;
    std::fprintf(stderr, "%s: cannot write the standard output: %s\n", program,
                 error ? std::strerror(error) : "write error");
    return 2;
}

} // namespace

CommandLine readCommandLine(int argc, char* argv[], const char* program, const char* usage,
                            qsizetype maxFiles, const char* tooMany) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"));
    const QCommandLineOption problem(QStringLiteral("problem"), QString(), QStringLiteral("NAME"));
    const QCommandLineOption problems(QStringLiteral("problems"));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(problem);
    parser.addOption(problems);
    CommandLine line;
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s: %s (try '%s --help')\n", program,
                     parser.errorText().toLocal8Bit().constData(), program);
        line.exitStatus = 2;
        return line;
    }
    if (parser.isSet(help)) {
        line.exitStatus = printed(program, usage);
        return line;
    }
    if (parser.isSet(version)) {
        line.exitStatus = printed(program, std::string(program) + " " + KANSU_VERSION + "\n");
        return line;
    }
    if (parser.isSet(problems)) {
        json::Array all;
        for (const motion::Problem& p : builtInProblems())
            all.item(problemJson(p));
        line.exitStatus = printed(program, all.close() + "\n");
        return line;
    }
    if (parser.isSet(problem))
        line.problem = parser.value(problem);
    line.files = parser.positionalArguments();
    if (line.files.size() > maxFiles) {
        const QByteArray complaint =
            tooMany ? QByteArray(tooMany)
                    : "unexpected argument '" + line.files[maxFiles].toLocal8Bit() + "'";
        std::fprintf(stderr, "%s: %s (try '%s --help')\n", program, complaint.constData(), program);
        line.exitStatus = 2;
    }
    return line;
}

} // namespace kansu
