#include "desktop/qt_bridge.h"

#include <QFontDatabase>
#include <QStringList>

namespace kansu {

namespace {

// The first of the faces the lesson may use that the system has, looked up once: a font asked
// for by a list of families costs a search for the missing ones every time it is set up.
const QStringList& designFamilies() {
    static const QStringList families = [] {
        const QStringList wanted = {
            QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
            QStringLiteral("IPAPGothic"),      QStringLiteral("IPA Pゴシック"),
            QStringLiteral("IPAGothic"),       QStringLiteral("Noto Sans CJK JP"),
            QStringLiteral("VL PGothic"),      QStringLiteral("Takao PGothic")};
        for (const QString& family : wanted)
            if (QFontDatabase::hasFamily(family))
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
