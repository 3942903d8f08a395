#include "desktop/picture_files.h"

#include "desktop/picture_render.h"
#include "desktop/qt_bridge.h"

#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

namespace kansu {

QString writePicture(const Form1& form, ControlId box, const QString& path, PictureFormat format,
                     double scale) {
    const QSize size = pictureSize(form, box);
    switch (format) {
    case PictureFormat::Png: {
        QImage image = pictureAsSeen(form, box, scale);
        image.setDevicePixelRatio(1);
        const int dotsPerMetre = static_cast<int>(std::lround(96.0 * scale / 0.0254));
        image.setDotsPerMeterX(dotsPerMetre);
        image.setDotsPerMeterY(dotsPerMetre);
        return image.save(path, "PNG") ? QString()
                                       : QStringLiteral("the file could not be written");
    }
    case PictureFormat::Svg: {
        QSvgGenerator svg;
        svg.setFileName(path);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(96);
        svg.setTitle(form.control(box).name.empty() ? QString() : qt(form.control(box).name));
        QPainter painter;
        if (!painter.begin(&svg))
            return QStringLiteral("the file could not be written");
        paintPictureVector(painter, form, box);
        return painter.end() ? QString() : QStringLiteral("the file could not be written");
    }
    case PictureFormat::Pdf: {
        QPdfWriter pdf(path);
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(size.width() * 72.0 / 96, size.height() * 72.0 / 96),
                                  QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        QPainter painter;
        if (!painter.begin(&pdf))
            return QStringLiteral("the file could not be written");
        paintPictureVector(painter, form, box);
        return painter.end() ? QString() : QStringLiteral("the file could not be written");
    }
    }
    return QStringLiteral("unknown format");
}

QString writeWorksheetPdf(const Form1& form, const QString& path) {
    QPdfWriter pdf(path);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setResolution(300);
    pdf.setTitle(QStringLiteral("関数の利用"));
    QPainter painter;
    if (!painter.begin(&pdf))
        return QStringLiteral("the file could not be written");
    paintWorksheet(painter, form);
    return painter.end() ? QString() : QStringLiteral("the file could not be written");
}

} // namespace kansu
