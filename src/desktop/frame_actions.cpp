#include "desktop/frame_actions.h"

#include "desktop/picture_files.h"
#include "desktop/picture_render.h"
#include "desktop/qt_bridge.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>

namespace kansu {

namespace {

struct FrameActions {
    Q_DECLARE_TR_FUNCTIONS(FrameActions)
};

constexpr PictureFormat formats[] = {PictureFormat::Png, PictureFormat::Svg, PictureFormat::Pdf};

const char* suffixOf(PictureFormat format) {
    switch (format) {
    case PictureFormat::Png:
        return "png";
    case PictureFormat::Svg:
        return "svg";
    case PictureFormat::Pdf:
        return "pdf";
    }
    return "";
}

QString filterOf(PictureFormat format) {
    const QString name = format == PictureFormat::Png   ? FrameActions::tr("PNG image")
                         : format == PictureFormat::Svg ? FrameActions::tr("SVG drawing")
                                                        : FrameActions::tr("PDF document");
    return QStringLiteral("%1 (*.%2)").arg(name, QLatin1String(suffixOf(format)));
}

} // namespace

QString savedPath(const QString& chosen, PictureFormat format) {
    const QString suffix = QLatin1Char('.') + QLatin1String(suffixOf(format));
    return chosen.endsWith(suffix, Qt::CaseInsensitive) ? chosen : chosen + suffix;
}

void copyFigure(const Form1& form) {
    QApplication::clipboard()->setImage(pictureAsSeen(form, role::figure, 1));
}

void savePicture(QWidget& parent, const Form1& form, double shownScale) {
    const ControlId boxes[] = {role::figure, role::graph, role::table};
    const QStringList names = {FrameActions::tr("Figure"), FrameActions::tr("Graph"),
                               FrameActions::tr("Table")};
    QInputDialog which(&parent);
    which.setWindowTitle(FrameActions::tr("Save picture"));
    which.setLabelText(FrameActions::tr("Picture to save:"));
    which.setComboBoxItems(names);
    which.setComboBoxEditable(false);
    if (which.exec() != QDialog::Accepted)
        return;
    const ControlId box = boxes[std::max<qsizetype>(0, names.indexOf(which.textValue()))];

    QStringList filters;
    for (const PictureFormat format : formats)
        filters << filterOf(format);
    QFileDialog dialog(&parent, FrameActions::tr("Save picture"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const PictureFormat format =
        formats[std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()))];
    const QString path = savedPath(dialog.selectedFiles().front(), format);
    // A PNG as sharp as the screen shows it.
    const QString why = writePicture(form, box, path, format, shownScale);
    if (!why.isEmpty())
        QMessageBox::warning(&parent, FrameActions::tr("Save picture"),
                             FrameActions::tr("The picture could not be saved in %1: %2.")
                                 .arg(QDir::toNativeSeparators(path), why));
}

void printWorksheet(QWidget& parent, const Form1& form) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setDocName(qt(form.control(ControlId::Label6).caption));
    QPrintDialog dialog(&printer, &parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        // Printed to a file: written whole, as every file the window writes.
        const QString why = writeWorksheetPdf(form, printer.outputFileName());
        if (!why.isEmpty())
            QMessageBox::warning(&parent, FrameActions::tr("Print worksheet"),
                                 FrameActions::tr("The worksheet could not be saved in %1: %2.")
                                     .arg(QDir::toNativeSeparators(printer.outputFileName()), why));
        return;
    }
    QPainter painter;
    if (painter.begin(&printer)) {
        paintWorksheet(painter, form);
        painter.end();
    }
}

void showAbout(QWidget& parent) {
    QMessageBox::about(
        &parent, FrameActions::tr("About kansu"),
        FrameActions::tr("<p><b>４.関数 — 関数の利用</b> %1</p>"
                         "<p>A lesson for junior high school: points P and Q move on the square "
                         "ABCD, and the area of triangle BPQ is shown as a figure, a graph and a "
                         "table.</p>"
                         "<p>Free software under the MIT licence.</p>"
                         "<p>Its text is set in IPA P Gothic (IPA Font License v1.0).</p>")
            .arg(QApplication::applicationVersion()));
}

} // namespace kansu
