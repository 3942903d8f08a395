#include "desktop/problem_file.h"

#include <QFile>
#include <QFileInfo>

namespace kansu {

ReadProblem readProblemFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return {std::nullopt, "no such file"};
    // A pipe would block, a device or a folder is no problem file.
    if (!info.isFile())
        return {std::nullopt, "not a regular file"};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, "cannot read the file: " + file.errorString().toStdString()};
    const QByteArray text = file.read(static_cast<qint64>(largestProblemFile) + 1);
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, "cannot read the file: " + file.errorString().toStdString()};
    return readProblem(std::string_view(text.constData(), static_cast<std::size_t>(text.size())),
                       info.completeBaseName().toStdString());
}

ReadProblem problemNamed(const QString& nameOrFile) {
    if (const motion::Problem* builtIn = builtInNamed(nameOrFile.toStdString()))
        return {*builtIn, {}};
    return readProblemFile(nameOrFile);
}

} // namespace kansu
