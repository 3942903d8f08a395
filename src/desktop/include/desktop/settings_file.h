#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kansu {

// What the window keeps between runs (the zoom), in an INI file that a person may also edit:
// ~/.config/kansu/kansu.conf. It is read and written only while it is a regular file (or, for
// writing, not there yet): a link to a device, a pipe or a folder in its place is left alone and
// the lesson runs with its defaults. Writing keeps every other line, comments included, and is
// whole or nothing; a file too large to be read whole (over 1 MiB) is never rewritten.
class SettingsFile {
public:
    explicit SettingsFile(QString path);
    // Where the window keeps its settings for the user running it.
    static QString standardPath();

    // The zoom as the file says it, if it says one; checked by whoever uses it.
    std::optional<double> zoom() const;
    // Keeps a zoom; returns an empty string, or why it could not.
    QString setZoom(double zoom);

private:
    bool usable() const;

    QString path_;
    QStringList lines_;
    bool readWhole_ = true;
};

} // namespace kansu
