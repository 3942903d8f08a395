#include "surface/image.h"

#include <algorithm>

namespace kansu {

Image::Image(int width, int height, Rgb fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

void Image::fill(Rgb colour) {
    std::fill(pixels_.begin(), pixels_.end(), colour);
}

} // namespace kansu
