#pragma once

#include <cstdint>

namespace kansu {

// Colours are kept the way the lesson's constants are written: &H00BBGGRR.
using OleColour = std::uint32_t;

// A pixel of an image: the bytes red, green, blue and 255 in memory, the order a canvas's image
// data and Qt's RGBX8888 take as they are. As a number on a little-endian machine that is
// 0xFFBBGGRR: a lesson colour with its top byte set.
using Rgb = std::uint32_t;

constexpr Rgb toRgb(OleColour c) {
    return 0xFF000000u | (c & 0x00FFFFFFu);
}

// A pixel as 0xRRGGBB, the way colours are usually written.
constexpr std::uint32_t rrggbb(Rgb p) {
    return ((p & 0xFFu) << 16) | (p & 0xFF00u) | ((p >> 16) & 0xFFu);
}

// Entry n (0..15) of the classic 16-colour palette.
OleColour paletteColour(int n);

namespace colours {
constexpr OleColour black = 0x000000;
constexpr OleColour white = 0xFFFFFF;
constexpr OleColour windowText = black; // the system's default fore colour
} // namespace colours

} // namespace kansu
