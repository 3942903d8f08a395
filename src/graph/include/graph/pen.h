#pragma once

namespace kansu::graph {

// Drawing, or erasing by drawing the same thing again in the back colour.
enum class Pen { Draw, Erase };

} // namespace kansu::graph
