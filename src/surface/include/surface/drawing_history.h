#pragma once

#include "surface/drawing.h"
#include "surface/image.h"

#include <cstdint>
#include <list>
#include <unordered_map>
#include <vector>

namespace kansu {

// What a picture box has drawn since it was last cleared, and the pictures drawn from it: the
// picture at scale 1, and at the device scales in use. A picture is brought up to date only when
// it is asked for, so a picture nobody looks at (the 1x one while the screen shows another scale,
// a box out of view) costs nothing to keep.
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
    void add(DrawOp op);
    // The picture at a scale (1: the box's own pixels), brought up to date. Valid until the next
    // add or clear.
    const Image& at(double scale);
    // The operations that still count, in the order they were made.
    std::vector<DrawOp> live() const;
    std::size_t size() const { return ops_.size() - dead_; }

private:
    struct Scaled {
        double scale = 0;
        std::size_t applied = 0;
        bool cleared = false; // to be filled with the back colour before anything is applied
        Image image;
    };
    std::vector<Scaled*> all();
    void compact();
    void fold();
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
    Scaled oneX_;              // the picture at scale 1, always kept
    std::list<Scaled> scaled_; // the other scales in use, most recent first
};

} // namespace kansu
