#include "lesson_fixture.h"

namespace kansu::testing {
namespace {

using enum ControlId;

const Rgb black = rgb(colours::black);
const Rgb yellow = rgb(paletteColour(14));

// How many rows of a picture at a whole scale have their first pixel of a colour (within area)
// off the grid of enlarged pixels: a picture drawn at the device's resolution has many, one
// enlarged from 1x none.
int offGridEdges(const Image& image, int scale, Rgb colour, Rect area) {
    int edges = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == colour) {
                edges += x % scale != 0;
                break;
            }
    return edges;
}

class Scaled : public Lesson {
protected:
    void SetUp() override {
        Lesson::SetUp();
        tick(Check6);
        tick(Check1);
        tick(Check2);
        stepTo(180);
    }
};

// The picture at 2x, shrunk back, agrees with the 1x picture pixel for pixel almost everywhere.
TEST_F(Scaled, TwiceTheScaleHasTheGeometryOfTheOriginal) {
    for (ControlId id : {kokuban, gamen}) {
        const Image one = form.box(id).image();
        const Image two = form.box(id).imageAt(2);
        ASSERT_EQ(two.width(), one.width() * 2);
        ASSERT_EQ(two.height(), one.height() * 2);
        int inked = 0, differing = 0;
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x) {
                const Rgb p = one.pixel(x, y);
                if (p == rgb(colours::white))
                    continue;
                ++inked;
                int same = 0;
                for (int dy = 0; dy < 2; ++dy)
                    for (int dx = 0; dx < 2; ++dx)
                        same += two.pixel(2 * x + dx, 2 * y + dy) == p;
                differing += same < 2;
            }
        EXPECT_GT(inked, 1000);
        EXPECT_LT(differing, inked / 10) << form.control(id).name;
    }
}

TEST_F(Scaled, FillStaysInsideTheTriangleAtEveryScale) {
    const PointF b(100, 370), q(form.vars().Qx, 370), p(form.vars().Px, form.vars().Py);
    auto inside = [&](PointF pt) {
        auto side = [](PointF u, PointF v, PointF w) {
            return (v.x - u.x) * (w.y - u.y) - (v.y - u.y) * (w.x - u.x);
        };
        const double d1 = side(b, q, pt), d2 = side(q, p, pt), d3 = side(p, b, pt);
        return !((d1 < 0 || d2 < 0 || d3 < 0) && (d1 > 0 || d2 > 0 || d3 > 0));
    };
    for (double scale : {1.25, 1.5, 2.0, 3.0}) {
        const Image image = form.box(kokuban).imageAt(scale);
        int shaded = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == yellow) {
                    ++shaded;
                    const PointF at((x + 0.5) / scale - 0.5, (y + 0.5) / scale - 0.5);
                    ASSERT_TRUE(inside(at)) << scale << ": " << x << "," << y;
                }
        EXPECT_GT(shaded, 10000 * scale * scale) << scale;
    }
}

TEST_F(Scaled, LinesAreDrawnAtTheDeviceResolutionNotEnlarged) {
    untick(Check1); // the hypotenuse alone, no grid lines inside the triangle
    const Image two = form.box(kokuban).imageAt(2);
    // Side BC (row 370) is a 6-device-pixel band.
    int thickness = 0;
    for (int y = 2 * 360; y < 2 * 380; ++y)
        thickness += two.pixel(2 * 310, y) == black;
    EXPECT_EQ(thickness, 6);
    // A 1x picture enlarged has every edge on an even device pixel; the hypotenuse from Q to P,
    // drawn at 2x, has edges on odd ones too.
    int oddEdges = 0;
    for (int y = 2 * 120; y < 2 * 300; ++y) {
        for (int x = 2 * 150; x < 2 * 340; ++x)
            if (two.pixel(x, y) == black && two.pixel(x - 1, y) == yellow) {
                oddEdges += x % 2;
                break;
            }
    }
    EXPECT_GT(oddEdges, 50);
}

// The graph's grid and captions are painted again at every step: a long lesson must neither
// pile them up nor fall back to an enlarged bitmap.
TEST_F(Lesson, LongLessonsStaySharpAtAnyScale) {
    tick(Check2);
    for (int run = 0; run < 8; ++run) {
        stepTo(320);
        stepTo(0);
    }
    stepTo(320);
    EXPECT_LT(form.box(gamen).history().size(), 1000u);
    const Image& four = form.box(gamen).imageAt(4);
    EXPECT_GT(
        offGridEdges(four, 4, rgb(paletteColour(12)), Rect{4 * 148, 4 * 47, 4 * 112, 4 * 218}),
        100);
}

TEST(PictureBoxHistory, FoldedHistoryStaysSharpAtTheScalesInUse) {
    PictureBox box(200, 100, colours::white, colours::black, {}, 3, PictureBox::Memory::Persistent,
                   50);
    box.imageAt(4); // a scale in use, like the screen's
    for (int i = 0; i < 400; ++i)
        box.line(static_cast<float>(i % 190), 0, static_cast<float>(i % 190 + 7), 99);
    EXPECT_LE(box.history().size(), 50u);
    EXPECT_GT(offGridEdges(box.imageAt(4), 4, rgb(colours::black), Rect{0, 0, 800, 400}), 100);
}

TEST_F(Scaled, TheScaledPictureFollowsLaterDrawing) {
    const Image before = form.box(kokuban).imageAt(2);
    stepTo(240);
    const Image after = form.box(kokuban).imageAt(2);
    EXPECT_NE(before, after);
    // Drawn afresh, it matches the incrementally kept picture.
    VirtualHost other;
    Form1 fresh(other);
    fresh.Form_Load();
    fresh.click(Check6);
    fresh.click(Check1);
    while (fresh.vars().michinori < 240)
        fresh.click(susumu);
    EXPECT_EQ(fresh.box(kokuban).imageAt(2), after);
}

TEST_F(Scaled, TransientBoxLosesAtEveryScale) {
    tick(Check3);
    stepTo(200);
    const Image shown = form.box(hyo).imageAt(2);
    EXPECT_GT(countColour(shown, rgb(paletteColour(12))), 0);
    untick(Check3);
    EXPECT_EQ(countColour(form.box(hyo).imageAt(2), rgb(paletteColour(12))), 0);
}

} // namespace
} // namespace kansu::testing
