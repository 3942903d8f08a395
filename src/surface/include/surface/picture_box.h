#pragma once

#include "surface/colour.h"
#include "surface/drawing.h"
#include "surface/drawing_history.h"
#include "surface/font.h"
#include "surface/image.h"
#include "surface/signal.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kansu {

// The drawing side of a picture box: an image of its client area (inside the 2-pixel sunken
// border) in pixels, y downwards, with the classic drawing operations and their pen state.
//
// A persistent box keeps everything drawn on it, also while it lies out of view. A transient box
// keeps nothing: drawing reaches only the part in view at that moment, and whatever leaves the
// view is lost (it shows the back colour when it comes back).
//
// What is drawn is kept as operations and turned into pixels only when a picture is asked for,
// at the scale asked: nothing is rasterised twice for a screen that shows another scale, nor at
// all for a box nobody looks at.
class PictureBox {
public:
    enum class Memory { Persistent, Transient };
    enum class FillStyle { Solid, Transparent };

    // historyLimit: how many drawing operations are kept for drawing again at other scales before
    // the history is folded into the pictures as they stand.
    PictureBox(int clientWidth, int clientHeight, OleColour backColour, OleColour foreColour,
               FontSpec font, int drawWidth, Memory memory, std::size_t historyLimit = 50000);

    // The drawn image, one pixel a drawing unit.
    const Image& image() const { return imageAt(1); }
    // The same picture drawn sharp at a device scale (device pixels per drawing unit); scale 1
    // is image(). Valid until the next drawing.
    const Image& imageAt(double scale) const;
    int width() const { return width_; }
    int height() const { return height_; }
    bool persistent() const { return memory_ == Memory::Persistent; }
    // Bumped by every change of the image.
    std::uint64_t revision() const { return revision_; }
    // Emitted after every drawing operation.
    Signal<>& changed() const { return changed_; }

    // The part of the client area in view, in the box's own coordinates.
    void setVisibleArea(const Rect& area);
    Rect visibleArea() const { return visible_; }

    OleColour backColour() const { return backColour_; }
    OleColour foreColour() const { return foreColour_; }
    void setForeColour(OleColour c) { foreColour_ = c; }
    int drawWidth() const { return drawWidth_; }
    void setDrawWidth(int w) { drawWidth_ = w < 1 ? 1 : w; }
    FillStyle fillStyle() const { return fillStyle_; }
    void setFillStyle(FillStyle style) { fillStyle_ = style; }
    void setFillColour(OleColour c) { fillColour_ = c; }
    float currentX() const { return currentX_; }
    float currentY() const { return currentY_; }
    void setCurrentX(float x) { currentX_ = x; }
    void setCurrentY(float y) { currentY_ = y; }
    const FontSpec& font() const { return font_; }
    // The font text is printed in from now on.
    void setFont(const FontSpec& font) { font_ = font; }

    // Fills the box with its back colour and moves the current point to the origin.
    void cls();
    // Line (x1,y1)-(x2,y2) in the fore colour.
    void line(float x1, float y1, float x2, float y2);
    // Line -(x2,y2) from the current point in the fore colour.
    void lineTo(float x2, float y2);
    // Line (x1,y1)-Step(dx,dy),colour.
    void lineStep(float x1, float y1, float dx, float dy, OleColour colour);
    // Print text with its top-left corner at the current point; transparent background. A
    // squeeze below 1 condenses it horizontally.
    void print(const std::string& text, double squeeze = 1);
    // Print a number: its decimal text followed by a blank.
    void printNumber(double value);
    // Border-mode flood fill from (x, y) with the brush that the fill style and colour select.
    void floodFillBorder(int x, int y, OleColour border);

    // Height of a printed line in the box's font, and the width of a text printed in it.
    int textHeight() const;
    int textWidth(std::string_view text) const;

    // The drawing operations since the last Cls that still count, in the order they were made.
    std::vector<DrawOp> history() const { return history_.live(); }

private:
    void drawSegment(float x1, float y1, float x2, float y2, OleColour colour);
    Rect drawableArea() const;
    void record(DrawOp op);
    void changed() {
        ++revision_;
        changed_.notify();
    }

    mutable Signal<> changed_;
    int width_;
    int height_;
    mutable DrawingHistory history_;
    Memory memory_;
    Rect visible_;
    OleColour backColour_;
    OleColour foreColour_;
    FontSpec font_;
    int drawWidth_;
    FillStyle fillStyle_ = FillStyle::Transparent;
    OleColour fillColour_ = colours::black;
    float currentX_ = 0;
    float currentY_ = 0;
    std::uint64_t revision_ = 0;
};

} // namespace kansu
