#pragma once

#include "app/form1.h"
#include "desktop/picture_files.h"

#include <QString>

class QWidget;

namespace kansu {

// What the window's context menu offers, each with the window as the parent of its dialogs.
void copyFigure(const Form1& form);
// shownScale: device pixels per design pixel as the picture shows now, the PNG's resolution.
void savePicture(QWidget& parent, const Form1& form, double shownScale);
void printWorksheet(QWidget& parent, const Form1& form);
void showAbout(QWidget& parent);

// Where a picture of the chosen type is saved for the name chosen: the type decides, and the name
// gets the type's extension unless it has it already ("noext" as SVG is noext.svg).
QString savedPath(const QString& chosen, PictureFormat format);

} // namespace kansu
