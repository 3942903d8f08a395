#include "app/layout.h"

namespace kansu {

namespace {

constexpr OleColour formBack = window::backColour;

struct Place {
    float left, top, width, height;
};

Control make(const char* name, ControlKind kind, Container container, Place p) {
    Control c;
    c.name = name;
    c.kind = kind;
    c.container = container;
    c.left = p.left;
    c.top = p.top;
    c.width = p.width;
    c.height = p.height;
    return c;
}

Control label(const char* name, Container container, const char* caption, Place p, OleColour back,
              std::optional<OleColour> fore, FontSpec font) {
    Control c = make(name, ControlKind::Label, container, p);
    c.caption = caption;
    c.backColour = back;
    c.foreColour = fore;
    c.font = font;
    return c;
}

Control check(const char* name, const char* caption, Place p, OleColour fore, FontSpec font) {
    Control c = make(name, ControlKind::Check, Container::Form, p);
    c.caption = caption;
    c.backColour = formBack;
    c.foreColour = fore;
    c.font = font;
    return c;
}

Control button(const char* name, const char* caption, Place p, OleColour back, FontSpec font) {
    Control c = make(name, ControlKind::Button, Container::Form, p);
    c.caption = caption;
    c.backColour = back;
    c.font = font;
    return c;
}

Control picture(const char* name, Place p, std::optional<OleColour> fore, FontSpec font) {
    Control c = make(name, ControlKind::Picture, Container::Form, p);
    c.backColour = colours::white;
    c.foreColour = fore;
    c.font = font;
    return c;
}

Control line(const char* name, Container container, float x1, float y1, float x2, float y2,
             OleColour colour, int width) {
    Control c = make(name, ControlKind::Line, container, {0, 0, 0, 0});
    c.x1 = x1;
    c.y1 = y1;
    c.x2 = x2;
    c.y2 = y2;
    c.foreColour = colour;
    c.lineWidth = width;
    return c;
}

Control boardLabel(const char* name, const char* caption, Place p, OleColour fore, FontSpec font) {
    Control c = label(name, Container::Kokuban, caption, p, 0x008000, fore, font);
    c.transparentBack = true;
    return c;
}

Control dot(const char* name, Place p) {
    Control c = make(name, ControlKind::Shape, Container::Kokuban, p);
    c.backColour = 0x0000FF; // solid red fill
    c.foreColour = 0x0000FF; // and a red outline
    return c;
}

} // namespace

ControlSet designLayout() {
    using enum ControlId;
    ControlSet set(controlCount);
    auto put = [&set](ControlId id, Control c) {
        set[indexOf(id)] = std::move(c);
    };

    const FontSpec pt12{12, false}, pt12b{12, true}, pt18{18, false}, pt24{24, false};

    put(Check4, check("Check4", "動いた道のり", {536, 14, 129, 25}, 0x004000, pt12));
    {
        Control c = make("Text1", ControlKind::Text, Container::Form, {304, 512, 65, 33});
        c.text = "Text1";
        c.font = pt18;
        put(Text1, c);
    }
    put(kokuban, picture("kokuban", {8, 48, 505, 455}, colours::black, {14.25, true}));
    put(Check5, check("Check5", "ヒント", {552, 360, 89, 25}, 0x008000, pt18));
    put(Command1, button("Command1", "初期画面", {248, 8, 81, 33}, 0xFFC0C0, pt12b));
    put(hyo, picture("hyo", {8, 560, 649, 105}, std::nullopt, {20.25, true}));
    put(Check1, check("Check1", "方眼", {552, 328, 81, 26}, 0x008000, pt18));
    put(Check3, check("Check3", "表", {552, 416, 49, 26}, 0x004000, pt18));
    put(tomeru, button("tomeru", "ストップ", {576, 120, 65, 33}, 0x80FF80, pt12));
    put(jidou, button("jidou", "自    動", {528, 56, 113, 49}, 0x00FF00, {15.75, true}));
    put(modoru, button("modoru", "戻る", {528, 240, 65, 49}, 0xFFFF00, pt12b));
    put(susumu, button("susumu", "進む", {592, 240, 65, 49}, 0x00FFFF, pt12b));
    put(Check2, check("Check2", "グラフ", {552, 448, 89, 26}, 0x004000, pt18));
    {
        Control c = make("Combo1", ControlKind::Combo, Container::Form, {600, 176, 41, 21});
        c.text = "20";
        c.items = {" 0", "10", "20", "50", "80"};
        c.font = {9.75, false};
        put(Combo1, c);
    }
    put(end, button("end", "終了", {592, 512, 65, 33}, 0xFFC0C0, pt12b));
    put(gamen, picture("gamen", {696, 16, 321, 529}, std::nullopt, {9.75, true}));
    put(Check6, check("Check6", " y cm", {416, 8, 77, 33}, 0x008000, {15.75, true}));
    put(Label2,
        label("Label2", Container::Form, "秒後", {375, 527, 34, 16}, formBack, 0x004000, pt12b));
    put(Label1, label("Label1", Container::Form, "点Bを出発してから", {104, 520, 191, 24}, formBack,
                      0x004000, pt18));
    put(Label8, label("Label8", Container::Form, "2", {496, 8, 9, 16}, formBack, 0x008000, pt12b));
    put(Label6,
        label("Label6", Container::Form, "関数の利用", {16, 8, 160, 33}, 0x00C000, 0xFFFFFF, pt24));
    put(Label3,
        label("Label3", Container::Form, "速度", {566, 178, 32, 16}, formBack, 0x004000, pt12));

    put(Shape2, dot("Shape2", {480, 568, 10, 8}));
    put(Shape1, dot("Shape1", {480, 544, 10, 8}));
    put(Label4_0, boardLabel("Label4(0)", "A", {160, 536, 20, 33}, 0x008000, pt24));
    put(Label4_1, boardLabel("Label4(1)", "B", {200, 536, 20, 33}, 0x008000, pt24));
    put(Label4_2, boardLabel("Label4(2)", "C", {248, 536, 21, 33}, 0x008000, pt24));
    put(Label4_3, boardLabel("Label4(3)", "Ｄ", {280, 536, 24, 33}, 0x008000, pt24));
    put(Label4_4, boardLabel("Label4(4)", "８ cm", {72, 576, 53, 24}, 0x008000, pt18));
    put(Label4_5, boardLabel("Label4(5)", "８ cm", {88, 544, 53, 24}, 0x008000, pt18));
    put(Label4_6, boardLabel("Label4(6)", "ｙ cm", {336, 536, 49, 24}, 0x000000, pt18));
    put(Label4_7, boardLabel("Label4(7)", "2", {384, 536, 9, 16}, 0x000000, pt12b));
    put(Label4_8, boardLabel("Label4(8)", "Ｐ", {408, 544, 23, 33}, 0xFF0000, pt24));
    put(Label4_9, boardLabel("Label4(9)", "Ｑ", {440, 544, 26, 33}, 0xFF0000, pt24));
    put(Line5_0, line("Line5(0)", Container::Kokuban, 32, 568, 56, 568, 0xFF0000, 5));
    put(Line5_1, line("Line5(1)", Container::Kokuban, 32, 552, 56, 552, 0x0080FF, 5));
    put(Line5_2, line("Line5(2)", Container::Kokuban, 32, 536, 56, 536, 0xFFFF00, 5));
    put(Line5_3, line("Line5(3)", Container::Kokuban, 32, 584, 56, 584, 0x0080FF, 5));

    put(Line3, line("Line3", Container::Hyo, 8, 54, 632, 54, colours::windowText, 3));
    put(Line2, line("Line2", Container::Hyo, 32, 8, 32, 98, colours::windowText, 3));
    put(Label7, label("Label7", Container::Hyo, "ｙ", {8, 58, 17, 33}, colours::white, std::nullopt,
                      {24, true}));
    put(Label5, label("Label5", Container::Hyo, "χ", {0, 12, 33, 33}, colours::white, std::nullopt,
                      {24, true}));

    // Names for assistive technology where the caption says too little or nothing: the pictures,
    // the two text boxes (by their captions on the window), the spaced-out 自 動 and y cm².
    const std::pair<ControlId, const char*> names[] = {
        {kokuban, "図"},  {gamen, "グラフ"}, {hyo, "表"},      {Text1, "時間"},
        {Combo1, "速度"}, {jidou, "自動"},   {Check6, "y cm²"}};
    for (Control& c : set)
        c.accessibleName = c.caption;
    for (const auto& [id, name] : names)
        set[indexOf(id)].accessibleName = name;
    set[indexOf(Label6)].heading = true;

    // Keyboard focus order.
    const ControlId focusOrder[] = {gamen,    end,    Combo1, Check2, kokuban, susumu,
                                    modoru,   jidou,  tomeru, Check3, Check1,  hyo,
                                    Command1, Check5, Check6, Text1,  Check4};
    int position = 0;
    for (ControlId id : focusOrder)
        set[indexOf(id)].tabIndex = position++;
    return set;
}

Container containerOf(ControlId box) {
    switch (box) {
    case ControlId::kokuban:
        return Container::Kokuban;
    case ControlId::gamen:
        return Container::Gamen;
    case ControlId::hyo:
        return Container::Hyo;
    default:
        return Container::Form;
    }
}

ControlId boxOf(Container container) {
    switch (container) {
    case Container::Kokuban:
        return ControlId::kokuban;
    case Container::Gamen:
        return ControlId::gamen;
    case Container::Hyo:
        return ControlId::hyo;
    case Container::Form:
        break;
    }
    return ControlId::Count;
}

} // namespace kansu
