#include "app/form1.h"
#include "surface/virtual_host.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <set>

namespace kansu {
namespace {

using enum ControlId;
using K = ControlKind;

Rect placeOf(const Control& c) {
    if (c.kind == K::Line) {
        const auto l = static_cast<int>(std::min(c.x1, c.x2));
        const auto t = static_cast<int>(std::min(c.y1, c.y2));
        return {l, t, static_cast<int>(std::max(c.x1, c.x2)) - l + 1,
                static_cast<int>(std::max(c.y1, c.y2)) - t + 1};
    }
    return {static_cast<int>(c.left), static_cast<int>(c.top), static_cast<int>(c.width),
            static_cast<int>(c.height)};
}

bool inside(const Rect& inner, const Rect& outer) {
    return outer.intersected(inner) == inner;
}

TEST(Layout, FortyTwoControlsUnderThirtyNamesAllEnabledAndVisible) {
    const ControlSet set = designLayout();
    ASSERT_EQ(set.size(), controlCount);
    std::set<std::string> names, designNames;
    for (const Control& c : set) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(names.insert(c.name).second) << "a name used twice";
        designNames.insert(c.name.substr(0, c.name.find('(')));
        EXPECT_TRUE(c.enabled);
        EXPECT_TRUE(c.visible);
        EXPECT_EQ(c.value, 0);
        // Font sizes come in quarter points, 9.75 to 24.
        EXPECT_EQ(c.font.points * 4, std::floor(c.font.points * 4));
        EXPECT_TRUE(c.font.points >= 9 && c.font.points <= 24);
    }
    EXPECT_EQ(designNames.size(), 30u);
    // The arrays are reached by index, as the lesson addresses them.
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(set[indexOf(Label4(i))].name, "Label4(" + std::to_string(i) + ")");
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(set[indexOf(Line5(i))].name, "Line5(" + std::to_string(i) + ")");
}

// The window's controls fit the design's client area; those in the table fit the table. Those
// in the figure board are stored below its visible part, out of sight until start-up moves them.
TEST(Layout, EveryControlLiesWhereItsContainerPutsIt) {
    const ControlSet set = designLayout();
    const Rect designClient{0, 0, 1031, 682};
    for (const Control& c : set) {
        SCOPED_TRACE(c.name);
        const Rect place = placeOf(c);
        switch (c.container) {
        case Container::Form:
            EXPECT_TRUE(inside(place, designClient));
            break;
        case Container::Hyo:
            EXPECT_TRUE(inside(place, Rect{0, 0, 649, 105}));
            break;
        case Container::Kokuban:
            EXPECT_TRUE(place.left() >= 0 && place.right() < 505);
            EXPECT_GE(place.top(), 455);
            break;
        case Container::Gamen:
            ADD_FAILURE() << "nothing lies in the graph";
            break;
        }
        if (c.container != Container::Form)
            EXPECT_TRUE(c.kind == K::Label || c.kind == K::Line || c.kind == K::Shape);
        else
            EXPECT_NE(c.kind, K::Line);
    }
    for (const ControlId box : {kokuban, gamen, hyo}) {
        EXPECT_EQ(boxOf(containerOf(box)), box);
        EXPECT_EQ(set[indexOf(box)].kind, K::Picture);
    }
}

// The design's focus order, over exactly the controls that can take the focus.
TEST(Layout, FocusOrderIsAPermutationOfTheFocusableControls) {
    const ControlSet set = designLayout();
    std::vector<ControlId> order(17, ControlId::Count);
    for (std::size_t i = 0; i < set.size(); ++i) {
        const Control& c = set[i];
        const bool focusable = c.container == Container::Form && c.kind != K::Label;
        ASSERT_EQ(c.tabIndex.has_value(), focusable) << c.name;
        if (focusable) {
            ASSERT_TRUE(*c.tabIndex >= 0 && *c.tabIndex < 17) << c.name;
            EXPECT_EQ(order[static_cast<std::size_t>(*c.tabIndex)], ControlId::Count) << c.name;
            order[static_cast<std::size_t>(*c.tabIndex)] = static_cast<ControlId>(i);
        }
    }
    // Where a teacher's keyboard starts and ends.
    EXPECT_EQ(order.front(), gamen);
    EXPECT_EQ(order[1], end);
    EXPECT_EQ(order.back(), Check4);
}

// Captions where a slip would show: blanks, full-width letters, the list with a leading blank.
TEST(Layout, CaptionsAsTheDesignWritesThem) {
    const ControlSet set = designLayout();
    const struct {
        ControlId id;
        const char* caption;
    } captions[] = {{jidou, "自    動"},    {Check6, " y cm"},
                    {Label4_4, "８ cm"},    {Label4_3, "Ｄ"},
                    {Label4_8, "Ｐ"},       {Label4_6, "ｙ cm"},
                    {Label5, "χ"},          {Label7, "ｙ"},
                    {Label6, "関数の利用"}, {Label1, "点Bを出発してから"},
                    {Label2, "秒後"},       {tomeru, "ストップ"}};
    for (const auto& c : captions)
        EXPECT_EQ(set[indexOf(c.id)].caption, c.caption) << set[indexOf(c.id)].name;
    EXPECT_EQ(set[indexOf(Text1)].text, "Text1");
    EXPECT_EQ(set[indexOf(Combo1)].text, "20");
    EXPECT_EQ(set[indexOf(Combo1)].items, (std::vector<std::string>{" 0", "10", "20", "50", "80"}));
}

// Every control a user can reach has a name for assistive technology; the pictures and the two
// boxes are named for what they show.
TEST(Layout, EveryFocusableControlHasANameForAssistiveTechnology) {
    const ControlSet set = designLayout();
    for (const Control& c : set) {
        if (c.tabIndex) {
            EXPECT_FALSE(c.accessibleName.empty()) << c.name;
        }
    }
    EXPECT_EQ(set[indexOf(Combo1)].accessibleName, "速度");
    EXPECT_EQ(set[indexOf(kokuban)].accessibleName, "図");
}

TEST(Layout, BoardLabelsAreTransparent) {
    const ControlSet set = designLayout();
    for (int i = 0; i < 10; ++i)
        EXPECT_TRUE(set[indexOf(Label4(i))].transparentBack) << i;
    EXPECT_FALSE(set[indexOf(Label6)].transparentBack);
}

// Window sizes in twips give the client areas the layout needs.
TEST(WindowSize, TwipsGiveTheDesignClientAreas) {
    WindowFrame frame;
    const struct {
        int width, height, clientWidth, clientHeight;
    } cases[] = {{10300, 8950, 671, 558}, {15705, 10815, 1031, 682}, {15705, 8950, 1031, 558}};
    for (const auto& c : cases) {
        frame.setWidthTwips(c.width);
        frame.setHeightTwips(c.height);
        EXPECT_EQ(frame.geometry().clientWidth, c.clientWidth);
        EXPECT_EQ(frame.geometry().clientHeight, c.clientHeight);
    }
}

// At the start size the graph lies just right of the window and the table just below it.
TEST(WindowSize, StartSizeEndsBeforeTheGraphAndTheTable) {
    const ControlSet set = designLayout();
    WindowFrame frame;
    frame.setWidthTwips(window::startWidthTwips);
    frame.setHeightTwips(window::startHeightTwips);
    EXPECT_LT(frame.geometry().clientWidth, set[indexOf(gamen)].left);
    EXPECT_LT(frame.geometry().clientHeight, set[indexOf(hyo)].top);
    EXPECT_GT(frame.geometry().clientWidth, placeOf(set[indexOf(kokuban)]).right());
}

TEST(WindowSize, PictureBoxesDrawInsideTheirBorder) {
    VirtualHost host;
    Form1 form(host);
    EXPECT_EQ(form.box(kokuban).width(), 501);
    EXPECT_EQ(form.box(kokuban).height(), 451);
    EXPECT_EQ(form.box(gamen).width(), 317);
    EXPECT_EQ(form.box(hyo).height(), 101);
    EXPECT_EQ(pictureClientRect(form.control(kokuban)), (Rect{10, 50, 501, 451}));
}

} // namespace
} // namespace kansu
