#include "desktop/qt_bridge.h"

#include <QFontDatabase>
#include <QStringList>

namespace kansu {

namespace {

// The first of the faces the lesson may use that the system has, looked up once: a font asked
// for by a list of families costs a search for the missing ones every time it is set up. Looked
// up in the list of installed families, not one by one: asking for a missing family by name
// makes the font configuration resolve it as an alias, which costs more than all the rest of
// start-up's font work.
const QStringList& designFamilies() {
    static const QStringList families = [] {
        const QStringList wanted = {
            QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
            QStringLiteral("IPAPGothic"),      QStringLiteral("IPA Pゴシック"),
            QStringLiteral("IPAGothic"),       QStringLiteral("Noto Sans CJK JP"),
            QStringLiteral("VL PGothic"),      QStringLiteral("Takao PGothic")};
        const QStringList installed = QFontDatabase::families();
        for (const QString& family : wanted)
            if (installed.contains(family, Qt::CaseInsensitive))
                return QStringList{family};
        return wanted;
    }();
    return families;
}

} // namespace

QFont designFont(const FontSpec& wanted) {
    QFont font;
    font.setFamilies(designFamilies());
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSizeForPoints(wanted.points));
    font.setBold(wanted.bold);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

QImage qtImage(const Image& image, double devicePixelRatio) {
    QImage view(reinterpret_cast<const uchar*>(image.data()), image.width(), image.height(),
                static_cast<qsizetype>(image.width()) * 4, QImage::Format_RGBX8888);
    view.setDevicePixelRatio(devicePixelRatio);
    return view;
}

} // namespace kansu
