#include "desktop/frame_actions.h"

#include "desktop/picture_files.h"
#include "desktop/picture_render.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

namespace kansu {

void copyFigure(const Form1& form) {
    QApplication::clipboard()->setImage(pictureAsSeen(form, role::figure, 1));
}

void savePicture(QWidget& parent, const Form1& form, double shownScale) {
    const QStringList pictures = {QStringLiteral("図"), QStringLiteral("グラフ"),
                                  QStringLiteral("表")};
    bool chosen = false;
    const QString which =
        QInputDialog::getItem(&parent, QStringLiteral("画像を保存"),
                              QStringLiteral("保存する画像:"), pictures, 0, false, &chosen);
    if (!chosen)
        return;
    const ControlId box = which == pictures[1]   ? role::graph
                          : which == pictures[2] ? role::table
                                                 : role::figure;
    QString filter;
    const QString path = QFileDialog::getSaveFileName(
        &parent, QStringLiteral("画像を保存"), QString(),
        QStringLiteral("PNG (*.png);;SVG (*.svg);;PDF (*.pdf)"), &filter);
    if (path.isEmpty())
        return;
    const PictureFormat format =
        path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)   ? PictureFormat::Svg
        : path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive) ? PictureFormat::Pdf
                                                                     : PictureFormat::Png;
    // A PNG as sharp as the screen shows it.
    const QString why = writePicture(form, box, path, format, shownScale);
    if (!why.isEmpty())
        QMessageBox::warning(&parent, QStringLiteral("画像を保存"), why);
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
