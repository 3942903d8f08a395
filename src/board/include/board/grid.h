#pragma once

#include "motion/course.h"
#include "surface/picture_box.h"

namespace kansu::board {

// The 1 cm grid over the figure's box, one pixel inside its edges at both ends: black, a pixel
// wide, the rows from the top first, then the columns from the left. The pen is 3 wide after.
void drawGridOver(PictureBox& board, const motion::Course& course);

// The same grid inside the figure only, each line from a pixel inside its side to a pixel inside
// the side it meets: over a rectangle, the very same lines.
void drawGridInside(PictureBox& board, const motion::Course& course);

} // namespace kansu::board
