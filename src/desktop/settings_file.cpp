#include "desktop/settings_file.h"

#include "desktop/whole_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cmath>

namespace kansu {

namespace {

const QString section = QStringLiteral("[General]");
// No settings file of ours comes near this size; a larger one is read no further.
constexpr qint64 largestRead = 1 << 20;
const QString zoomKey = QStringLiteral("zoom");

bool isSection(const QString& line) {
    const QString t = line.trimmed();
    return t.startsWith(u'[') && t.endsWith(u']');
}

// The value of key in the line, if the line sets it.
std::optional<QString> valueIn(const QString& line, const QString& key) {
    const qsizetype equals = line.indexOf(u'=');
    if (equals < 0 || line.left(equals).trimmed() != key)
        return std::nullopt;
    return line.mid(equals + 1).trimmed();
}

} // namespace

SettingsFile::SettingsFile(QString path) : path_(std::move(path)) {
    // Only a regular file is opened: a pipe would block, a device is not ours to read.
    if (!QFileInfo(path_).isFile())
        return;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.read(largestRead);
    // What follows the part read would be lost by writing the part back.
    readWhole_ = file.atEnd() && file.error() == QFileDevice::NoError;
    lines_ = QString::fromUtf8(bytes).split(u'\n');
    if (!lines_.isEmpty() && lines_.back().isEmpty())
        lines_.removeLast();
}

QString SettingsFile::standardPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/kansu/kansu.conf");
}

bool SettingsFile::usable() const {
    const QFileInfo info(path_);
    return info.isFile() || (!info.exists() && !info.isSymLink());
}

std::optional<double> SettingsFile::zoom() const {
    bool general = true; // lines before any section belong to it
    for (const QString& line : lines_) {
        if (isSection(line)) {
            general = line.trimmed() == section;
            continue;
        }
        if (!general)
            continue;
        if (const auto value = valueIn(line, zoomKey)) {
            bool ok = false;
            const double zoom = value->toDouble(&ok);
            if (ok)
                return zoom;
        }
    }
    return std::nullopt;
}

QString SettingsFile::setZoom(double zoom) {
    if (!usable())
        return QStringLiteral("not a regular file");
    if (!readWhole_)
        return QStringLiteral("larger than 1 MiB, so not read whole and not rewritten");
    const QString setting = zoomKey + u'=' + QString::number(zoom);
    // The line that says it already, else a new one right under [General], else both at the end.
    bool general = true, written = false;
    for (QString& line : lines_) {
        if (isSection(line)) {
            general = line.trimmed() == section;
        } else if (general && valueIn(line, zoomKey)) {
            line = setting;
            written = true;
            break;
        }
    }
    if (!written) {
        const qsizetype header = lines_.indexOf(section);
        if (header >= 0) {
            lines_.insert(header + 1, setting);
        } else {
            lines_.append(section);
            lines_.append(setting);
        }
    }
    QDir().mkpath(QFileInfo(path_).absolutePath());
    return writeWhole(path_, (lines_.join(u'\n') + u'\n').toUtf8());
}

} // namespace kansu
