#include "app/form1.h"
#include "surface/conversions.h"

namespace kansu {

void Form1::DrawGraphAxes(std::int16_t keep) {
    PictureBox& g = gamen_;
    const OleColour green = paletteColour(2);
    g.setDrawWidth(1);
    if (keep == 0)
        g.cls();
    // Grid first, so the axes lie on top of it: a line per 2 cm² and one per second.
    for (int i = 0; i <= 34; i += 2)
        g.lineStep(35, static_cast<float>(495 - 14 * i), 260, 0, green);
    for (int j = 0; j <= 18; j += 2)
        g.lineStep(static_cast<float>(35 + 14 * j), 495, 0, -485, green);
    // Each axis one pixel outside the first grid line, so it shows two pixels thick.
    g.lineStep(34, 496, 260, 0, green);
    g.lineStep(34, 495, 0, -485, green);

    g.setForeColour(paletteColour(0));
    for (int k = 1; k <= 4; ++k) {
        g.setCurrentY(500);
        g.setCurrentX(static_cast<float>(56 * k + 20));
        g.print(conv::fullWidth(conv::numberText(2 * k)));
    }
    g.setCurrentX(280);
    g.setCurrentY(500);
    g.print("(秒)");
    g.setCurrentX(25);
    g.setCurrentY(500);
    g.print("Ｏ");
    for (int m = 1; m <= 3; ++m) {
        g.setCurrentX(0);
        g.setCurrentY(static_cast<float>(490 - 140 * m));
        g.print(conv::fullWidth(conv::numberText(10 * m)));
    }
    g.setCurrentX(0);
    g.setCurrentY(5);
    g.print("(cm )");
    // The raised 2 of cm², in the blank of the caption.
    g.setCurrentX(22);
    g.setCurrentY(2);
    g.print("2");
}

void Form1::Check2_Click() {
    if (geometry_.state == 2)
        return;
    setWidthTwips(ticked(ControlId::Check2) ? window::graphWidthTwips : window::startWidthTwips);
}

} // namespace kansu
