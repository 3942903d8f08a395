#pragma once

#include "surface/font.h"
#include "surface/image.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <string>

namespace kansu {

// The design face where the system has it, otherwise the metric-compatible IPA P Gothic, then any
// Japanese gothic. Sized in pixels, a point being 4/3 pixel, so the layout holds at every dpi.
QFont designFont(const FontSpec& wanted);

// An image of the lesson as Qt sees it, sharing its pixels (valid while the image lives and is
// not drawn on), at a device pixel ratio.
QImage qtImage(const Image& image, double devicePixelRatio = 1);

// A lesson colour as Qt writes it.
inline QColor qtColour(OleColour c) {
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                  static_cast<int>((c >> 16) & 0xFF));
}

inline QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace kansu
