// The problems a lesson is built from: what follows from each built-in one, a teacher's file read
// or refused, and a lesson shown with another problem than its own.
#include "app/description.h"
#include "app/moment_link.h"
#include "app/problems.h"
#include "app/state_json.h"
#include "app/wording.h"
#include "app/worksheet.h"
#include "graph/graph.h"
#include "graph/table.h"
#include "lesson_fixture.h"

#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace kansu::testing {
namespace {

using motion::Course;

const motion::Problem& builtIn(const char* name) {
    const motion::Problem* p = builtInNamed(name);
    EXPECT_NE(p, nullptr) << name;
    return *p;
}

// What follows from each built-in problem, as a teacher would work it out: when the motion ends,
// the rule for y piece by piece, whether a height can be shown, and the scales of the views.
TEST(BuiltInProblems, FollowFromTheirFiguresAndMotions) {
    const struct {
        const char* name;
        double end;
        int pixelsPerCm;
        std::vector<std::string> rules; // "from..to: rule"
        bool hint;
        graph::Scale scale;
        int tableStep, tableColumns;
    } rows[] = {
        {"square", 8, 40, {"0..4: x²", "4..8: 4x"}, true, {1, 2, 9, 17}, 1, 9},
        {"rectangle", 6, 53, {"0..2: x²", "2..6: 2x"}, true, {1, 1, 7, 13}, 1, 7},
        {"right-triangle", 6, 40, {"0..4: x²", "4..6: 4x"}, true, {1, 2, 7, 13}, 1, 7},
        {"corner", 8, 40, {"0..8: 1/2x²"}, true, {1, 2, 9, 17}, 1, 9},
        {"trapezoid", 10, 40, {"0..6: 4x", "6..10: 24"}, true, {2, 2, 6, 13}, 1, 11},
        {"rectangle-round",
         16,
         53,
         {"0..6: 2x", "6..10: 12", "10..16: -2x + 32"},
         true,
         {2, 1, 9, 13},
         2,
         9},
        {"square-side",
         18,
         53,
         {"0..6: 3x", "6..12: 18", "12..18: -3x + 54"},
         true,
         {5, 2, 4, 10},
         2,
         10},
        {"quadrilateral", 6, 40, {"0..6: 4x + 24"}, false, {1, 5, 7, 10}, 1, 7},
    };
    ASSERT_EQ(builtInProblems().size(), std::size(rows));
    EXPECT_EQ(builtInProblems().front().name, "square");
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        const Course course(builtIn(r.name));
        EXPECT_DOUBLE_EQ(course.endSeconds(), r.end);
        EXPECT_EQ(course.pixelsPerCm(), r.pixelsPerCm);
        std::vector<std::string> rules;
        for (const motion::Piece& p : course.pieces())
            rules.push_back(classNumber(p.from) + ".." + classNumber(p.to) + ": " + ruleText(p));
        EXPECT_EQ(rules, r.rules);
        EXPECT_EQ(course.height().has_value(), r.hint);
        const graph::Scale scale = graph::Scale::of(course);
        EXPECT_EQ(std::tie(scale.xStep, scale.yStep, scale.xCells, scale.yCells),
                  std::tie(r.scale.xStep, r.scale.yStep, r.scale.xCells, r.scale.yCells));
        const graph::Columns columns = graph::Columns::of(course, 645);
        EXPECT_EQ(columns.step, r.tableStep);
        EXPECT_EQ(columns.count, r.tableColumns);
        // The figure fits the board's square.
        EXPECT_GE(course.left(), motion::figureLeft);
        EXPECT_LE(course.right(), motion::figureLeft + motion::figureSide);
        EXPECT_GE(course.top(), motion::figureTop);
        EXPECT_LE(course.bottom(), motion::figureTop + motion::figureSide);
    }
}

