#include "surface/image.h"

#include <algorithm>
#include <cstring>

namespace kansu {

Image::Image(int width, int height, Rgb fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), fill) {}

void Image::fill(Rgb colour) {
    // A colour of four equal bytes (white, the pictures' back colour) is a byte fill, which the
    // C library does in wide strides where a loop of pixels would not be widened (the browser).
    const auto byte = static_cast<unsigned char>(colour);
    if (colour == 0x01010101u * byte)
        std::memset(pixels_.data(), byte, pixels_.size() * sizeof(Rgb));
    else
        std::fill(pixels_.begin(), pixels_.end(), colour);
}

} // namespace kansu
