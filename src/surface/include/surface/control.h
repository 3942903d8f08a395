#pragma once

#include "surface/colour.h"
#include "surface/font.h"

#include <optional>
#include <string>
#include <vector>

namespace kansu {

enum class ControlKind { Label, Check, Button, Text, Combo, Picture, Line, Shape };

// Where a control lies: on the window itself or inside one of its picture boxes.
enum class Container { Form, Kokuban, Gamen, Hyo };

// The state of one control, as the lesson reads and writes it. Views show it; they never own it.
// Positions are the single-precision values last handed to the control.
struct Control {
    std::string name; // design name, "Label4(8)" for an array element
    ControlKind kind = ControlKind::Label;
    Container container = Container::Form;

    float left = 0, top = 0, width = 0, height = 0; // all kinds but lines
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;           // lines

    std::string caption;            // labels, check boxes, buttons
    std::string text;               // text and combo boxes
    std::vector<std::string> items; // a combo box's list
    // What assistive technology calls the control: its caption unless the layout says otherwise.
    std::string accessibleName;
    bool heading = false; // the window's title, read as its heading
    int value = 0;        // check boxes
    bool enabled = true;
    // Why the control is disabled, for the user who points at it; empty when there is no reason
    // to give.
    std::string tip;
    bool visible = true;

    OleColour backColour = colours::white;
    std::optional<OleColour> foreColour; // empty: the system's default
    bool transparentBack = false;        // labels drawn over a picture
    FontSpec font;
    int lineWidth = 1; // lines
    // Focus order position; empty for controls that never take the focus.
    std::optional<int> tabIndex;

    bool operator==(const Control&) const = default;
};

} // namespace kansu
