#pragma once

#include "surface/drawing.h"
#include "surface/image.h"

#include <cstdint>
#include <list>
#include <unordered_map>
#include <vector>

namespace kansu {

// What a picture box has drawn since it was last cleared, kept so that the picture can be drawn
// again, sharp, at any device scale.
//
// A long lesson repeats itself: every step paints the graph's grid and captions again over the
// trace. An operation that only paints a fixed set of pixels (a line, a text, a loss of what left
// the view) makes its earlier copy pointless, unless a fill that reads the pixels lies between
// them, so the earlier copy is dropped. Should the history still outgrow its limit, it is folded
// into the pictures as they stand, at every scale in use, and starts afresh.
class DrawingHistory {
public:
    DrawingHistory(int width, int height, Rgb back, std::size_t limit);

    // Starts afresh on a picture of the back colour.
    void clear();
    // Adds an operation already applied to oneX, the picture at scale 1.
    void add(DrawOp op, const Image& oneX);
    // The picture at a scale, brought up to date. Valid until the next add or clear.
    const Image& at(double scale);
    // The operations that still count, in the order they were made.
    std::vector<DrawOp> live() const;
    std::size_t size() const { return ops_.size() - dead_; }

private:
    struct Scaled {
        double scale = 0;
        std::size_t applied = 0;
        Image image;
    };
    void compact();
    void fold(const Image& oneX);
    void catchUp(Scaled& s);

    int width_;
    int height_;
    Rgb back_;
    std::size_t limit_;
    std::vector<DrawOp> ops_;
    std::vector<char> dropped_;
    std::size_t dead_ = 0;
    // The painting operations since the last fill, by hash, for finding earlier copies.
    std::unordered_multimap<std::size_t, std::size_t> since_;
    Image folded_;             // the 1x picture the history was last folded into
    std::list<Scaled> scaled_; // the scales in use, most recent first
};

} // namespace kansu