// The rules are right: at every tenth of a second, y by its piece's rule is the area of the
// polygon the points make there, worked out afresh from where they stand.
TEST(BuiltInProblems, TheirRulesAreTheAreasThePointsMake) {
    for (const motion::Problem& p : builtInProblems()) {
        SCOPED_TRACE(p.name);
        const Course course(p);
        for (int tenths = 0; tenths <= std::lround(course.endSeconds() * 10); ++tenths) {
            const double x = tenths / 10.0;
            EXPECT_NEAR(course.areaAt(x), std::abs(course.polygonAreaAt(x)), 1e-9) << x;
        }
        // A point that has arrived stays where its route ends.
        for (std::size_t i = 0; i < course.points().size(); ++i) {
            const PointF end = course.pointAt(i, course.endSeconds() + 5);
            EXPECT_EQ(end, course.points()[i].legs.back().toCm);
        }
    }
}

TEST(BuiltInProblems, ReadBackFromTheirOwnFiles) {
    for (const motion::Problem& p : builtInProblems()) {
        // The build made each from its file: the reader makes the same of it.
        std::ifstream in(std::string(KANSU_PROBLEMS) + "/" + p.name + ".json");
        const std::string file{std::istreambuf_iterator<char>(in), {}};
        const ReadProblem fromFile = readProblem(file);
        ASSERT_TRUE(fromFile.problem) << p.name << ": " << fromFile.error;
        EXPECT_EQ(*fromFile.problem, p);
        const ReadProblem again = readProblem(problemJson(p));
        ASSERT_TRUE(again.problem) << p.name << ": " << again.error;
        EXPECT_EQ(*again.problem, p);
    }
}

