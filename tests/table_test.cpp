#include "app/problems.h"
#include "lesson_fixture.h"
#include "surface/conversions.h"

namespace kansu::testing {
namespace {

using enum ControlId;

const Rgb lightBlue = rgb(paletteColour(9));
const Rgb lightRed = rgb(paletteColour(12));

class Table : public Lesson {
protected:
    const Image& image() const { return form.box(hyo).image(); }
    // The ink of one column (x row and y row) in a colour.
    int column(int second, Rgb colour) const {
        return countColour(image(), colour, Rect{40 + 65 * second, 15, 65, 85});
    }
    int anyInk(Rgb colour) const { return countColour(image(), colour); }
};

TEST_F(Table, ShowingTheTableAtTheStartPrintsColumnZero) {
    EXPECT_EQ(anyInk(lightBlue), 0); // printed while out of view: lost
    tick(Check3);
    EXPECT_EQ(form.geometry().heightTwips, 10815);
    EXPECT_EQ(form.geometry().clientHeight, 682);
    EXPECT_GT(column(0, lightBlue), 0);
    EXPECT_EQ(anyInk(lightBlue), column(0, lightBlue));
}

TEST_F(Table, ColumnsArePrintedAtWholeSecondsAndErasedOnTheWayBack) {
    tick(Check3);
    stepTo(320);
    for (int s = 0; s <= 4; ++s)
        EXPECT_GT(column(s, lightBlue), 0) << s;
    for (int s = 5; s <= 8; ++s)
        EXPECT_GT(column(s, lightRed), 0) << s;
    stepTo(316);
    EXPECT_EQ(column(8, lightRed), 0);
    EXPECT_GT(column(7, lightRed), 0);
    stepTo(36);
    EXPECT_EQ(column(1, lightBlue), 0);
    EXPECT_GT(column(0, lightBlue), 0);
    stepTo(0);
    EXPECT_GT(column(0, lightBlue), 0); // stepping back from 0.1 erases nothing
}

TEST_F(Table, EraseComesBeforeTheTimeChanges) {
    tick(Check3);
    stepTo(40);
    ASSERT_GT(column(1, lightBlue), 0);
    click(modoru);
    EXPECT_EQ(text1(), " 0.9");
    EXPECT_EQ(column(1, lightBlue), 0);
}

TEST_F(Table, ValuesStartAtTheirPlaces) {
    tick(Check3);
    stepTo(160);
    // x = 4 at column 310; its y, 16, ten pixels further left at 300.
    const Rect xInk = [&] {
        Rect r;
        for (int y = 20; y < 54; ++y)
            for (int x = 300; x < 370; ++x)
                if (image().pixel(x, y) == lightBlue)
                    r = r.united(Rect{x, y, 1, 1});
        return r;
    }();
    Rect yInk;
    for (int y = 65; y < 101; ++y)
        for (int x = 290; x < 370; ++x)
            if (image().pixel(x, y) == lightBlue)
                yInk = yInk.united(Rect{x, y, 1, 1});
    ASSERT_FALSE(xInk.isEmpty());
    ASSERT_FALSE(yInk.isEmpty());
    EXPECT_GE(xInk.left(), 310);
    EXPECT_GE(yInk.left(), 300);
    EXPECT_LT(yInk.left(), xInk.left());
    EXPECT_GE(xInk.top(), 20);
    EXPECT_GE(yInk.top(), 65);
}

TEST_F(Table, ShowingBetweenWholeSecondsGivesAnEmptyTable) {
    stepTo(100);
    tick(Check3);
    EXPECT_EQ(anyInk(lightBlue), 0);
    stepTo(120);
    EXPECT_GT(column(3, lightBlue), 0);
    EXPECT_EQ(anyInk(lightBlue), column(3, lightBlue));
}

TEST_F(Table, HidingTheTableLosesIt) {
    tick(Check3);
    stepTo(80);
    untick(Check3);
    EXPECT_EQ(form.geometry().clientHeight, 558);
    EXPECT_EQ(anyInk(lightBlue), 0);
    stepTo(120);
    tick(Check3);
    EXPECT_EQ(anyInk(lightBlue), column(3, lightBlue));
    EXPECT_GT(column(3, lightBlue), 0);
}

TEST_F(Table, EraseIsRequestedEvenWhileTheTableIsHidden) {
    tick(Check3);
    stepTo(40);
    // Clear the tick while maximised, so the table stays in view without it.
    form.setWindowState(2);
    untick(Check3);
    form.setWindowState(0);
    ASSERT_EQ(form.geometry().clientHeight, 682);
    stepTo(36);
    EXPECT_EQ(column(1, lightBlue), 0);
}

TEST_F(Table, MaximisedWindowOnlyTicks) {
    tick(Check3);
    stepTo(40);
    form.setWindowState(2);
    untick(Check3);
    EXPECT_EQ(form.geometry().heightTwips, 10815);
    EXPECT_GT(column(1, lightBlue), 0);
    tick(Check3);
    EXPECT_GT(column(0, lightBlue), 0); // not cleared
}

TEST(TableAlone, HandTypedTimesNeverFail) {
    graph::Table table(PictureBox(645, 101, colours::white, colours::black, {20.25, true}, 1,
                                  PictureBox::Memory::Transient),
                       std::make_shared<const motion::Course>(lessonsOwnProblem()));
    std::vector<std::string> texts = offGraphTexts();
    for (const char* time : {"4.5", "3\n"})
        texts.emplace_back(time);
    texts.emplace_back("2\0", 2);
    for (const std::string& typed : texts) {
        const double shown = conv::numericValue(typed).value;
        table.plotEntry(shown, graph::Pen::Draw);
        table.plotEntry(shown, graph::Pen::Erase);
        table.clear();
    }
    // Only the whole seconds 0 to 8 have a column; 9 is beyond the table.
    EXPECT_EQ(countColour(table.picture().image(), rgb(paletteColour(12))), 0);
}

} // namespace
} // namespace kansu::testing
