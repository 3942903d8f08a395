#pragma once

#include <cstddef>

namespace kansu {

// Every control of the window, in the order the window holds them: first those on the window,
// then those inside kokuban (topmost first), then those inside hyo (topmost first).
enum class ControlId : int {
    // On the window.
    Check4,
    Text1,
    kokuban,
    Check5,
    Command1,
    hyo,
    Check1,
    Check3,
    tomeru,
    jidou,
    modoru,
    susumu,
    Check2,
    Combo1,
    end,
    gamen,
    Check6,
    Label2,
    Label1,
    Label8,
    Label6,
    Label3,
    // Inside kokuban, topmost first.
    Shape2,
    Shape1,
    Label4_9,
    Line5_3,
    Line5_1,
    Label4_3,
    Line5_2,
    Label4_8,
    Label4_2,
    Label4_1,
    Label4_7,
    Label4_6,
    Line5_0,
    Label4_5,
    Label4_4,
    Label4_0,
    // Inside hyo, topmost first.
    Line3,
    Line2,
    Label7,
    Label5,
    Count
};

constexpr std::size_t controlCount = static_cast<std::size_t>(ControlId::Count);

constexpr std::size_t indexOf(ControlId id) {
    return static_cast<std::size_t>(id);
}

// The window's own controls by the role they play in the lesson.
namespace role {
constexpr ControlId timeBox = ControlId::Text1;
constexpr ControlId speedBox = ControlId::Combo1;
constexpr ControlId forwardButton = ControlId::susumu;
constexpr ControlId backButton = ControlId::modoru;
constexpr ControlId playButton = ControlId::jidou;
constexpr ControlId stopButton = ControlId::tomeru;
constexpr ControlId initialScreenButton = ControlId::Command1;
constexpr ControlId figure = ControlId::kokuban;
constexpr ControlId graph = ControlId::gamen;
constexpr ControlId table = ControlId::hyo;
} // namespace role

// The elements of the control arrays, reached by index as the lesson addresses them.
constexpr ControlId Label4(int i) {
    constexpr ControlId ids[] = {ControlId::Label4_0, ControlId::Label4_1, ControlId::Label4_2,
                                 ControlId::Label4_3, ControlId::Label4_4, ControlId::Label4_5,
                                 ControlId::Label4_6, ControlId::Label4_7, ControlId::Label4_8,
                                 ControlId::Label4_9};
    return ids[i];
}

constexpr ControlId Line5(int i) {
    constexpr ControlId ids[] = {ControlId::Line5_0, ControlId::Line5_1, ControlId::Line5_2,
                                 ControlId::Line5_3};
    return ids[i];
}

} // namespace kansu