// A file that is no problem says which field is wrong and why; it never fails otherwise.
TEST(ProblemFiles, AreReadOrRefusedWithTheFieldAndTheReason) {
    const std::string figure =
        R"("vertices": {"A": [0, 4], "B": [0, 0], "C": [6, 0], "D": [6, 4]}, )"
        R"("shape": ["A", "B", "C", "D"], )";
    const std::string point = R"("points": [{"name": "P", "from": "B", "route": ["C"], )"
                              R"("speed": 1}], "area": ["A", "B", "P"])";
    auto file = [&](const std::string& middle) {
        return "{" + middle + "}";
    };
    const struct {
        std::string text;
        const char* error; // the start of the reason; empty: read
    } rows[] = {
        {file(figure + point), ""},
        {file(figure + point + R"(, "end": 4.5)"), ""},
        {"", "not JSON"},
        {"{\"vertices\": ", "not JSON"},
        {"[1, 2]", "the problem must be a JSON object"},
        {file(point), "vertices: missing"},
        {file(R"("vertices": {"a": [0, 0]}, )" + point), "vertices.a: a vertex is named"},
        {file(R"("vertices": {"A": [0]}, )" + point), "vertices.A: must be [x, y]"},
        {file(R"("vertices": {"A": ["0", 1]}, )" + point), "vertices.A[0]: must be a number"},
        {file(
             R"("vertices": {"A": [0, 0], "B": [31, 0], "C": [0, 1]}, "shape": ["A", "B", "C"], )" +
             point),
         "vertices: the figure is larger than 30 cm"},
        {file(R"("vertices": {"A":[0,0],"B":[1,0],"C":[2,0],"D":[3,0],"E":[4,0],"F":[5,0],)"
              R"("G":[6,0],"H":[7,0],"I":[8,0],"J":[9,0],"K":[10,0],"L":[11,0],"M":[12,0]}, )" +
              point),
         "vertices: more than 12 vertices"},
        {file(R"("vertices": {"A": [0, 4], "B": [0, 0]}, "shape": ["A", "B"], )" + point),
         "shape: fewer than three corners"},
        {file(R"("vertices": {"A": [0, 4], "B": [0, 0], "C": [6, 0]}, "shape": ["A", "B", "E"], )" +
              point),
         "shape[2]: unknown vertex 'E'"},
        {file(R"("vertices": {"A": [0, 4], "B": [0, 0], "C": [6, 0], "D": [6, 4]}, )"
              R"("shape": ["A", "C", "B", "D"], )" +
              point),
         "shape: its sides AC and BD cross"},
        {file(R"("vertices": {"A": [0, 0], "B": [1, 1], "C": [2, 2]}, "shape": ["A", "B", "C"], )" +
              point),
         "shape: its sides AB and CA overlap"},
        {file(figure + R"("points": [], "area": ["A", "B", "C"])"),
         "points: must be a list of at least one"},
        {file(figure + R"("points": [{"name": "P", "from": "X", "route": ["C"], "speed": 1}], )"
                       R"("area": ["A", "B", "P"])"),
         "points[0].from: unknown vertex"},
        {file(figure + R"("points": [{"name": "P", "from": "B", "route": ["D"], "speed": 1}], )"
                       R"("area": ["A", "B", "P"])"),
         "points[0].route[0]: BD is not a side of the shape"},
        {file(figure + R"("points": [{"name": "P", "from": "B", "route": ["C"], "speed": 0}], )"
                       R"("area": ["A", "B", "P"])"),
         "points[0].speed: must be a number greater than 0"},
        {file(figure + R"("points": [{"name": "P", "from": "B", "route": ["C"], "speed": -2}], )"
                       R"("area": ["A", "B", "P"])"),
         "points[0].speed: must be a number greater than 0"},
        {file(figure + R"("points": [{"name": "P", "from": "B", "route": ["C"], "speed": "1"}], )"
                       R"("area": ["A", "B", "P"])"),
         "points[0].speed: must be a number"},
        {file(figure + R"("points": [{"name": "A", "from": "B", "route": ["C"], "speed": 1}], )"
                       R"("area": ["A", "B", "C"])"),
         "points[0].name: 'A' already names"},
        {file(figure + R"("points": [{"name": "P", "from": "B", "route": ["C"], "speed": 1}], )"
                       R"("area": ["A", "P"])"),
         "area: fewer than three corners"},
        {file(figure + R"("points": [{"name": "P", "from": "B", "route": ["C"], "speed": 1}], )"
                       R"("area": ["A", "P", "Z"])"),
         "area[2]: unknown vertex or point 'Z'"},
        {file(figure + point + R"(, "end": 61)"), "end: past 60 s"},
        {file(figure + point + R"(, "end": 0)"), "end: must be a number of seconds greater"},
        {file(figure + point + R"(, "end": 2.25)"), "end: must be a whole number of tenths"},
        {file(figure + R"("points": [{"name": "P", "from": "B", "route": ["C"], "speed": 0.05}], )"
                       R"("area": ["A", "B", "P"])"),
         "points: the last point arrives after 60 s"},
        {file(R"("name": "My Problem", )" + figure + point), "name: only small letters"},
        {file(R"("title": 5, )" + figure + point), "title: must be a text"},
        {file(R"("vertices": {"A": [1e400, 0]}, )" + point), "not JSON"},
        {std::string(largestProblemFile + 1, ' '), "the file is larger than 64 KiB"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.text.substr(0, 200));
        const ReadProblem read = readProblem(r.text);
        if (*r.error == '\0') {
            EXPECT_TRUE(read.problem) << read.error;
        } else {
            EXPECT_FALSE(read.problem);
            EXPECT_TRUE(read.error.starts_with(r.error)) << read.error;
        }
    }
    // A file that names itself nothing is named after its file.
    EXPECT_EQ(readProblem(file(figure + point), "Room 3.b").problem->name, "room3b");
}

// The words a worksheet gives each problem, from its figure and motion: the lesson's own square
// as its worksheet has always said it.
TEST(BuiltInProblems, AreWordedAsATextbookWordsThem) {
    EXPECT_EQ(
        problemInWords(Course(builtIn("square"))),
        "1辺が 8 cm の正方形ABCDがあります。点Pは点Bを出発して毎秒 2 cm の速さで辺BA、AD上を"
        "点Dまで動き、点Qは点Pと同時に点Bを出発して毎秒 1 cm の速さで辺BC上を点Cまで動きます。"
        "点P、Qが点Bを出発してから x 秒後の△BPQの面積を y cm² とします。");
    EXPECT_EQ(problemInWords(Course(builtIn("rectangle-round"))),
              "AB = 4 cm、BC = 6 cm の長方形ABCDがあります。点Pは点Bを出発して毎秒 1 cm の速さで"
              "辺BC、CD、DA上を点Aまで動きます。点Pが点Bを出発してから x 秒後の△ABPの面積を y cm² "
              "とします。");
    EXPECT_TRUE(problemInWords(Course(builtIn("right-triangle")))
                    .starts_with("∠B = 90°、AB = 6 cm、BC = 8 cm の直角三角形ABCがあります。"));
    EXPECT_TRUE(problemInWords(Course(builtIn("quadrilateral")))
                    .ends_with("x 秒後の四角形APCDの面積を y cm² とします。"));
}

