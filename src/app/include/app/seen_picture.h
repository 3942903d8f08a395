#pragma once

#include "surface/control.h"
#include "surface/image.h"

#include <span>

namespace kansu {

// Draws the lightweight controls that lie in a picture box over its picture, at a device scale:
// what the user sees of the box, as the screen, a copy, a saved picture and the page show it.
// The list gives each container's controls topmost first, so they are drawn from its end.
// A label prints its caption at its top-left corner, condensed when the face is wider than the
// label; a line control is a pen of its width with round ends; a shape is the largest circle
// centred in its box, filled with its back colour inside an outline of its fore colour.
void drawLightweightControls(Image& target, std::span<const Control> controls, Container container,
                             double scale);

} // namespace kansu
