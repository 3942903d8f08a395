#pragma once

#include "app/form1.h"

#include <QString>

namespace kansu {

enum class PictureFormat { Png, Svg, Pdf };
// Writes a picture box to a file; a PNG at a device scale, and carrying its true resolution
// (96 dpi times the scale). Returns an empty string, or why it failed.
QString writePicture(const Form1& form, ControlId box, const QString& path, PictureFormat format,
                     double scale = 1);

// The worksheet of the moment on one A4 page as a PDF: the time, the figure, the graph and the
// table. Returns an empty string, or why it failed.
QString writeWorksheetPdf(const Form1& form, const QString& path);

} // namespace kansu
