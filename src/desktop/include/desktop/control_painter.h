#pragma once

#include "surface/control.h"

class QPainter;
class QPoint;

namespace kansu {

// Paints the lightweight controls (labels, line controls, dot shapes): they have no window of their
// own and are painted by their container, above its picture. origin is where the container's
// coordinate (0, 0) lies in the painter.
void paintLightweightControl(QPainter& painter, const Control& control, QPoint origin);

} // namespace kansu
