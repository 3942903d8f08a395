#pragma once

#include "app/form1.h"
#include "app/worksheet.h"

#include <QPageSize>
#include <QString>

namespace kansu {

enum class PictureFormat { Png, Svg, Pdf };
// A picture box written to a file, whole or not at all (an old file stays as it was on failure);
// a PNG at a device scale, carrying its true resolution (96 dpi times the scale). Returns an empty
// string, or why it failed.
QString writePicture(const Form1& form, ControlId box, const QString& path, PictureFormat format,
                     double scale = 1);

// The worksheet of the moment, of either kind, on one page as a PDF of vectors with its font
// embedded: A4, or the paper a printer was set to (the sheet fits inside Letter's margins too).
// Returns an empty string, or why it failed.
QString encodeWorksheetPdf(const Form1& form, SheetKind kind, QByteArray& bytes,
                           const QPageSize& paper = QPageSize(QPageSize::A4));
// The same, written whole to a file.
QString writeWorksheetPdf(const Form1& form, SheetKind kind, const QString& path,
                          const QPageSize& paper = QPageSize(QPageSize::A4));

} // namespace kansu