using WithProblem = Lesson;

// Another problem shows from its initial screen with the boxes, the speed and the window kept;
// the state tells the problem and where its points stand, in centimetres.
TEST_F(WithProblem, ShowsFromItsInitialScreenAndTellsItsState) {
    tick(ControlId::Check2);
    tick(ControlId::Check6);
    form.typeText(role::speedBox, "50");
    stepTo(12);
    ASSERT_TRUE(form.chooseProblem(builtIn("right-triangle")));
    EXPECT_EQ(text1(), " 0.0");
    EXPECT_EQ(c(ControlId::Check2).value, 1);
    EXPECT_EQ(c(role::speedBox).text, "50");
    EXPECT_EQ(form.geometry().clientWidth, 1031);
    for (int i = 0; i < 50; ++i)
        click(ControlId::susumu);
    EXPECT_EQ(text1(), " 5.0");
    const std::string state = stateJson(form, {});
    EXPECT_NE(state.find("\"problem\": {\"name\": \"right-triangle\", \"x\": 5, \"y\": 20, "
                         "\"points\": {\"P\": [0, 5], \"Q\": [8, 0]}}"),
              std::string::npos)
        << state.substr(state.size() - 200);
    EXPECT_EQ(form.describeFigure(), "5秒後　点Pは辺AB上、点Qは点C、面積 y = 20 cm²");
    // Its end is its own: 6 s.
    for (int i = 0; i < 30; ++i)
        click(ControlId::susumu);
    EXPECT_EQ(text1(), " 6.0");
    EXPECT_TRUE(form.motion().atEnd());
    // The board's own controls are the design square's: hidden for another problem, back for it.
    EXPECT_FALSE(c(Label4(8)).visible);
    ASSERT_TRUE(form.chooseProblem(lessonsOwnProblem()));
    EXPECT_TRUE(c(Label4(8)).visible);
    EXPECT_EQ(c(Label4(8)).top, 332);
}

// Where the area is no triangle over a base on one line there is no height to show: ヒント is
// disabled and says why, and comes back with a problem that has one.
TEST_F(WithProblem, OffersTheHintOnlyWhereThereIsAHeight) {
    tick(ControlId::Check5);
    ASSERT_TRUE(form.chooseProblem(builtIn("quadrilateral")));
    EXPECT_FALSE(c(ControlId::Check5).enabled);
    EXPECT_EQ(c(ControlId::Check5).value, 0);
    EXPECT_FALSE(c(ControlId::Check5).tip.empty());
    click(ControlId::Check5);
    EXPECT_EQ(c(ControlId::Check5).value, 0);
    ASSERT_TRUE(form.chooseProblem(builtIn("trapezoid")));
    EXPECT_TRUE(c(ControlId::Check5).enabled);
    EXPECT_TRUE(c(ControlId::Check5).tip.empty());
}

// No other problem while automatic play runs or once the lesson has ended.
TEST_F(WithProblem, IsChosenOnlyWhile初期画面CouldBePressed) {
    bool refused = false;
    host.deliverInWait(2, [&] { refused = !form.chooseProblem(builtIn("corner")); });
    click(role::playButton);
    EXPECT_TRUE(refused);
    EXPECT_EQ(form.course().problem().name, "square");
    click(ControlId::end);
    EXPECT_FALSE(form.chooseProblem(builtIn("corner")));
}

