#include "desktop/command_line.h"

#include <QCommandLineParser>
#include <cstdio>

namespace kansu {

CommandLine readCommandLine(int argc, char* argv[], const char* program, const char* usage,
                            qsizetype maxFiles, const char* tooMany) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringLiteral("help"));
    const QCommandLineOption version(QStringLiteral("version"));
    parser.addOption(help);
    parser.addOption(version);
    CommandLine line;
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s: %s (try '%s --help')\n", program,
                     parser.errorText().toLocal8Bit().constData(), program);
        line.exitStatus = 2;
        return line;
    }
    if (parser.isSet(help)) {
        std::fputs(usage, stdout);
        line.exitStatus = 0;
        return line;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", program, KANSU_VERSION);
        line.exitStatus = 0;
        return line;
    }
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
