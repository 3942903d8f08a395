#pragma once

#include "surface/colour.h"
#include "surface/geometry.h"

#include <vector>

namespace kansu {

// A picture of opaque 32-bit pixels, rows top to bottom without padding.
class Image {
public:
    Image() = default;
    Image(int width, int height, Rgb fill = 0xFFFFFFFFu);

    int width() const { return width_; }
    int height() const { return height_; }
    Rect rect() const { return {0, 0, width_, height_}; }
    bool isNull() const { return width_ == 0 || height_ == 0; }

    Rgb pixel(int x, int y) const { return pixels_[index(x, y)]; }
    void setPixel(int x, int y, Rgb colour) { pixels_[index(x, y)] = colour; }
    Rgb* row(int y) { return pixels_.data() + index(0, y); }
    const Rgb* row(int y) const { return pixels_.data() + index(0, y); }
    const Rgb* data() const { return pixels_.data(); }
    void fill(Rgb colour);

    bool operator==(const Image&) const = default;

private:
    std::size_t index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
               static_cast<std::size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<Rgb> pixels_;
};

} // namespace kansu
