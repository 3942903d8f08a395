#pragma once

#include "app/form1.h"
#include "desktop/picture_files.h"

#include <QList>
#include <QString>

class QWidget;

namespace kansu {

// What the window's context menu offers, each with the window as the parent of its dialogs.
// shownScale: device pixels per design pixel as the picture shows now: a copy is what it shows.
void copyFigure(const Form1& form, double shownScale);
// shownScale: device pixels per design pixel as the picture shows now, the PNG's resolution.
void savePicture(QWidget& parent, const Form1& form, double shownScale);
void printWorksheet(QWidget& parent, const Form1& form);
void showAbout(QWidget& parent);

// Where a picture is saved, and as what, for the name chosen and the type chosen in the dialog: an
// extension typed of a type the picture can be saved as wins ("x.svg" is an SVG whatever the
// type chosen); any other name gets the chosen type's extension ("noext" as SVG is noext.svg).
struct SavedFile {
    QString path;
    PictureFormat format;
    bool operator==(const SavedFile&) const = default;
};
SavedFile savedFile(const QString& chosen, PictureFormat chosenFormat,
                    const QList<PictureFormat>& possible);

} // namespace kansu
