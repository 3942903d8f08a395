#include "lesson_fixture.h"

namespace kansu::testing {
namespace {

using enum ControlId;

const Rgb yellow = rgb(paletteColour(14));
const Rgb black = rgb(colours::black);
const Rgb white = rgb(colours::white);

// Whether the point lies inside (or on) the triangle abc.
bool insideTriangle(PointF p, PointF a, PointF b, PointF c) {
    auto side = [](PointF u, PointF v, PointF w) {
        return (v.x - u.x) * (w.y - u.y) - (v.y - u.y) * (w.x - u.x);
    };
    const double d1 = side(a, b, p), d2 = side(b, c, p), d3 = side(c, a, p);
    const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
    const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
    return !(negative && positive);
}

class Figure : public Lesson {
protected:
    // Every yellow pixel of the board lies inside triangle BQP; returns how many there are.
    int shadedInsideTriangle() {
        const Image& image = form.box(kokuban).image();
        const PointF b(form.vars().Bx, form.vars().By), q(form.vars().Qx, form.vars().Qy),
            p(form.vars().Px, form.vars().Py);
        int shaded = 0;
        bool leaked = false;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == yellow) {
                    ++shaded;
                    if (!leaked && !insideTriangle(PointF{double(x), double(y)}, b, q, p)) {
                        leaked = true;
                        ADD_FAILURE() << "m " << form.vars().michinori << ": yellow outside the "
                                      << "triangle at " << x << "," << y;
                    }
                }
        return shaded;
    }
};

TEST_F(Figure, ShadingStaysInsideTheTriangleAtEverySize) {
    tick(Check6);
    for (double m = 8; m <= 320; m += 4) {
        stepTo(m);
        const int shaded = shadedInsideTriangle();
        ASSERT_FALSE(HasFailure());
        EXPECT_GT(shaded, 0) << m;
    }
}

TEST_F(Figure, ShadedAreaGrowsWithTheTriangle) {
    tick(Check6);
    const struct {
        double m;
        Point seed;
    } rows[] = {{8, {102, 368}},   {80, {102, 368}},  {160, {102, 368}},
                {164, {106, 368}}, {240, {258, 368}}, {320, {418, 368}}};
    int previous = 0;
    for (const auto& r : rows) {
        stepTo(r.m);
        EXPECT_EQ(board(r.seed.x, r.seed.y), yellow) << r.m;
        const int shaded = shadedInsideTriangle();
        // Roughly the triangle's area, less its 3-pixel outline.
        const double area =
            std::abs((form.vars().Qx - form.vars().Bx) * (form.vars().Py - form.vars().By)) / 2;
        if (r.m >= 80) {
            EXPECT_GT(shaded, area * 0.7) << r.m;
        }
        EXPECT_LT(shaded, area) << r.m;
        EXPECT_GE(shaded, previous) << r.m;
        previous = shaded;
    }
}

TEST_F(Figure, NothingShadedWhileTheTriangleIsTooSmall) {
    tick(Check6);
    EXPECT_EQ(countColour(form.box(kokuban).image(), yellow), 0);
    stepTo(4);
    EXPECT_EQ(countColour(form.box(kokuban).image(), yellow), 0);
    // The redraw shows the labels, and the step hides them again.
    EXPECT_FALSE(c(Label4_6).visible);
}

TEST_F(Figure, NoShadingWithoutTheAreaDisplay) {
    stepTo(200);
    EXPECT_EQ(countColour(form.box(kokuban).image(), yellow), 0);
    EXPECT_EQ(form.box(kokuban).fillStyle(), PictureBox::FillStyle::Transparent);
    // Ticking " y cm" shows at the next redraw, not at once.
    tick(Check6);
    EXPECT_EQ(countColour(form.box(kokuban).image(), yellow), 0);
    stepTo(204);
    EXPECT_GT(countColour(form.box(kokuban).image(), yellow), 0);
    EXPECT_EQ(form.box(kokuban).fillStyle(), PictureBox::FillStyle::Transparent);
}

TEST_F(Figure, SquareAndTriangleInAThreePixelPen) {
    stepTo(160);
    // Side BC at row 370: rows 369..371 black, 368 and 372 not (away from the triangle).
    for (int y : {369, 370, 371})
        EXPECT_EQ(board(300, y), black) << y;
    EXPECT_EQ(board(300, 368), white);
    EXPECT_EQ(board(300, 372), white);
    // Side CD at column 420.
    EXPECT_EQ(board(419, 200), black);
    EXPECT_EQ(board(421, 200), black);
    EXPECT_EQ(board(422, 200), white);
    // The hypotenuse from Q (260, 370) to A (100, 50) passes (180, 210).
    EXPECT_EQ(board(180, 210), black);
}

TEST_F(Figure, GridLiesOverTheShading) {
    tick(Check6);
    stepTo(160);
    tick(Check1);
    EXPECT_EQ(board(120, 330), black); // a grid row through the yellow
    EXPECT_EQ(board(120, 331), yellow);
    EXPECT_EQ(board(140, 300), black); // a grid column
    // Each grid line ends one pixel inside the square's sides.
    EXPECT_EQ(board(250, 90), black);
    EXPECT_EQ(board(101, 90), black);
    // After the grid the figure is again drawn three pixels wide.
    EXPECT_EQ(form.box(kokuban).drawWidth(), 3);
    stepTo(164);
    EXPECT_EQ(board(121, 330), black);
}

TEST_F(Figure, ClearingTheGridRedrawsTheFigure) {
    tick(Check6);
    stepTo(120);
    const Image plain = form.box(kokuban).image();
    tick(Check1);
    EXPECT_NE(form.box(kokuban).image(), plain);
    untick(Check1);
    EXPECT_EQ(form.box(kokuban).image(), plain);
}

TEST_F(Figure, GridOnTheEmptySquareAtTheStart) {
    tick(Check1);
    for (int i = 1; i <= 7; ++i) {
        EXPECT_EQ(board(200, 50 + 40 * i), black) << i;
        EXPECT_EQ(board(100 + 40 * i, 200), black) << i;
    }
    EXPECT_EQ(board(200, 71), white);
}

TEST_F(Figure, ClearingTheGridEarlyShowsTheAreaLabelsWhereverTheyWere) {
    tick(Check6);
    stepTo(20);
    tick(Check1);
    EXPECT_FALSE(c(Label4_6).visible);
    untick(Check1);
    EXPECT_TRUE(c(Label4_6).visible);
    EXPECT_TRUE(c(Label4_7).visible);
}

TEST_F(Figure, RedrawIsIdempotent) {
    tick(Check6);
    stepTo(244);
    const Image once = form.box(kokuban).image();
    form.Check1_Click(); // with the grid off: the figure redrawn
    EXPECT_EQ(form.box(kokuban).image(), once);
}

} // namespace
} // namespace kansu::testing
