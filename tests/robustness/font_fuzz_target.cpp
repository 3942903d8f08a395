// libFuzzer entry for the font loader (make fuzz FUZZ_TARGET=kansu_font_fuzz): any bytes as a
// font file, then, when the checks take them, text drawn with it at a few sizes. The checks must
// refuse what stb_truetype would read outside of, and drawing must stay inside the picture.
#include "surface/font.h"
#include "surface/image.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const kansu::Typeface face{kansu::FontFile(std::vector<unsigned char>(data, data + size))};
    if (!face.hasGlyphs())
        return 0;
    kansu::Image image(120, 60);
    for (const int pixels : {1, 13, 40}) {
        face.draw(image, "８ cm 関数 0123 yP", 2, pixels, pixels, pixels == 13, 0xFF000000u,
                  image.rect());
        (void)face.advance("(cm )", pixels, true);
        (void)face.metrics(pixels);
    }
    return 0;
}
