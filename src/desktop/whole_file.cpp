#include "desktop/whole_file.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace kansu {

namespace {
struct WholeFile {
    Q_DECLARE_TR_FUNCTIONS(WholeFile)
};
// The program's own standard output or error, however the path names it: /dev/stdout, a link to
// /proc/self/fd/1, or the very file the shell sends the output to.
std::optional<int> standardStreamAt(const QString& path) {
    struct stat named {};
    if (::stat(QFile::encodeName(path).constData(), &named) != 0)
        return std::nullopt;
    for (const int stream : {STDOUT_FILENO, STDERR_FILENO}) {
        struct stat open {};
        if (::fstat(stream, &open) == 0 && open.st_dev == named.st_dev &&
            open.st_ino == named.st_ino)
            return stream;
    }
    return std::nullopt;
}

} // namespace

QString writeWhole(const QString& path, const QByteArray& bytes) {
    if (const std::optional<int> stream = standardStreamAt(path)) {
        // Written on the stream, after what it holds: replacing the file behind it would throw
        // away everything written there before, and what is written after would go nowhere.
        QFile file;
        if (!file.open(*stream, QIODevice::WriteOnly | QIODevice::Unbuffered,
                       QFileDevice::DontCloseHandle) ||
            file.write(bytes) != bytes.size())
            return file.errorString();
        return {};
    }
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        // Not a file that can be replaced: /dev/stdout, a pipe, a device.
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush())
            return file.errorString();
        file.close();
        return file.error() == QFileDevice::NoError ? QString() : file.errorString();
    }
    // Unbuffered: a buffered save file flushes at commit() past the check that reports a short
    // write, and a full disk would pass for success.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    if (file.write(bytes) != bytes.size()) {
        const int error = errno;
        const QString why =
            error != 0 ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString();
        file.cancelWriting();
        return why;
    }
    if (!file.commit()) {
        const int error = errno;
        // A full disk shows only when the last of the file is written out.
        return error != 0 ? QString::fromLocal8Bit(std::strerror(error)) : file.errorString();
    }
    return {};
}

QByteArray encodePng(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") ? png : QByteArray();
}

QString writePng(const QString& path, const QImage& image) {
    // Encoded in memory first: the file is then written whole, like any other.
    const QByteArray png = encodePng(image);
    if (png.isEmpty())
        return WholeFile::tr("the picture could not be encoded");
    return writeWhole(path, png);
}

} // namespace kansu
