#pragma once

#include "app/form1.h"
#include "desktop/picture_files.h"

#include <QList>
#include <QString>

class QMenu;
class QWidget;

namespace kansu {

// What the window's context menu offers, each with the window as the parent of its dialogs.
// shownScale: device pixels per design pixel as the picture shows now: a copy is what it shows.
void copyFigure(const Form1& form, double shownScale);
// shownScale: device pixels per design pixel as the picture shows now, the PNG's resolution.
void savePicture(QWidget& parent, const Form1& form, double shownScale);
void printWorksheet(QWidget& parent, const Form1& form);
// The 問題 menu: the built-in problems, the one shown ticked, and Open… for a teacher's own file,
// each only while 初期画面 could be pressed. A file that is no problem is said in a dialog and the
// lesson keeps its problem.
void fillProblemMenu(QMenu& menu, QWidget& parent, Form1& form);
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
