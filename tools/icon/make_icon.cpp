// Writes the application icon — the lesson's square with its shaded triangle — as an SVG and as
// PNGs of the usual sizes, from one description:  make_icon OUTPUT_DIR APP_ID
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

// On a 256-unit canvas.
constexpr double tileRadius = 40;
constexpr QPointF A(52, 44), B(52, 212), C(212, 212), D(212, 44);
constexpr QPointF P(116, 44), Q(180, 212); // 5 s into the lesson: P on AD, Q on BC

const QColor tile(0xC0, 0xFF, 0xC0), board(0xFF, 0xFF, 0xFF), ink(0, 0, 0), shade(0xFF, 0xFF, 0x00),
    dot(0xFF, 0, 0);

void paint(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(0, 0, 256, 256), tileRadius, tileRadius);
    p.setBrush(board);
    p.drawRect(QRectF(A, C));
    QPainterPath triangle;
    triangle.moveTo(B);
    triangle.lineTo(Q);
    triangle.lineTo(P);
    triangle.closeSubpath();
    p.setBrush(shade);
    p.setPen(QPen(ink, 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(triangle);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(A, C));
    p.setPen(Qt::NoPen);
    p.setBrush(dot);
    p.drawEllipse(P, 14, 14);
    p.drawEllipse(Q, 14, 14);
}

QString svg() {
    auto pt = [](QPointF v) {
        return QStringLiteral("%1,%2").arg(v.x()).arg(v.y());
    };
    return QStringLiteral(
               "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
               "viewBox=\"0 0 256 256\">\n"
               "  <rect width=\"256\" height=\"256\" rx=\"%1\" fill=\"#c0ffc0\"/>\n"
               "  <rect x=\"%2\" y=\"%3\" width=\"%4\" height=\"%5\" fill=\"#ffffff\"/>\n"
               "  <polygon points=\"%6 %7 %8\" fill=\"#ffff00\" stroke=\"#000000\" "
               "stroke-width=\"10\" stroke-linejoin=\"round\"/>\n"
               "  <rect x=\"%2\" y=\"%3\" width=\"%4\" height=\"%5\" fill=\"none\" "
               "stroke=\"#000000\" stroke-width=\"10\" stroke-linejoin=\"round\"/>\n"
               "  <circle cx=\"%9\" cy=\"%10\" r=\"14\" fill=\"#ff0000\"/>\n"
               "  <circle cx=\"%11\" cy=\"%12\" r=\"14\" fill=\"#ff0000\"/>\n"
               "</svg>\n")
        .arg(tileRadius)
        .arg(A.x())
        .arg(A.y())
        .arg(C.x() - A.x())
        .arg(C.y() - A.y())
        .arg(pt(B), pt(Q), pt(P))
        .arg(P.x())
        .arg(P.y())
        .arg(Q.x())
        .arg(Q.y());
}

QImage drawn(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.scale(size / 256.0, size / 256.0);
    paint(painter);
    painter.end();
    return image;
}

} // namespace

// With WEB_DIR, also the icons a web page's manifest names: icon-192.png, icon-512.png, icon.svg.
int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: make_icon OUTPUT_DIR APP_ID [WEB_DIR]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    const QString id = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out.filePath(QStringLiteral("scalable/apps")));
    QFile file(out.filePath(QStringLiteral("scalable/apps/%1.svg").arg(id)));
    if (!file.open(QIODevice::WriteOnly) || file.write(svg().toUtf8()) < 0)
        return 1;
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QString dir = QStringLiteral("%1x%1/apps").arg(size);
        QDir().mkpath(out.filePath(dir));
        if (!drawn(size).save(out.filePath(dir + QStringLiteral("/%1.png").arg(id))))
            return 1;
    }
    if (argc == 4) {
        const QDir web(QString::fromLocal8Bit(argv[3]));
        QDir().mkpath(web.path());
        QFile webSvg(web.filePath(QStringLiteral("icon.svg")));
        if (!webSvg.open(QIODevice::WriteOnly) || webSvg.write(svg().toUtf8()) < 0)
            return 1;
        for (int size : {192, 512})
            if (!drawn(size).save(web.filePath(QStringLiteral("icon-%1.png").arg(size))))
                return 1;
    }
    return 0;
}
