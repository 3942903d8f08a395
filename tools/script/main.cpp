// kansu-script: runs the lesson headless from a script and writes its state and pictures.
#include "script_runner.h"

#include <QApplication>
#include <QFile>
#include <QStyleFactory>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <string>

namespace {

// Keeps standard error for the script's own errors: Qt's note that a session without a runtime
// directory falls back to a temporary one says nothing about the script.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QStringLiteral("QStandardPaths: ")))
        return;
    std::fprintf(stderr, "%s\n",
                 qFormatLogMessage(type, context, message).toLocal8Bit().constData());
}

} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(quietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc > 2) {
        std::fprintf(stderr, "usage: kansu-script [FILE]\n");
        return 2;
    }
    const std::string path = argc > 1 ? argv[1] : "-";
    QByteArray script;
    if (path == "-") {
        const std::string all((std::istreambuf_iterator<char>(std::cin)),
                              std::istreambuf_iterator<char>());
        script = QByteArray::fromStdString(all);
    } else {
        QFile file(QString::fromLocal8Bit(path.c_str()));
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "line 0: cannot read script '%s': %s\n", path.c_str(),
                         file.errorString().toLocal8Bit().constData());
            return 2;
        }
        script = file.readAll();
    }

    QApplication app(argc, argv);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    kansu::ScriptRunner runner;
    const int status = runner.run(QString::fromUtf8(script));
    const QByteArray& out = runner.standardOutput();
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    if (status != 0)
        std::fprintf(stderr, "%s\n", runner.error().toLocal8Bit().constData());
    return status;
}
