#pragma once

#include "surface/control.h"

#include <QString>

class QFont;
class QPainter;
class QPoint;
class QPointF;

namespace kansu {

// Text with the left end of its baseline at a point, bold as the lesson's pictures are bold on
// every device: the face struck again a 24th of the em to the right. IPA P Gothic has no bold of
// its own, and a vector device (SVG, PDF, a printer) would set it regular; a screen emboldens it
// itself.
void drawText(QPainter& painter, const QPointF& baseline, const QFont& font, const QString& text);

// Paints the lightweight controls (labels, line controls, dot shapes): they have no window of their
// own and are painted by their container, above its picture. origin is where the container's
// coordinate (0, 0) lies in the painter.
void paintLightweightControl(QPainter& painter, const Control& control, QPoint origin);

} // namespace kansu
