#pragma once

#include "app/control_id.h"
#include "surface/control.h"

#include <vector>

namespace kansu {

using ControlSet = std::vector<Control>;

// The window's controls as they stand before start-up: places, sizes, captions, colours, fonts,
// start states, the speed list, the names assistive technology reads and the focus order.
ControlSet designLayout();

// The container a picture box is for the controls that lie in it, and the picture box of a
// container (ControlId::Count for the window itself).
Container containerOf(ControlId box);
ControlId boxOf(Container container);

// Window constants, in pixels unless named otherwise.
namespace window {
constexpr const char* title = "４.関数";
constexpr OleColour backColour = 0xC0FFC0;
constexpr int twipsPerPixel = 15;
constexpr int frameWidth = 16;  // what the frame adds to the client width
constexpr int frameHeight = 39; // and to the client height
constexpr int startWidthTwips = 10300;
constexpr int startHeightTwips = 8950;
constexpr int graphWidthTwips = 15705;
constexpr int tableHeightTwips = 10815;
constexpr int pictureBorder = 2; // the sunken border around a picture box's client area
} // namespace window

} // namespace kansu
