#include "surface/raster.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <limits>

namespace kansu {
namespace {

constexpr Rgb white = 0xFFFFFFFF;
constexpr Rgb black = 0xFF000000;
constexpr Rgb yellow = 0xFFFFFF00;

Image blank(int w = 40, int h = 40) {
    return Image(w, h, white);
}

int countColour(const Image& image, Rgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

// Rows (for a horizontal line) a pen of each width covers at a column away from the ends.
TEST(WideLine, CoversExactlyItsWidthAcrossTheLine) {
    for (int width = 1; width <= 6; ++width) {
        Image image = blank();
        raster::drawLine(image, PointF{5, 20}, PointF{30, 20}, width, black, image.rect());
        int covered = 0;
        for (int y = 0; y < image.height(); ++y)
            covered += image.pixel(15, y) == black;
        EXPECT_EQ(covered, width) << "horizontal, width " << width;

        Image vertical = blank();
        raster::drawLine(vertical, PointF{20, 5}, PointF{20, 30}, width, black, vertical.rect());
        covered = 0;
        for (int x = 0; x < vertical.width(); ++x)
            covered += vertical.pixel(x, 15) == black;
        EXPECT_EQ(covered, width) << "vertical, width " << width;
    }
}

TEST(WideLine, ThreePixelPenIsCentredOnTheLine) {
    Image image = blank();
    raster::drawLine(image, PointF{5, 20}, PointF{30, 20}, 3, black, image.rect());
    EXPECT_EQ(image.pixel(15, 19), black);
    EXPECT_EQ(image.pixel(15, 21), black);
    EXPECT_EQ(image.pixel(15, 22), white);
    // Round caps: the 3-pixel disc reaches one pixel past the end point.
    EXPECT_EQ(image.pixel(31, 20), black);
    EXPECT_EQ(image.pixel(32, 20), white);
}

TEST(ThinLine, IncludesBothEndPoints) {
    Image image = blank();
    raster::drawLine(image, PointF{3, 4}, PointF{13, 9}, 1, black, image.rect());
    EXPECT_EQ(image.pixel(3, 4), black);
    EXPECT_EQ(image.pixel(13, 9), black);
    EXPECT_EQ(countColour(image, black), 11);
}

TEST(Lines, StayInsideTheClip) {
    Image image = blank();
    raster::drawLine(image, PointF{-10, 5}, PointF{100, 5}, 5, black, Rect{0, 0, 20, 40});
    raster::drawLine(image, PointF{-10, 30}, PointF{100, 30}, 1, black, Rect{0, 0, 20, 40});
    for (int y = 0; y < image.height(); ++y)
        for (int x = 20; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), white) << x << "," << y;
}

TEST(Lines, IgnoreNonFiniteEndPoints) {
    Image image = blank();
    raster::drawLine(image, PointF{std::numeric_limits<double>::infinity(), 5}, PointF{10, 5}, 3,
                     black, image.rect());
    EXPECT_EQ(countColour(image, black), 0);
}

TEST(FloodFill, StaysInsideAClosedOutline) {
    Image image = blank();
    for (const auto& [a, b] : {std::pair{PointF{5, 5}, PointF{30, 5}},
                               {PointF{30, 5}, PointF{30, 30}},
                               {PointF{30, 30}, PointF{5, 5}}})
        raster::drawLine(image, a, b, 3, black, image.rect());
    const long painted = raster::floodFillBorder(image, Point{26, 20}, black, yellow, image.rect());
    EXPECT_GT(painted, 100);
    EXPECT_EQ(countColour(image, yellow), painted);
    EXPECT_EQ(image.pixel(2, 2), white);
    EXPECT_EQ(image.pixel(10, 25), white); // the other side of the hypotenuse
}

TEST(FloodFill, NothingOnABorderSeedOrOutside) {
    Image image = blank();
    raster::drawLine(image, PointF{0, 20}, PointF{39, 20}, 1, black, image.rect());
    EXPECT_EQ(raster::floodFillBorder(image, Point{10, 20}, black, yellow, image.rect()), 0);
    EXPECT_EQ(raster::floodFillBorder(image, Point{-1, 5}, black, yellow, image.rect()), 0);
    EXPECT_EQ(raster::floodFillBorder(image, Point{5, 5}, black, yellow, Rect{20, 0, 10, 10}), 0);
    EXPECT_EQ(countColour(image, yellow), 0);
}

TEST(FloodFill, IsFourConnected) {
    // A one-pixel diagonal is a closed border for a 4-connected fill.
    Image image = blank(20, 20);
    raster::drawLine(image, PointF{0, 0}, PointF{19, 19}, 1, black, image.rect());
    raster::floodFillBorder(image, Point{15, 2}, black, yellow, image.rect());
    EXPECT_EQ(image.pixel(2, 15), white);
    EXPECT_EQ(image.pixel(19, 0), yellow);
}

TEST(FloodFill, SpreadsThroughEveryOtherColour) {
    Image image = blank(20, 20);
    image.setPixel(5, 5, yellow);
    image.setPixel(6, 5, 0xFF00FF00);
    raster::floodFillBorder(image, Point{0, 0}, black, yellow, image.rect());
    EXPECT_EQ(countColour(image, yellow), 400);
}

TEST(FloodFill, BorderColourFillTerminates) {
    Image image = blank(20, 20);
    EXPECT_EQ(raster::floodFillBorder(image, Point{3, 3}, black, black, image.rect()), 400);
}

} // namespace
} // namespace kansu

namespace kansu {
namespace {

// How far, in squared pixels, a pixel's sample point lies outside a pen of this width around the
// segment (negative: inside).
double outsidePen(PointF a, PointF b, int width, int x, int y) {
    const double offset = width % 2 == 0 ? 0.5 : 0.0;
    const double px = x + offset - a.x, py = y + offset - a.y;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double l2 = dx * dx + dy * dy;
    const double t = l2 > 0 ? std::clamp((px * dx + py * dy) / l2, 0.0, 1.0) : 0.0;
    const double ex = px - t * dx, ey = py - t * dy;
    return ex * ex + ey * ey - width * width / 4.0;
}

TEST(WideLine, PaintsExactlyThePixelsWithinHalfTheWidth) {
    std::srand(7);
    auto coordinate = [] {
        return (std::rand() % 4000) / 100.0 + 5;
    };
    for (int trial = 0; trial < 400; ++trial) {
        const int width = 2 + trial % 4;
        PointF a(coordinate(), coordinate()), b(coordinate(), coordinate());
        if (trial % 5 == 0)
            b = PointF{std::round(b.x), std::round(a.y)}; // horizontal
        if (trial % 11 == 0)
            b = PointF{a.x, b.y}; // vertical
        if (trial % 7 == 0)
            a = b; // a single point: a disc
        Image image = blank(50, 50);
        raster::drawLine(image, a, b, width, black, image.rect());
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 50; ++x) {
                const double outside = outsidePen(a, b, width, x, y);
                const bool painted = image.pixel(x, y) == black;
                if (outside < -1e-6) {
                    ASSERT_TRUE(painted) << trial << ": " << x << "," << y;
                } else if (outside > 1e-6) {
                    ASSERT_FALSE(painted) << trial << ": " << x << "," << y;
                }
            }
    }
}

} // namespace
} // namespace kansu
