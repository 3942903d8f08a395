#include "app/widgets/qt_bridge.h"

#include <QStringList>

namespace kansu {

QFont designFont(const FontSpec& wanted) {
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"),
                      QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("VL PGothic"), QStringLiteral("Takao PGothic")});
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
                static_cast<qsizetype>(image.width()) * 4, QImage::Format_RGB32);
    view.setDevicePixelRatio(devicePixelRatio);
    return view;
}

} // namespace kansu
