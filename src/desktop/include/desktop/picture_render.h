#pragma once

#include "app/form1.h"
#include "app/worksheet.h"

#include <QImage>
#include <QPoint>
#include <QSize>

class QPainter;

namespace kansu {

// The size of a picture box's client area, in its own pixels.
QSize pictureSize(const Form1& form, ControlId box);

// Paints what the user sees of a picture box (border excluded), as the lesson composes it, into
// painter at origin, drawn sharp at the given device scale.
void paintPictureContents(QPainter& painter, const Form1& form, ControlId id, QPoint origin,
                          qreal scale);

// A picture box as the user sees it (its picture and the labels, dots and lines above it), drawn
// sharp at a device scale; a copy that carries that scale as its device pixel ratio.
QImage pictureAsSeen(const Form1& form, ControlId box, double scale);

// The same, drawn again as vectors from the box's drawing history, in its own pixels: lines,
// text and the controls above as such, a fill as the region it painted.
void paintPictureVector(QPainter& painter, const Form1& form, ControlId box);

// A worksheet on a page whose top left corner is the painter's origin, at dotsPerMm device
// pixels a millimetre: vectors and text, the figure at its true size.
void paintWorksheet(QPainter& painter, const Worksheet& sheet, double dotsPerMm);

} // namespace kansu
