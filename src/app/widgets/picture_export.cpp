#include "app/widgets/picture_export.h"

#include "app/widgets/control_painter.h"
#include "app/widgets/lesson_frame.h"
#include "app/widgets/picture_box_widget.h"
#include "app/widgets/qt_bridge.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

namespace kansu {

namespace {

// The scale a fill's region is found at: a quarter of a pixel is finer than any printer shows.
constexpr int fillScale = 4;

QSize boxSize(const Form1& form, ControlId box) {
    const PictureBox& p = form.box(box);
    return {p.width(), p.height()};
}

// The pixels a fill painted, as runs along the rows at fillScale.
QPainterPath filledRegion(const Image& before, const Image& after) {
    QPainterPath region;
    for (int y = 0; y < after.height(); ++y) {
        const Rgb* a = after.row(y);
        const Rgb* b = before.row(y);
        for (int x = 0; x < after.width();) {
            if (a[x] == b[x]) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < after.width() && a[x] != b[x])
                ++x;
            region.addRect(start, y, x - start, 1);
        }
    }
    return region;
}

QColor colourOf(Rgb pixel) {
    const std::uint32_t c = rrggbb(pixel);
    return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
}

} // namespace

QImage pictureAsSeen(const Form1& form, ControlId box, double scale) {
    const QSize size = boxSize(form, box);
    QImage picture(QSize(static_cast<int>(std::ceil(size.width() * scale)),
                         static_cast<int>(std::ceil(size.height() * scale))),
                   QImage::Format_RGB32);
    picture.setDevicePixelRatio(scale);
    QPainter painter(&picture);
    paintPictureContents(painter, form, box, QPoint(0, 0), scale);
    painter.end();
    return picture;
}

void paintPictureVector(QPainter& painter, const Form1& form, ControlId box) {
    const PictureBox& picture = form.box(box);
    const QSize size = boxSize(form, box);
    const Rgb back = toRgb(picture.backColour());
    painter.save();
    painter.setClipRect(QRect(QPoint(0, 0), size));
    painter.fillRect(QRect(QPoint(0, 0), size), colourOf(back));
    // Fills are found on a finer raster kept alongside, drawn by the same rules as the box.
    const std::vector<DrawOp> history = picture.history();
    const bool fills = std::any_of(history.begin(), history.end(),
                                   [](const DrawOp& op) { return op.kind == DrawOp::Kind::Fill; });
    Image raster =
        fills ? Image(size.width() * fillScale, size.height() * fillScale, back) : Image();
    for (const DrawOp& op : history) {
        switch (op.kind) {
        case DrawOp::Kind::Line: {
            // A pen of odd width is centred on its pixels, one of even width between them.
            const double centre = op.width % 2 != 0 ? 0.5 : 0.0;
            QPen pen(colourOf(op.colour), op.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            painter.setPen(pen);
            painter.setRenderHint(QPainter::Antialiasing, true);
            painter.drawLine(QPointF(op.from.x + centre, op.from.y + centre),
                             QPointF(op.to.x + centre, op.to.y + centre));
            break;
        }
        case DrawOp::Kind::Text: {
            painter.save();
            painter.setClipRect(QRect(op.area.x, op.area.y, op.area.width, op.area.height),
                                Qt::IntersectClip);
            QFont font = designFont(op.font);
            font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック")});
            painter.setFont(font);
            painter.setPen(colourOf(op.colour));
            painter.drawText(QPointF(op.from.x, op.from.y + textMetrics(op.font).ascent),
                             qt(op.text));
            painter.restore();
            break;
        }
        case DrawOp::Kind::Fill: {
            const Image before = raster;
            applyDrawOp(raster, op, fillScale, back);
            const QPainterPath region = filledRegion(before, raster);
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.scale(1.0 / fillScale, 1.0 / fillScale);
            painter.fillPath(region.simplified(), colourOf(op.colour));
            painter.restore();
            continue; // already on the raster
        }
        case DrawOp::Kind::Keep: {
            QPainterPath lost;
            lost.addRect(QRectF(QPointF(0, 0), size));
            QPainterPath kept;
            kept.addRect(QRectF(op.area.x, op.area.y, op.area.width, op.area.height));
            painter.fillPath(lost.subtracted(kept), colourOf(back));
            break;
        }
        }
        if (fills)
            applyDrawOp(raster, op, fillScale, back);
    }
    // The labels, dots and lines above the picture, bottom of the stack first.
    const Container container = box == role::figure  ? Container::Kokuban
                                : box == role::graph ? Container::Gamen
                                                     : Container::Hyo;
    const auto& controls = form.controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it)
        if (it->container == container)
            paintLightweightControl(painter, *it, QPoint(0, 0));
    painter.restore();
}

