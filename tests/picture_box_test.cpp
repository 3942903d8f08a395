#include "surface/picture_box.h"

#include <gtest/gtest.h>

namespace kansu {
namespace {

constexpr Rgb white = 0xFFFFFFFF;

Rect inkBounds(const Image& image, Rgb background = white) {
    Rect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                bounds = bounds.united(Rect{x, y, 1, 1});
    return bounds;
}

PictureBox box(PictureBox::Memory memory = PictureBox::Memory::Persistent) {
    return PictureBox(200, 100, colours::white, colours::black, {20.25, true}, 1, memory);
}

TEST(PictureBox, ClsFillsWithTheBackColourAndResetsTheCurrentPoint) {
    PictureBox b = box();
    b.line(0, 0, 50, 50);
    b.cls();
    EXPECT_TRUE(inkBounds(b.image()).isEmpty());
    EXPECT_EQ(b.currentX(), 0);
    EXPECT_EQ(b.currentY(), 0);
}

TEST(PictureBox, LineFormsShareTheCurrentPoint) {
    PictureBox b = box();
    b.line(10, 10, 20, 10);
    b.lineTo(20, 30);
    EXPECT_EQ(b.currentX(), 20);
    EXPECT_EQ(b.currentY(), 30);
    EXPECT_EQ(b.image().pixel(20, 25), 0xFF000000);
    b.lineStep(50, 50, 10, -5, paletteColour(12));
    EXPECT_EQ(b.currentX(), 60);
    EXPECT_EQ(b.currentY(), 45);
    EXPECT_EQ(b.image().pixel(60, 45), toRgb(paletteColour(12)) | 0xFF000000);
}

TEST(PictureBox, PrintPlacesTheTextCellAtTheCurrentPoint) {
    PictureBox b = box();
    b.setCurrentX(50);
    b.setCurrentY(20);
    b.print(std::string("8"));
    const Rect ink = inkBounds(b.image());
    ASSERT_FALSE(ink.isEmpty());
    // The glyph sits inside the cell whose top-left is the current point.
    EXPECT_GE(ink.left(), 50);
    EXPECT_LE(ink.left(), 56);
    EXPECT_GE(ink.top(), 20);
    EXPECT_LE(ink.top(), 28);
    EXPECT_LE(ink.bottom(), 20 + b.textHeight());
}

TEST(PictureBox, NumbersPrintWithALeadingBlank) {
    PictureBox plain = box(), number = box();
    plain.setCurrentX(10);
    plain.print(std::string(" 4 "));
    number.setCurrentX(10);
    number.printNumber(4);
    EXPECT_EQ(plain.image(), number.image());
}

TEST(PictureBox, TextPrintedAgainInTheBackColourLeavesNoTrace) {
    PictureBox b = box();
    b.setForeColour(paletteColour(9));
    b.setCurrentX(30);
    b.setCurrentY(10);
    b.printNumber(16);
    ASSERT_FALSE(inkBounds(b.image()).isEmpty());
    b.setForeColour(colours::white);
    b.setCurrentX(30);
    b.setCurrentY(10);
    b.printNumber(16);
    EXPECT_TRUE(inkBounds(b.image()).isEmpty());
}

TEST(PictureBox, TransientBoxDrawsOnlyWhatIsInView) {
    PictureBox b = box(PictureBox::Memory::Transient);
    b.setVisibleArea(Rect{0, 0, 100, 100});
    b.line(0, 50, 199, 50);
    EXPECT_EQ(b.image().pixel(50, 50), 0xFF000000);
    EXPECT_EQ(b.image().pixel(150, 50), white);

    // Whatever leaves the view is lost, and stays lost when it comes back.
    b.setVisibleArea(Rect{0, 0, 40, 100});
    b.setVisibleArea(Rect{0, 0, 200, 100});
    EXPECT_EQ(b.image().pixel(30, 50), 0xFF000000);
    EXPECT_EQ(b.image().pixel(50, 50), white);

    b.setVisibleArea(Rect{});
    b.print(std::string("x"));
    b.line(0, 0, 199, 99);
    EXPECT_TRUE(inkBounds(b.image()).isEmpty());
}

TEST(PictureBox, PersistentBoxKeepsWhatIsDrawnOutOfView) {
    PictureBox b = box();
    b.setVisibleArea(Rect{});
    b.line(0, 50, 199, 50);
    b.setVisibleArea(Rect{0, 0, 200, 100});
    EXPECT_EQ(b.image().pixel(150, 50), 0xFF000000);
}

TEST(PictureBox, TransparentFillStylePaintsNothing) {
    PictureBox b = box();
    b.setFillColour(paletteColour(14));
    b.setFillStyle(PictureBox::FillStyle::Transparent);
    b.floodFillBorder(5, 5, colours::black);
    EXPECT_TRUE(inkBounds(b.image()).isEmpty());
    b.setFillStyle(PictureBox::FillStyle::Solid);
    b.floodFillBorder(5, 5, colours::black);
    EXPECT_EQ(b.image().pixel(100, 50), toRgb(paletteColour(14)) | 0xFF000000);
}

TEST(PictureBox, RevisionMarksEveryChange) {
    PictureBox b = box();
    const auto before = b.revision();
    b.line(1, 1, 2, 2);
    EXPECT_GT(b.revision(), before);
}

} // namespace
} // namespace kansu
