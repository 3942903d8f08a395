#pragma once

#include <QRgb>
#include <cstdint>

namespace kansu {

// Colours are kept the way the lesson's constants are written: &H00BBGGRR.
using OleColour = std::uint32_t;

constexpr QRgb toQRgb(OleColour c) {
    return qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                static_cast<int>((c >> 16) & 0xFF));
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
