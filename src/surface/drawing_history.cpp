#include "surface/drawing_history.h"

#include <algorithm>
#include <cmath>
#include <functional>

namespace kansu {

namespace {

// Pictures kept at other scales: the screen's and one for export, say.
constexpr std::size_t scalesKept = 2;

std::size_t hashOf(const DrawOp& op) {
    std::size_t h = std::hash<int>()(static_cast<int>(op.kind));
    auto mix = [&h](std::size_t v) {
        h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2);
    };
    for (const double v : {op.from.x, op.from.y, op.to.x, op.to.y, op.font.points, op.squeeze})
        mix(std::hash<double>()(v));
    for (const int v : {op.width, op.area.x, op.area.y, op.area.width, op.area.height,
                        static_cast<int>(op.font.bold)})
        mix(std::hash<int>()(v));
    mix(std::hash<std::uint32_t>()(op.colour));
    mix(std::hash<std::uint32_t>()(op.border));
    mix(std::hash<std::string>()(op.text));
    return h;
}

// Each device pixel shows the pixel under its centre: the best a picture folded at scale 1 can
// give a scale it was never drawn at.
Image enlarged(const Image& source, int width, int height) {
    Image out(width, height);
    for (int y = 0; y < height; ++y) {
        const int sy = std::min(source.height() - 1, y * source.height() / std::max(height, 1));
        Rgb* row = out.row(y);
        const Rgb* from = source.row(sy);
        for (int x = 0; x < width; ++x)
            row[x] = from[std::min(source.width() - 1, x * source.width() / std::max(width, 1))];
    }
    return out;
}

} // namespace

DrawingHistory::DrawingHistory(int width, int height, Rgb back, std::size_t limit)
    : width_(width), height_(height), back_(back), limit_(std::max<std::size_t>(limit, 1)) {
    oneX_.scale = 1;
}

void DrawingHistory::clear() {
    ops_.clear();
    dropped_.clear();
    dead_ = 0;
    since_.clear();
    folded_ = Image();
    for (Scaled* s : all()) {
        s->cleared = true;
        s->applied = 0;
    }
}

std::vector<DrawingHistory::Scaled*> DrawingHistory::all() {
    std::vector<Scaled*> pictures{&oneX_};
    for (Scaled& s : scaled_)
        pictures.push_back(&s);
    return pictures;
}

void DrawingHistory::add(DrawOp op) {
    if (op.kind == DrawOp::Kind::Fill) {
        since_.clear(); // nothing before a fill may go: the fill read it
    } else {
        const std::size_t h = hashOf(op);
        const auto [first, last] = since_.equal_range(h);
        for (auto it = first; it != last; ++it)
            if (ops_[it->second] == op) {
                dropped_[it->second] = 1;
                ++dead_;
                since_.erase(it);
                break;
            }
        since_.emplace(h, ops_.size());
    }
    ops_.push_back(std::move(op));
    dropped_.push_back(0);
    if (dead_ > 1024 && dead_ * 2 > ops_.size())
        compact();
    if (size() > limit_)
        fold();
}

void DrawingHistory::compact() {
    std::vector<std::size_t> newIndex(ops_.size() + 1);
    std::vector<DrawOp> kept;
    kept.reserve(size());
    for (std::size_t i = 0; i < ops_.size(); ++i) {
        newIndex[i] = kept.size();
        if (!dropped_[i])
            kept.push_back(std::move(ops_[i]));
    }
    newIndex[ops_.size()] = kept.size();
    for (Scaled* s : all())
        s->applied = newIndex[s->applied];
    for (auto& [hash, index] : since_)
        index = newIndex[index];
    ops_ = std::move(kept);
    dropped_.assign(ops_.size(), 0);
    dead_ = 0;
}

void DrawingHistory::fold() {
    for (Scaled* s : all()) {
        catchUp(*s);
        s->applied = 0;
    }
    folded_ = oneX_.image;
    ops_.clear();
    dropped_.clear();
    dead_ = 0;
    since_.clear();
}

void DrawingHistory::catchUp(Scaled& s) {
    // Made when first asked for: many a picture is never looked at at scale 1.
    if (s.image.isNull() && width_ > 0 && height_ > 0)
        s.image = Image(width_, height_, back_);
    if (s.cleared) {
        s.image.fill(back_);
        s.cleared = false;
    }
    for (; s.applied < ops_.size(); ++s.applied)
        if (!dropped_[s.applied])
            applyDrawOp(s.image, ops_[s.applied], s.scale, back_);
}

const Image& DrawingHistory::at(double scale) {
    if (scale == 1) {
        catchUp(oneX_);
        return oneX_.image;
    }
    auto it = std::find_if(scaled_.begin(), scaled_.end(),
                           [scale](const Scaled& s) { return s.scale == scale; });
    if (it == scaled_.end()) {
        if (scaled_.size() == scalesKept)
            scaled_.pop_back();
        Scaled s;
        s.scale = scale;
        const int w = static_cast<int>(std::ceil(width_ * scale));
        const int h = static_cast<int>(std::ceil(height_ * scale));
        s.image = folded_.isNull() ? Image(w, h, back_) : enlarged(folded_, w, h);
        scaled_.push_front(std::move(s));
    } else if (it != scaled_.begin()) {
        scaled_.splice(scaled_.begin(), scaled_, it);
    }
    catchUp(scaled_.front());
    return scaled_.front().image;
}

std::vector<DrawOp> DrawingHistory::live() const {
    std::vector<DrawOp> ops;
    ops.reserve(size());
    for (std::size_t i = 0; i < ops_.size(); ++i)
        if (!dropped_[i])
            ops.push_back(ops_[i]);
    return ops;
}

} // namespace kansu
