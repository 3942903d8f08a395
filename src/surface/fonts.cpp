#include "surface/fonts.h"

#include <QStringList>
#include <cmath>

namespace kansu {

int pixelSizeForPoints(double points) {
    return static_cast<int>(std::lround(points * 4.0 / 3.0));
}

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

QFont canvasFont(const FontSpec& wanted) {
    QFont font = designFont(wanted);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

} // namespace kansu
