#include "desktop/picture_files.h"

#include "desktop/picture_render.h"
#include "desktop/qt_bridge.h"
#include "desktop/whole_file.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>
#include <functional>

namespace kansu {

namespace {

struct PictureFiles {
    Q_DECLARE_TR_FUNCTIONS(PictureFiles)
};

QString notDrawn() {
    return PictureFiles::tr("the picture could not be drawn");
}

// Draws vectors on a painter over a device, into bytes.
template <typename Device>
QString paintInto(Device& device, const std::function<void(QPainter&)>& paint) {
    QPainter painter;
    if (!painter.begin(&device))
        return notDrawn();
    paint(painter);
    return painter.end() ? QString() : notDrawn();
}

// A picture box as a file's bytes; a PNG at a device scale, carrying its true resolution (96 dpi
// times the scale).
QString encodePicture(const Form1& form, ControlId box, PictureFormat format, double scale,
                      QByteArray& bytes) {
    const QSize size = pictureSize(form, box);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case PictureFormat::Png: {
        QImage image = pictureAsSeen(form, box, scale);
        image.setDevicePixelRatio(1);
        const int dotsPerMetre = static_cast<int>(std::lround(96.0 * scale / 0.0254));
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        bytes = encodePng(image);
        return bytes.isEmpty() ? notDrawn() : QString();
    }
    case PictureFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(96);
        svg.setTitle(qt(form.control(box).name));
        return paintInto(svg, [&](QPainter& p) { paintPictureVector(p, form, box); });
    }
    case PictureFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(size.width() * 72.0 / 96, size.height() * 72.0 / 96),
                                  QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        return paintInto(pdf, [&](QPainter& p) { paintPictureVector(p, form, box); });
    }
    }
    return notDrawn();
}

// Encoded whole in memory first, then written whole or not at all.
QString encodedThenWritten(const QString& path, const std::function<QString(QByteArray&)>& encode) {
    QByteArray bytes;
    if (const QString why = encode(bytes); !why.isEmpty())
        return why;
    return writeWhole(path, bytes);
}

} // namespace

QString encodeWorksheetPdf(const Form1& form, SheetKind kind, QByteArray& bytes,
                           const QPageSize& paper) {
    const Worksheet sheet = worksheetOf(form, kind);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    // Placed from the paper's corner, as printed: the sheet lies inside A4's and Letter's margins.
    pdf.setPageLayout(
        QPageLayout(paper, QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
    pdf.setResolution(1200);
    pdf.setTitle(qt(sheet.title));
    pdf.setCreator(QStringLiteral("kansu"));
    return paintInto(pdf, [&](QPainter& p) { paintWorksheet(p, sheet, 1200 / 25.4); });
}

QString writePicture(const Form1& form, ControlId box, const QString& path, PictureFormat format,
                     double scale) {
    return encodedThenWritten(
        path, [&](QByteArray& bytes) { return encodePicture(form, box, format, scale, bytes); });
}

QString writeWorksheetPdf(const Form1& form, SheetKind kind, const QString& path,
                          const QPageSize& paper) {
    return encodedThenWritten(
        path, [&](QByteArray& bytes) { return encodeWorksheetPdf(form, kind, bytes, paper); });
}

} // namespace kansu
