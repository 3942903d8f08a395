#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace kansu {

// Writes a whole file or nothing: a regular file (or a new one) is written beside its place and
// then renamed over it, so a failed write leaves the old file as it was; a device or a pipe is
// written directly, and the program's own standard output or error on that stream. Returns an
// empty string on success, else why it failed.
QString writeWhole(const QString& path, const QByteArray& bytes);

// A picture as PNG bytes, and as a PNG file written whole.
QByteArray encodePng(const QImage& image);
QString writePng(const QString& path, const QImage& image);

} // namespace kansu
