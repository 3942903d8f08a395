#include "desktop/frame_actions.h"

#include "desktop/picture_files.h"
#include "desktop/picture_render.h"
#include "desktop/problem_file.h"
#include "desktop/qt_bridge.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <algorithm>
#include <optional>

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

// The two worksheets, as a dialog offers them.
QStringList sheetKindNames() {
    return {FrameActions::tr("Worksheet with the answers (解答用)"),
            FrameActions::tr("Worksheet for students (問題用)")};
}
SheetKind sheetKindAt(qsizetype index) {
    return index == 1 ? SheetKind::Blank : SheetKind::Answers;
}

// Which of the items the user picks, or nothing when the dialog is cancelled.
std::optional<qsizetype> pick(QWidget& parent, const QString& title, const QString& label,
                              const QStringList& items) {
    QInputDialog which(&parent);
    which.setWindowTitle(title);
    which.setLabelText(label);
    which.setComboBoxItems(items);
    which.setComboBoxEditable(false);
    if (which.exec() != QDialog::Accepted)
        return std::nullopt;
    return std::max<qsizetype>(0, items.indexOf(which.textValue()));
}

QString filterOf(PictureFormat format) {
    const QString name = format == PictureFormat::Png   ? FrameActions::tr("PNG image")
                         : format == PictureFormat::Svg ? FrameActions::tr("SVG drawing")
                                                        : FrameActions::tr("PDF document");
    return QStringLiteral("%1 (*.%2)").arg(name, QLatin1String(suffixOf(format)));
}

} // namespace

SavedFile savedFile(const QString& chosen, PictureFormat chosenFormat,
                    const QList<PictureFormat>& possible) {
    for (const PictureFormat format : possible) {
        const QString suffix = QLatin1Char('.') + QLatin1String(suffixOf(format));
        if (chosen.endsWith(suffix, Qt::CaseInsensitive) && chosen.size() > suffix.size())
            return {chosen, format};
    }
    return {chosen + QLatin1Char('.') + QLatin1String(suffixOf(chosenFormat)), chosenFormat};
}

void copyFigure(const Form1& form, double shownScale) {
    QImage picture = pictureAsSeen(form, role::figure, shownScale);
    // The pixels as they show; a program it is pasted into takes them one for one.
    picture.setDevicePixelRatio(1);
    QApplication::clipboard()->setImage(picture);
}

void savePicture(QWidget& parent, const Form1& form, double shownScale) {
    const ControlId boxes[] = {role::figure, role::graph, role::table};
    const QStringList names = QStringList{FrameActions::tr("Figure"), FrameActions::tr("Graph"),
                                          FrameActions::tr("Table")} +
                              sheetKindNames();
    const auto chosen =
        pick(parent, FrameActions::tr("Save picture"), FrameActions::tr("Picture to save:"), names);
    if (!chosen)
        return;
    // A worksheet is a page: a PDF only.
    const bool sheet = *chosen >= qsizetype(std::size(boxes));

    QList<PictureFormat> possible;
    QStringList filters;
    for (const PictureFormat format : formats)
        if (!sheet || format == PictureFormat::Pdf) {
            possible << format;
            filters << filterOf(format);
        }
    QFileDialog dialog(&parent, FrameActions::tr("Save picture"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(filters);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const SavedFile file = savedFile(
        dialog.selectedFiles().front(),
        possible[std::max<qsizetype>(0, filters.indexOf(dialog.selectedNameFilter()))], possible);
    const QString& path = file.path;
    // A PNG as sharp as the screen shows it.
    const QString why =
        sheet ? writeWorksheetPdf(form, sheetKindAt(*chosen - qsizetype(std::size(boxes))), path)
              : writePicture(form, boxes[*chosen], path, file.format, shownScale);
    if (!why.isEmpty())
        QMessageBox::warning(&parent, FrameActions::tr("Save picture"),
                             FrameActions::tr("The picture could not be saved in %1: %2.")
                                 .arg(QDir::toNativeSeparators(path), why));
}

void printWorksheet(QWidget& parent, const Form1& form) {
    const auto chosen = pick(parent, FrameActions::tr("Print worksheet"),
                             FrameActions::tr("Worksheet to print:"), sheetKindNames());
    if (!chosen)
        return;
    const SheetKind kind = sheetKindAt(*chosen);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setDocName(qt(form.control(ControlId::Label6).caption));
    QPrintDialog dialog(&printer, &parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        // Printed to a file: written whole, as every file the window writes, on the paper chosen.
        const QString why = writeWorksheetPdf(form, kind, printer.outputFileName(),
                                              printer.pageLayout().pageSize());
        if (!why.isEmpty())
            QMessageBox::warning(&parent, FrameActions::tr("Print worksheet"),
                                 FrameActions::tr("The worksheet could not be saved in %1: %2.")
                                     .arg(QDir::toNativeSeparators(printer.outputFileName()), why));
        return;
    }
    // Placed from the paper's corner, so the figure keeps its true size whatever margins the
    // printer keeps.
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        QMessageBox::warning(
            &parent, FrameActions::tr("Print worksheet"),
            FrameActions::tr(
                "The worksheet could not be printed: the printer could not be opened."));
        return;
    }
    paintWorksheet(painter, worksheetOf(form, kind), printer.resolution() / 25.4);
    painter.end();
}

void fillProblemMenu(QMenu& menu, QWidget& parent, Form1& form) {
    menu.clear();
    auto* group = new QActionGroup(&menu);
    const bool free = form.canChooseProblem();
    for (const motion::Problem& problem : builtInProblems()) {
        QAction* action = menu.addAction(qt(problem.title));
        action->setCheckable(true);
        action->setChecked(problem == form.course().problem());
        action->setEnabled(free);
        group->addAction(action);
        QObject::connect(action, &QAction::triggered, &menu,
                         [&form, problem] { form.chooseProblem(problem); });
    }
    menu.addSeparator();
    QAction* open = menu.addAction(FrameActions::tr("Open…"));
    open->setEnabled(free);
    QObject::connect(open, &QAction::triggered, &menu, [&parent, &form] {
        const QString path =
            QFileDialog::getOpenFileName(&parent, FrameActions::tr("Open a problem"), QString(),
                                         FrameActions::tr("Problem (*.json);;All files (*)"));
        if (path.isEmpty())
            return;
        const ReadProblem read = readProblemFile(path);
        if (!read.problem) {
            QMessageBox::warning(&parent, FrameActions::tr("Open a problem"),
                                 FrameActions::tr("%1 is no problem kansu can show: %2.")
                                     .arg(QDir::toNativeSeparators(path), qt(read.error)));
            return;
        }
        form.chooseProblem(*read.problem);
    });
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
