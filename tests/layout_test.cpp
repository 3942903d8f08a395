#include "app/form1.h"
#include "surface/virtual_host.h"

#include <gtest/gtest.h>
#include <set>

namespace kansu {
namespace {

struct Expected {
    ControlId id;
    const char* name;
    ControlKind kind;
    Container container;
    float left, top, width, height; // for lines: x1, y1, x2, y2
    const char* caption;            // caption, or text for text and combo boxes
    OleColour colour;               // back colour, or line colour for lines
};

using enum ControlId;
using K = ControlKind;
using C = Container;

// The window's controls as the design places them, before start-up moves anything.
const Expected layoutTable[] = {
    {Check4, "Check4", K::Check, C::Form, 536, 14, 129, 25, "動いた道のり", 0xC0FFC0},
    {Text1, "Text1", K::Text, C::Form, 304, 512, 65, 33, "Text1", 0xFFFFFF},
    {kokuban, "kokuban", K::Picture, C::Form, 8, 48, 505, 455, "", 0xFFFFFF},
    {Check5, "Check5", K::Check, C::Form, 552, 360, 89, 25, "ヒント", 0xC0FFC0},
    {Command1, "Command1", K::Button, C::Form, 248, 8, 81, 33, "初期画面", 0xFFC0C0},
    {hyo, "hyo", K::Picture, C::Form, 8, 560, 649, 105, "", 0xFFFFFF},
    {Check1, "Check1", K::Check, C::Form, 552, 328, 81, 26, "方眼", 0xC0FFC0},
    {Check3, "Check3", K::Check, C::Form, 552, 416, 49, 26, "表", 0xC0FFC0},
    {tomeru, "tomeru", K::Button, C::Form, 576, 120, 65, 33, "ストップ", 0x80FF80},
    {jidou, "jidou", K::Button, C::Form, 528, 56, 113, 49, "自    動", 0x00FF00},
    {modoru, "modoru", K::Button, C::Form, 528, 240, 65, 49, "戻る", 0xFFFF00},
    {susumu, "susumu", K::Button, C::Form, 592, 240, 65, 49, "進む", 0x00FFFF},
    {Check2, "Check2", K::Check, C::Form, 552, 448, 89, 26, "グラフ", 0xC0FFC0},
    {Combo1, "Combo1", K::Combo, C::Form, 600, 176, 41, 21, "20", 0xFFFFFF},
    {end, "end", K::Button, C::Form, 592, 512, 65, 33, "終了", 0xFFC0C0},
    {gamen, "gamen", K::Picture, C::Form, 696, 16, 321, 529, "", 0xFFFFFF},
    {Check6, "Check6", K::Check, C::Form, 416, 8, 77, 33, " y cm", 0xC0FFC0},
    {Label2, "Label2", K::Label, C::Form, 375, 527, 34, 16, "秒後", 0xC0FFC0},
    {Label1, "Label1", K::Label, C::Form, 104, 520, 191, 24, "点Bを出発してから", 0xC0FFC0},
    {Label8, "Label8", K::Label, C::Form, 496, 8, 9, 16, "2", 0xC0FFC0},
    {Label6, "Label6", K::Label, C::Form, 16, 8, 160, 33, "関数の利用", 0x00C000},
    {Label3, "Label3", K::Label, C::Form, 566, 178, 32, 16, "速度", 0xC0FFC0},
    {Shape2, "Shape2", K::Shape, C::Kokuban, 480, 568, 10, 8, "", 0x0000FF},
    {Shape1, "Shape1", K::Shape, C::Kokuban, 480, 544, 10, 8, "", 0x0000FF},
    {Label4_0, "Label4(0)", K::Label, C::Kokuban, 160, 536, 20, 33, "A", 0x008000},
    {Label4_1, "Label4(1)", K::Label, C::Kokuban, 200, 536, 20, 33, "B", 0x008000},
    {Label4_2, "Label4(2)", K::Label, C::Kokuban, 248, 536, 21, 33, "C", 0x008000},
    {Label4_3, "Label4(3)", K::Label, C::Kokuban, 280, 536, 24, 33, "Ｄ", 0x008000},
    {Label4_4, "Label4(4)", K::Label, C::Kokuban, 72, 576, 53, 24, "８ cm", 0x008000},
    {Label4_5, "Label4(5)", K::Label, C::Kokuban, 88, 544, 53, 24, "８ cm", 0x008000},
    {Label4_6, "Label4(6)", K::Label, C::Kokuban, 336, 536, 49, 24, "ｙ cm", 0x008000},
    {Label4_7, "Label4(7)", K::Label, C::Kokuban, 384, 536, 9, 16, "2", 0x008000},
    {Label4_8, "Label4(8)", K::Label, C::Kokuban, 408, 544, 23, 33, "Ｐ", 0x008000},
    {Label4_9, "Label4(9)", K::Label, C::Kokuban, 440, 544, 26, 33, "Ｑ", 0x008000},
    {Line5_0, "Line5(0)", K::Line, C::Kokuban, 32, 568, 56, 568, "", 0xFF0000},
    {Line5_1, "Line5(1)", K::Line, C::Kokuban, 32, 552, 56, 552, "", 0x0080FF},
    {Line5_2, "Line5(2)", K::Line, C::Kokuban, 32, 536, 56, 536, "", 0xFFFF00},
    {Line5_3, "Line5(3)", K::Line, C::Kokuban, 32, 584, 56, 584, "", 0x0080FF},
    {Line3, "Line3", K::Line, C::Hyo, 8, 54, 632, 54, "", 0x000000},
    {Line2, "Line2", K::Line, C::Hyo, 32, 8, 32, 98, "", 0x000000},
    {Label7, "Label7", K::Label, C::Hyo, 8, 58, 17, 33, "ｙ", 0xFFFFFF},
    {Label5, "Label5", K::Label, C::Hyo, 0, 12, 33, 33, "χ", 0xFFFFFF},
};

TEST(Layout, EveryControlHasItsDesignPlaceCaptionAndColour) {
    const ControlSet set = designLayout();
    ASSERT_EQ(std::size(layoutTable), controlCount);
    std::set<std::string> names;
    for (const Expected& e : layoutTable) {
        const Control& c = set[indexOf(e.id)];
        SCOPED_TRACE(e.name);
        EXPECT_EQ(c.name, std::string(e.name));
        EXPECT_EQ(c.kind, e.kind);
        EXPECT_EQ(c.container, e.container);
        if (c.kind == K::Line) {
            EXPECT_EQ((std::array{c.x1, c.y1, c.x2, c.y2}),
                      (std::array{e.left, e.top, e.width, e.height}));
            EXPECT_EQ(c.foreColour, e.colour);
        } else {
            EXPECT_EQ((std::array{c.left, c.top, c.width, c.height}),
                      (std::array{e.left, e.top, e.width, e.height}));
            EXPECT_EQ(c.backColour, e.colour);
        }
        const std::string text = c.kind == K::Text || c.kind == K::Combo ? c.text : c.caption;
        EXPECT_EQ(text, std::string(e.caption));
        EXPECT_TRUE(c.enabled);
        EXPECT_TRUE(c.visible);
        EXPECT_EQ(c.value, 0);
        names.insert(c.name.substr(0, c.name.find('(')));
    }
    EXPECT_EQ(names.size(), 30u);
}

TEST(Layout, FontsOfTheDesign) {
    const ControlSet set = designLayout();
    const struct {
        ControlId id;
        double points;
        bool bold;
    } fonts[] = {{kokuban, 14.25, true}, {gamen, 9.75, true},   {hyo, 20.25, true},
                 {jidou, 15.75, true},   {Combo1, 9.75, false}, {Check6, 15.75, true},
                 {Label6, 24, false},    {Label4_7, 12, true},  {Label4_4, 18, false},
                 {Text1, 18, false},     {tomeru, 12, false},   {Label5, 24, true}};
    for (const auto& f : fonts) {
        EXPECT_EQ(set[indexOf(f.id)].font.points, f.points) << set[indexOf(f.id)].name;
        EXPECT_EQ(set[indexOf(f.id)].font.bold, f.bold) << set[indexOf(f.id)].name;
    }
}

TEST(Layout, KeyboardFocusOrder) {
    const ControlSet set = designLayout();
    const ControlId order[] = {gamen,    end,    Combo1, Check2, kokuban, susumu,
                               modoru,   jidou,  tomeru, Check3, Check1,  hyo,
                               Command1, Check5, Check6, Text1,  Check4};
    int position = 0;
    for (ControlId id : order)
        EXPECT_EQ(set[indexOf(id)].tabIndex, position++) << set[indexOf(id)].name;
    int focusable = 0;
    for (const Control& c : set)
        focusable += c.tabIndex.has_value();
    EXPECT_EQ(focusable, 17);
}

TEST(Layout, BoardLabelsAreTransparentAndTheirFontsMatch) {
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