QString writePicture(const Form1& form, ControlId box, const QString& path, PictureFormat format,
                     double scale) {
    const QSize size = boxSize(form, box);
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

namespace {

// The worksheet on a page of A4 at 96 dots an inch (794 by 1123), whatever the device's
// resolution: the time, the figure and the graph side by side, the table below.
void paintWorksheet(QPainter& painter, const Form1& form) {
    const QRect page = painter.viewport();
    const double unit = page.width() / 794.0;
    painter.save();
    painter.scale(unit, unit);
    painter.setRenderHint(QPainter::Antialiasing, true);
    QFont title = designFont({24, true});
    painter.setFont(title);
    painter.setPen(Qt::black);
    painter.drawText(QPointF(40, 60), QStringLiteral("関数の利用"));
    QFont line = designFont({14.25, false});
    painter.setFont(line);
    painter.drawText(QPointF(40, 96), QStringLiteral("点Bを出発してから %1 秒後")
                                          .arg(qt(form.control(role::timeBox).text).trimmed()));
    auto place = [&](ControlId box, QPointF at, double scale) {
        painter.save();
        painter.translate(at);
        painter.scale(scale, scale);
        paintPictureVector(painter, form, box);
        painter.setPen(QPen(Qt::black, 1 / scale));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(QPointF(0, 0), QSizeF(boxSize(form, box))));
        painter.restore();
    };
    place(role::figure, {40, 120}, 0.8);
    place(role::graph, {480, 120}, 0.8);
    place(role::table, {40, 580}, 1.1);
    painter.restore();
}

} // namespace

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

void copyFigure(LessonFrame& frame) {
    QApplication::clipboard()->setImage(frame.figureImage(1));
}

void savePicture(LessonFrame& frame, const Form1& form) {
    const QStringList pictures = {QStringLiteral("図"), QStringLiteral("グラフ"),
                                  QStringLiteral("表")};
    bool chosen = false;
    const QString which =
        QInputDialog::getItem(&frame, QStringLiteral("画像を保存"), QStringLiteral("保存する画像:"),
                              pictures, 0, false, &chosen);
    if (!chosen)
        return;
    const ControlId box = which == pictures[1]   ? role::graph
                          : which == pictures[2] ? role::table
                                                 : role::figure;
    QString filter;
    const QString path = QFileDialog::getSaveFileName(
        &frame, QStringLiteral("画像を保存"), QString(),
        QStringLiteral("PNG (*.png);;SVG (*.svg);;PDF (*.pdf)"), &filter);
    if (path.isEmpty())
        return;
    const PictureFormat format =
        path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)   ? PictureFormat::Svg
        : path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? PictureFormat::Pdf
                                                                     : PictureFormat::Png;
    // A PNG as sharp as the screen shows it.
    const double scale = frame.shownScale() * frame.devicePixelRatioF();
    const QString why = writePicture(form, box, path, format, scale);
    if (!why.isEmpty())
        QMessageBox::warning(&frame, QStringLiteral("画像を保存"), why);
}

void printWorksheet(QWidget& parent, const Form1& form) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(QStringLiteral("関数の利用"));
    QPrintDialog dialog(&printer, &parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter;
    if (painter.begin(&printer)) {
        paintWorksheet(painter, form);
        painter.end();
    }
}

void showAbout(QWidget& parent) {
    QMessageBox::about(
        &parent, QStringLiteral("このソフトについて"),
        QStringLiteral("<p><b>４.関数 — 関数の利用</b> %1</p>"
                       "<p>正方形 ABCD の上を動く点 P, Q と三角形 BPQ の面積を、図・グラフ・表で"
                       "示す授業用ソフトです。</p>"
                       "<p>MIT ライセンスのフリーソフトウェアです。</p>"
                       "<p>文字は IPA P ゴシック（IPA フォントライセンス v1.0）で表示しています。"
                       "</p>")
            .arg(QApplication::applicationVersion()));
}

} // namespace kansu
