#pragma once

#include <cstdint>

namespace kansu {

// Colours are kept the way the lesson's constants are written: &H00BBGGRR.
using OleColour = std::uint32_t;

// A pixel of an image: opaque 0xFFRRGGBB, the layout Qt calls RGB32 and a canvas reads as BGRA.
using Rgb = std::uint32_t;

constexpr Rgb toRgb(OleColour c) {
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// Entry n (0..15) of the classic 16-colour palette.
OleColour paletteColour(int n);

namespace colours {
constexpr OleColour black = 0x000000;
constexpr OleColour white = 0xFFFFFF;
constexpr OleColour green = 0x008000;       // palette 2
constexpr OleColour lightBlue = 0xFF0000;   // palette 9
constexpr OleColour lightRed = 0x0000FF;    // palette 12
constexpr OleColour lightYellow = 0x00FFFF; // palette 14
constexpr OleColour windowText = black;     // the system's default fore colour
} // namespace colours

} // namespace kansu