// Every built-in problem plays to its end with every view on, its graph and table traced in its
// pieces' colours, its worksheet inside the page with a rule for every piece.
TEST_F(WithProblem, EveryBuiltInPlaysToItsEndAndPrints) {
    for (const ControlId box : {ControlId::Check1, ControlId::Check2, ControlId::Check3,
                                ControlId::Check4, ControlId::Check6})
        tick(box);
    for (const motion::Problem& p : builtInProblems()) {
        SCOPED_TRACE(p.name);
        ASSERT_TRUE(form.chooseProblem(p));
        if (c(ControlId::Check5).enabled)
            tick(ControlId::Check5);
        click(role::playButton);
        EXPECT_TRUE(form.motion().atEnd());
        const Course& course = form.course();
        // The last segment in the last piece's colour, ending at the last point.
        EXPECT_EQ(form.vars().graphPrevX,
                  35 + 28 / graph::Scale::of(course).xStep * course.endSeconds());
        EXPECT_GT(countColour(form.box(ControlId::gamen).image(),
                              rgb(paletteColour(course.pieces().back().colour))),
                  0);
        EXPECT_EQ(form.tableValues().back().first,
                  form.tableLayout().step * (form.tableLayout().count - 1));
        const Worksheet sheet = worksheetOf(form, SheetKind::Answers);
        std::size_t rules = 0;
        for (const Worksheet::Text& t : sheet.texts) {
            EXPECT_LE(t.baseline, Worksheet::lowest) << t.text;
            rules += t.text.find(" のとき　y = ") != std::string::npos;
        }
        EXPECT_EQ(rules, course.pieces().size());
    }
}

// A link names the problem: a built-in one by name, a teacher's own written out, and opens it
// again at the same moment; a time past its end, or a problem tampered with, opens nothing.
TEST(ProblemLinks, NameTheProblemAndOpenItAgain) {
    const ReadProblem own = readProblem(
        R"({"name": "mine", "title": "ひし形の問題!", "vertices": {"A": [0, 4.5], "B": [-3, 0], )"
        R"("C": [0, -4.5], "D": [3, 0]}, "shape": ["A", "B", "C", "D"], "points": [{"name": "R", )"
        R"("from": "A", "route": ["B", "C"], "speed": 1.5}], "area": ["A", "R", "D"], "end": 6.5})");
    ASSERT_TRUE(own.problem) << own.error;
    const struct {
        motion::Problem problem;
        int tenths;
        const char* part; // what the link holds of the problem
    } rows[] = {
        {lessonsOwnProblem(), 45, "s=20"},
        {builtIn("rectangle-round"), 160, "&p=rectangle-round"},
        {*own.problem, 65, "&q=A0_4.5,B-3_0,C0_-4.5,D3_0!ABCD!RA~BC~1.5!ARD!6.5!mine!"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.problem.name);
        Moment m;
        m.problem = r.problem;
        m.tenths = r.tenths;
        m.ticked = {true, true, false, false, false, true};
        const std::string link = linkOf(m).value_or("");
        EXPECT_NE(link.find(r.part), std::string::npos) << link;
        const auto read = readLink(link);
        ASSERT_TRUE(read) << link;
        EXPECT_EQ(*read, m);
        VirtualHost host;
        Form1 fresh{host};
        fresh.Form_Load();
        bringTo(fresh, m);
        EXPECT_EQ(momentOf(fresh), m);
        // One tenth past the end is no moment of the problem.
        m.tenths = static_cast<int>(std::lround(Course(r.problem).endSeconds() * 10)) + 1;
        EXPECT_FALSE(readLink(linkOf(m).value_or(""))) << "past the end";
    }
    for (const char* bad : {"x=1.0&c=000000&s=20&p=nosuch", "x=1.0&c=000000&s=20&p=square&p=square",
                            "x=1.0&c=000000&s=20&q=A0_4!ABCD!RA~BC~1!ARD!!mine!!",
                            "x=1.0&c=000000&s=20&q=A0_0,B5_0,C0_5!ABC!PA~A~1!ABP!!mine!!",
                            "x=1.0&c=000000&s=20&q=A0_0,B5_0,C0_5!ABC!PA~B~0!ABP!!mine!!",
                            "x=1.0&c=000000&s=20&q=A0_0,B5_0,C0_5!ABC!PA~B~1!ABP!!MINE!!"})
        EXPECT_FALSE(readLink(bad)) << bad;
}

} // namespace
} // namespace kansu::testing
