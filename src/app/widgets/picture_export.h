#pragma once

#include "app/form1.h"

#include <QImage>
#include <QString>

class QPainter;
class QWidget;

namespace kansu {

// A picture box as the user sees it (its picture and the labels, dots and lines above it), drawn
// sharp at a device scale; the image carries that scale as its device pixel ratio.
QImage pictureAsSeen(const Form1& form, ControlId box, double scale);

// The same, drawn again as vectors from the box's drawing history, in its own pixels: lines,
// text and the controls above as such, a fill as the region it painted.
void paintPictureVector(QPainter& painter, const Form1& form, ControlId box);

enum class PictureFormat { Png, Svg, Pdf };
// Writes a picture box to a file; a PNG at a device scale, and carrying its true resolution
// (96 dpi times the scale). Returns an empty string, or why it failed.
QString writePicture(const Form1& form, ControlId box, const QString& path, PictureFormat format,
                     double scale = 1);

// The worksheet of the moment on one A4 page as a PDF: the time, the figure, the graph and the
// table. Returns an empty string, or why it failed.
QString writeWorksheetPdf(const Form1& form, const QString& path);

// What the window's context menu offers.
class LessonFrame;
void copyFigure(LessonFrame& frame);
void savePicture(LessonFrame& frame, const Form1& form);
void printWorksheet(QWidget& parent, const Form1& form);
void showAbout(QWidget& parent);

} // namespace kansu
