#include "app/problems.h"
#include "lesson_fixture.h"
#include "surface/conversions.h"

namespace kansu::testing {
namespace {

using enum ControlId;

const Rgb green = rgb(paletteColour(2));
const Rgb lightBlue = rgb(paletteColour(9));
const Rgb lightRed = rgb(paletteColour(12));
const Rgb white = rgb(colours::white);

class Graph : public Lesson {
protected:
    const Image& image() const { return form.box(gamen).image(); }
};

// The graph on a box of its own, with its background drawn and the trace at the origin.
graph::Graph graphAlone() {
    graph::Graph g(PictureBox(317, 525, colours::white, colours::black, {9.75, true}, 1,
                              PictureBox::Memory::Persistent),
                   std::make_shared<const motion::Course>(lessonsOwnProblem()));
    g.drawAxes(graph::Graph::Background::Cleared);
    g.restartTrace();
    return g;
}

TEST_F(Graph, AxesGridAndCaptions) {
    // Grid lines every 28 pixels, axes one pixel outside the first ones.
    EXPECT_EQ(graph(100, 467), green);
    EXPECT_EQ(graph(100, 19), green);
    EXPECT_EQ(graph(63, 200), green);
    EXPECT_EQ(graph(287, 200), green);
    EXPECT_EQ(graph(100, 496), green);
    EXPECT_EQ(graph(34, 300), green);
    EXPECT_EQ(graph(296, 300), white);
    EXPECT_EQ(graph(100, 468), white);
    // Black numbers below the x axis and left of the y axis, and the unit captions.
    const Rgb black = rgb(colours::black);
    EXPECT_GT(countColour(image(), black, Rect{76, 500, 30, 20}), 0);  // ２
    EXPECT_GT(countColour(image(), black, Rect{244, 500, 30, 20}), 0); // ８
    EXPECT_GT(countColour(image(), black, Rect{280, 500, 37, 20}), 0); // (秒)
    EXPECT_GT(countColour(image(), black, Rect{0, 70, 34, 16}), 0);    // ３０
    EXPECT_GT(countColour(image(), black, Rect{0, 2, 34, 16}), 0);     // (cm²)
    EXPECT_EQ(countColour(image(), black, Rect{100, 100, 150, 300}), 0);
    EXPECT_EQ(form.box(gamen).drawWidth(), 1);
    EXPECT_EQ(form.box(gamen).foreColour(), colours::black);
}

TEST(GraphAlone, RepaintingTheBackgroundChangesNothing) {
    graph::Graph g = graphAlone();
    const Image before = g.picture().image();
    g.drawAxes(graph::Graph::Background::OverTrace);
    EXPECT_EQ(g.picture().image(), before);
}

TEST_F(Graph, SegmentEndsFollowTheWorkedValues) {
    tick(Check2);
    const struct {
        double m, prevX;
        int prevY;
    } rows[] = {{4, 37.8, 495},  {160, 147, 271},   {164, 149.8, 265},
                {320, 259, 47},  {316, 256.2, 53},  {164, 149.8, 265},
                {160, 147, 271}, {156, 144.2, 282}, {0, 35, 495}};
    for (const auto& r : rows) {
        stepTo(r.m);
        EXPECT_NEAR(form.vars().graphPrevX, r.prevX, 1e-9) << r.m;
        EXPECT_EQ(form.vars().graphPrevY, r.prevY) << r.m;
    }
}

TEST_F(Graph, LightBlueUpToFourSecondsLightRedAfter) {
    tick(Check2);
    stepTo(160);
    EXPECT_GT(countColour(image(), lightBlue), 200);
    EXPECT_EQ(countColour(image(), lightRed), 0);
    // Around the point of 3.95 s, off the grid lines.
    EXPECT_GT(countColour(image(), lightBlue, Rect{144, 275, 3, 3}), 0);
    stepTo(164);
    EXPECT_GT(countColour(image(), lightRed, Rect{147, 267, 3, 3}), 0); // 4.05 s
    stepTo(320);
    EXPECT_GT(countColour(image(), lightRed, Rect{256, 50, 3, 3}), 0); // 7.95 s
    EXPECT_EQ(countColour(image(), lightBlue, Rect{150, 0, 167, 264}), 0);
}

TEST_F(Graph, GridLinesCutThroughTheTrace) {
    tick(Check2);
    stepTo(320);
    // The point of 2 s lies on the grid column 91 and on the grid row 439.
    EXPECT_EQ(graph(91, 439), green);
}

TEST_F(Graph, BackwardStepErasesTheSegmentItLeaves) {
    tick(Check2);
    stepTo(100);
    const int before = countColour(image(), lightBlue);
    stepTo(96);
    const int after = countColour(image(), lightBlue);
    EXPECT_LT(after, before);
    // The segment from 2.4 to 2.5 s is gone; its middle is white again.
    EXPECT_EQ(graph(35 + 28 * 2.47, 495 - 14 * 2.47 * 2.47), white);
    // All the way back only specks remain where a chord was drawn from a rounded row.
    stepTo(0);
    EXPECT_LT(countColour(image(), lightBlue), before / 20);
    EXPECT_EQ(form.vars().graphPrevX, 35);
    EXPECT_EQ(form.vars().graphPrevY, 495);
}

TEST_F(Graph, StepsWhileHiddenAreNotPlotted) {
    stepTo(40);
    EXPECT_EQ(countColour(image(), lightBlue), 0);
    tick(Check2);
    stepTo(44);
    // The next segment starts from the last point plotted: the origin.
    EXPECT_NEAR(form.vars().graphPrevX, 35 + 28 * 1.1, 1e-9);
    EXPECT_EQ(graph(40, 493), lightBlue);
}

TEST_F(Graph, TickingWidensTheWindowUnlessMaximised) {
    tick(Check2);
    EXPECT_EQ(form.geometry().widthTwips, 15705);
    EXPECT_EQ(form.geometry().clientWidth, 1031);
    untick(Check2);
    EXPECT_EQ(form.geometry().widthTwips, 10300);
    form.setWindowState(2);
    tick(Check2);
    EXPECT_EQ(form.geometry().widthTwips, 10300);
    form.setWindowState(0);
    untick(Check2);
    tick(Check2);
    EXPECT_EQ(form.geometry().widthTwips, 15705);
}

TEST_F(Graph, HandTypedTimesOutsideTheGraphDrawNothing) {
    graph::Graph g = graphAlone();
    for (int tenths = 1; tenths <= 10; ++tenths)
        g.plotSegment(false, tenths / 10.0, graph::Pen::Draw);
    const Image before = g.picture().image();
    for (const std::string& typed : offGraphTexts()) {
        const double shown = conv::numericValue(typed).value;
        g.plotSegment(false, shown, graph::Pen::Erase);
        g.plotSegment(false, shown, graph::Pen::Draw);
        EXPECT_EQ(g.picture().image(), before) << typed.substr(0, 20);
        EXPECT_NEAR(g.lastX(), 63, 1e-9);
        EXPECT_EQ(g.lastY(), 481);
    }
    // Stepping back from a typed time off the graph erases nothing; the step itself goes on.
    tick(Check2);
    stepTo(40);
    form.typeText(Text1, std::string("-1"));
    click(modoru);
    EXPECT_EQ(text1(), " 0.9");
    EXPECT_EQ(form.vars().michinori, 36);
    EXPECT_NEAR(form.vars().graphPrevX, 63, 1e-9);
}

TEST(GraphAlone, NothingHappensAtTheStart) {
    graph::Graph g = graphAlone();
    const auto revision = g.picture().revision();
    g.plotSegment(true, 0.5, graph::Pen::Draw);
    g.plotSegment(true, 0.5, graph::Pen::Erase);
    EXPECT_EQ(g.picture().revision(), revision);
    EXPECT_EQ(g.lastX(), 35);
}

} // namespace
} // namespace kansu::testing
