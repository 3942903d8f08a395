#include "lesson_fixture.h"

namespace kansu::testing {
namespace {

using enum ControlId;

struct Pos {
    float top, left;
};

Pos pos(const Control& c) {
    return {c.top, c.left};
}

#define EXPECT_POS(control, t, l)                                                                  \
    do {                                                                                           \
        EXPECT_FLOAT_EQ(pos(control).top, static_cast<float>(t)) << (control).name;                \
        EXPECT_FLOAT_EQ(pos(control).left, static_cast<float>(l)) << (control).name;               \
    } while (0)

TEST_F(Lesson, StartUpGivesTheInitialScreen) {
    const LessonVars v = form.vars();
    EXPECT_EQ(v.michinori, 0);
    EXPECT_EQ(v.Px, 100);
    EXPECT_EQ(v.Py, 370);
    EXPECT_EQ(v.Qx, 100);
    EXPECT_EQ(v.Qy, 370);
    EXPECT_EQ(v.Dy, 50);
    EXPECT_EQ(v.graphPrevX, 35);
    EXPECT_EQ(v.graphPrevY, 495);
    EXPECT_EQ(v.stopRequested, 0);
    EXPECT_EQ(text1(), " 0.0");
    EXPECT_EQ(form.geometry().widthTwips, 10300);
    EXPECT_EQ(form.geometry().heightTwips, 8950);
    EXPECT_EQ(form.geometry().clientWidth, 671);
    EXPECT_EQ(form.geometry().clientHeight, 558);

    const struct {
        ControlId id;
        float left, top;
    } places[] = {{Label4(0), 75, 15},  {Label4(1), 75, 370},  {Label4(2), 425, 370},
                  {Label4(3), 425, 15}, {Label4(4), 220, 420}, {Label4(5), 20, 200},
                  {Label4(8), 75, 332}, {Label4(9), 104, 370}, {Shape1, 96, 366},
                  {Shape2, 96, 366}};
    for (const auto& p : places)
        EXPECT_POS(c(p.id), p.top, p.left);
    for (int i : {0, 1, 3}) {
        EXPECT_EQ(lineOf(c(Line5(i))), (Segment{64, 800, 83, 800}));
    }
    EXPECT_EQ(lineOf(c(Line5_2)), (Segment{25, 800, 45, 800}));
    EXPECT_FALSE(c(Label4_6).visible);
    EXPECT_FALSE(c(Label4_7).visible);
    EXPECT_FALSE(c(tomeru).enabled);
    for (ControlId id : {susumu, modoru, jidou, Command1, end})
        EXPECT_TRUE(c(id).enabled);
    for (ControlId id : {Check1, Check2, Check3, Check4, Check5, Check6})
        EXPECT_EQ(c(id).value, 0);
}

TEST_F(Lesson, PointsFollowTheCounter) {
    const struct {
        double m, Px, Py, Qx;
        const char* time;
    } cases[] = {{4, 100, 362, 104, " 0.1"},  {160, 100, 50, 260, " 4.0"},
                 {164, 108, 50, 264, " 4.1"}, {320, 420, 50, 420, " 8.0"},
                 {316, 412, 50, 416, " 7.9"}, {0, 100, 370, 100, " 0.0"}};
    for (const auto& e : cases) {
        stepTo(e.m);
        EXPECT_EQ(form.vars().Px, e.Px) << e.m;
        EXPECT_EQ(form.vars().Py, e.Py) << e.m;
        EXPECT_EQ(form.vars().Qx, e.Qx) << e.m;
        EXPECT_EQ(form.vars().Qy, 370) << e.m;
        EXPECT_EQ(text1(), std::string(e.time)) << e.m;
    }
}

TEST_F(Lesson, LabelsAndDotsMoveByTheStepRules) {
    tick(Check6);
    const struct {
        double d;
        Pos q, qDot, p, pDot;
        bool areaShown;
        Pos area, square;
    } rows[] = {
        {4, {370, 107.6f}, {366, 100}, {327.8f, 75}, {358, 96}, false, {}, {}},
        {40, {370, 140}, {366, 136}, {263, 75}, {286, 96}, true, {340, 110}, {340, 157}},
        {160, {370, 248}, {366, 256}, {47, 75}, {46, 96}, true, {220, 110}, {220, 157}},
        {164,
         {370, 251.6f},
         {366, 260},
         {15, 111.2f},
         {46, 104},
         true,
         {220, 117.6f},
         {220, 164.6f}},
        {200, {370, 284}, {366, 296}, {15, 176}, {46, 176}, true, {220, 186}, {220, 233}},
        {320, {370, 392}, {366, 416}, {15, 392}, {46, 416}, true, {220, 414}, {220, 461}},
    };
    for (const auto& r : rows) {
        stepTo(r.d);
        SCOPED_TRACE(r.d);
        EXPECT_POS(c(Label4_9), r.q.top, r.q.left);
        EXPECT_POS(c(Shape2), r.qDot.top, r.qDot.left);
        EXPECT_POS(c(Label4_8), r.p.top, r.p.left);
        EXPECT_POS(c(Shape1), r.pDot.top, r.pDot.left);
        EXPECT_EQ(c(Label4_6).visible, r.areaShown);
        EXPECT_EQ(c(Label4_7).visible, r.areaShown);
        if (r.areaShown) {
            EXPECT_POS(c(Label4_6), r.area.top, r.area.left);
            EXPECT_POS(c(Label4_7), r.square.top, r.square.left);
        }
    }
}

TEST_F(Lesson, AreaLabelHiddenUntilTheTriangleHasRoomForIt) {
    tick(Check6);
    for (double d = 4; d <= 28; d += 4) {
        stepTo(d);
        EXPECT_FALSE(c(Label4_6).visible) << d;
    }
    stepTo(32);
    EXPECT_TRUE(c(Label4_6).visible);
    EXPECT_FLOAT_EQ(c(Label4_6).top, 348);
}

TEST_F(Lesson, AreaLabelLeftAloneWhenTheAreaIsOff) {
    stepTo(80);
    EXPECT_FALSE(c(Label4_6).visible);
    EXPECT_FLOAT_EQ(c(Label4_6).left, 336); // still its design place
}

TEST_F(Lesson, ForwardStepAtTheEndChangesNothing) {
    for (ControlId id : {Check1, Check2, Check3, Check4, Check5, Check6})
        tick(id);
    stepTo(320);
    const ControlSet before = form.controls();
    const Image board = form.box(kokuban).image(), g = form.box(gamen).image(),
                table = form.box(hyo).image();
    const auto revisions = form.box(kokuban).revision() + form.box(gamen).revision();
    click(susumu);
    EXPECT_EQ(form.vars().michinori, 320);
    EXPECT_EQ(form.box(kokuban).revision() + form.box(gamen).revision(), revisions);
    EXPECT_EQ(form.box(kokuban).image(), board);
    EXPECT_EQ(form.box(gamen).image(), g);
    EXPECT_EQ(form.box(hyo).image(), table);
    for (std::size_t i = 0; i < controlCount; ++i) {
        EXPECT_EQ(form.controls()[i].top, before[i].top);
        EXPECT_EQ(form.controls()[i].text, before[i].text);
    }
}

TEST_F(Lesson, BackwardStepAtTheStartChangesNothing) {
    for (ControlId id : {Check1, Check2, Check3, Check4, Check5, Check6})
        tick(id);
    const Image board = form.box(kokuban).image(), table = form.box(hyo).image(),
                g = form.box(gamen).image();
    ASSERT_GT(countColour(table, rgb(paletteColour(9))), 0); // the entry for 0
    click(modoru);
    EXPECT_EQ(form.vars().michinori, 0);
    EXPECT_EQ(form.box(kokuban).image(), board);
    EXPECT_EQ(form.box(hyo).image(), table);
    EXPECT_EQ(form.box(gamen).image(), g);
    EXPECT_EQ(text1(), " 0.0");
}

TEST_F(Lesson, BackToTheStartUsesTheStepRuleForP) {
    stepTo(4);
    stepTo(0);
    EXPECT_FLOAT_EQ(c(Label4_8).top, 335);
    EXPECT_EQ(text1(), " 0.0");
    EXPECT_EQ(form.vars().Px, 100);
    EXPECT_EQ(form.vars().Py, 370);
}

TEST_F(Lesson, CornerJumpOfTheLabelP) {
    stepTo(160);
    EXPECT_POS(c(Label4_8), 47, 75);
    stepTo(164);
    EXPECT_POS(c(Label4_8), 15, 111.2);
    stepTo(160);
    EXPECT_POS(c(Label4_8), 47, 75);
}

TEST_F(Lesson, PathOverlayFollowsTheStepsWhileTicked) {
    tick(Check4);
    const struct {
        double m;
        Segment q, pOnBA, pOnAD;
    } rows[] = {
        {80, {100, 370, 180, 370}, {100, 370, 100, 210}, {100, 800, 100, 800}},
        {160, {100, 370, 260, 370}, {100, 370, 100, 50}, {100, 800, 100, 800}},
        {164, {100, 370, 264, 370}, {100, 370, 100, 50}, {100, 50, 108, 50}},
        {240, {100, 370, 340, 370}, {100, 370, 100, 50}, {100, 50, 260, 50}},
        {320, {100, 370, 420, 370}, {100, 370, 100, 50}, {100, 50, 420, 50}},
    };
    auto lineOf = [this](ControlId id) {
        return testing::lineOf(c(id));
    };
    for (const auto& r : rows) {
        stepTo(r.m);
        EXPECT_EQ(lineOf(Line5_0), r.q) << r.m;
        EXPECT_EQ(lineOf(Line5_1), r.pOnBA) << r.m;
        EXPECT_EQ(lineOf(Line5_3), r.pOnAD) << r.m;
    }
    // Clearing the tick parks the three path lines and touches nothing else.
    tick(Check5);
    const Segment hint = lineOf(Line5_2);
    const Image board = form.box(kokuban).image();
    untick(Check4);
    for (ControlId id : {Line5_0, Line5_1, Line5_3})
        EXPECT_EQ(lineOf(id), (Segment{64, 800, 83, 800}));
    EXPECT_EQ(lineOf(Line5_2), hint);
    EXPECT_EQ(form.box(kokuban).image(), board);
    EXPECT_EQ(form.vars().michinori, 320);
    // Unticked, the steps leave them parked.
    stepTo(200);
    EXPECT_EQ(lineOf(Line5_0), (Segment{64, 800, 83, 800}));
}

TEST_F(Lesson, TickingThePathAtTheStartRefreshesTheSameMoment) {
    tick(Check4);
    EXPECT_EQ(form.vars().michinori, 0);
    EXPECT_EQ(text1(), " 0.0");
    EXPECT_EQ(lineOf(c(Line5_0)), (Segment{100, 370, 100, 370}));
    EXPECT_EQ(c(Line5_3).y1, 800);
}

TEST_F(Lesson, TickingThePathAtTheEndKeepsTheEnd) {
    stepTo(320);
    tick(Check4);
    EXPECT_EQ(form.vars().michinori, 320);
    EXPECT_EQ(lineOf(c(Line5_3)), (Segment{100, 50, 420, 50}));
}

TEST_F(Lesson, HintStandsOnTheHeightOfTheTriangle) {
    tick(Check5);
    EXPECT_EQ(lineOf(c(Line5_2)), (Segment{96, 370, 96, 370}));
    const struct {
        double m;
        Segment hint;
    } rows[] = {{80, {96, 370, 96, 210}},   {160, {96, 370, 96, 50}},   {164, {108, 370, 108, 50}},
                {240, {260, 370, 260, 50}}, {316, {412, 370, 412, 50}}, {320, {424, 370, 424, 50}}};
    for (const auto& r : rows) {
        stepTo(r.m);
        EXPECT_EQ(lineOf(c(Line5_2)), r.hint) << r.m;
    }
    untick(Check5);
    EXPECT_EQ(lineOf(c(Line5_2)), (Segment{25, 800, 45, 800}));
    stepTo(100);
    EXPECT_EQ(c(Line5_2).y1, 800);
}

TEST_F(Lesson, InitialScreenAfterTheEndWithEverythingTicked) {
    for (ControlId id : {Check1, Check2, Check3, Check4, Check5, Check6})
        tick(id);
    stepTo(320);
    click(Command1);

    VirtualHost freshHost;
    Form1 fresh(freshHost);
    fresh.Form_Load();
    for (ControlId id : {Check2, Check3})
        fresh.click(id);
    fresh.click(Check1);

    EXPECT_EQ(text1(), " 0.0");
    EXPECT_EQ(form.vars().michinori, 0);
    EXPECT_FALSE(c(Label4_6).visible);
    EXPECT_EQ(c(Line5_0).y1, 800);
    EXPECT_EQ(c(Line5_2).y1, 800);
    EXPECT_POS(c(Label4_8), 332, 75);
    // The board: the square with the grid; the graph: empty axes; the table: the entry for 0.
    EXPECT_EQ(form.box(kokuban).image(), fresh.box(kokuban).image());
    EXPECT_EQ(form.box(gamen).image(), fresh.box(gamen).image());
    EXPECT_EQ(form.box(hyo).image(), fresh.box(hyo).image());
    // Check boxes and window size are kept.
    for (ControlId id : {Check1, Check2, Check3, Check4, Check5, Check6})
        EXPECT_EQ(c(id).value, 1);
    EXPECT_EQ(form.geometry().clientWidth, 1031);
    EXPECT_EQ(form.geometry().clientHeight, 682);
}

TEST_F(Lesson, TimeTextCanBeTypedAndIsRewrittenByTheNextStep) {
    stepTo(40);
    form.typeText(Text1, std::string(" 3.0"));
    click(susumu);
    EXPECT_EQ(text1(), " 1.1");
}

// The graph and the table take the time from what the time box shows: a step back after a time
// typed by hand erases for the typed time, and the next forward step draws for its own time.
TEST_F(Lesson, GraphAndTableUseTheTimeTheBoxShows) {
    const struct {
        const char* typed;
        double graphXAfterBack;       // the last plotted column after the step back
        std::vector<int> columnsLeft; // the table's columns after it
    } rows[] = {
        {" 3.0", 35 + 28 * 2.9, {0, 1, 2, 4}}, // the segment ending at 3.0 s is taken back
        {"3", 35 + 28 * 2.9, {0, 1, 2, 4}},    {" 4.1", 35 + 28 * 4.0, {0, 1, 2, 3, 4}},
        {"abc", 35 + 28 * 4.5, {1, 2, 3, 4}}, // reads as 0: off the graph, column 0 of the table
        {"9", 35 + 28 * 4.5, {0, 1, 2, 3, 4}},
    };
    tick(Check2);
    tick(Check3);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        click(Command1);
        stepTo(180);
        ASSERT_EQ(form.tableColumns(), (std::vector<int>{0, 1, 2, 3, 4}));
        form.typeText(Text1, std::string(row.typed));
        click(modoru);
        EXPECT_EQ(text1(), " 4.4");
        EXPECT_NEAR(form.vars().graphPrevX, row.graphXAfterBack, 1e-9);
        EXPECT_EQ(form.tableColumns(), row.columnsLeft);
        // The next step draws for the time it shows, from wherever the last point was left.
        click(susumu);
        EXPECT_NEAR(form.vars().graphPrevX, 35 + 28 * 4.5, 1e-9);
    }
}

} // namespace
} // namespace kansu::testing
