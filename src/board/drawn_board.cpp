#include "board/drawn_board.h"

#include "board/grid.h"
#include "surface/conversions.h"
#include "surface/utf8.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace kansu::board {

namespace {

float f(double v) {
    return static_cast<float>(v);
}

// Where a label stands: its left, top, width and height.
struct Box {
    double x = 0, y = 0, width = 0, height = 0;
};

double distanceToSegment(PointF p, PointF a, PointF b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = dx * dx + dy * dy;
    const double t =
        length > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length, 0.0, 1.0) : 0;
    return std::hypot(p.x - (a.x + t * dx), p.y - (a.y + t * dy));
}

bool inside(PointF p, const std::vector<PointF>& polygon) {
    bool in = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const PointF a = polygon[i], b = polygon[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
            in = !in;
    }
    return in;
}

// How far a point lies inside the polygon: its distance to the nearest side, or 0 outside.
double depth(PointF p, const std::vector<PointF>& polygon) {
    if (!inside(p, polygon))
        return 0;
    double nearest = 1e300;
    for (std::size_t i = 0; i < polygon.size(); ++i)
        nearest =
            std::min(nearest, distanceToSegment(p, polygon[i], polygon[(i + 1) % polygon.size()]));
    return nearest;
}

// A pixel inside the polygon and clear of its sides' 3-pixel lines, for the fill to start from:
// the deepest of a few points tried, if deep enough.
std::optional<PointF> seedInside(const std::vector<PointF>& polygon) {
    double left = polygon[0].x, right = left, top = polygon[0].y, bottom = top;
    PointF centroid{0, 0};
    for (const PointF& p : polygon) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
        centroid.x += p.x / polygon.size();
        centroid.y += p.y / polygon.size();
    }
    PointF best{std::round(centroid.x), std::round(centroid.y)};
    double deepest = depth(best, polygon);
    const double step = std::max(1.0, std::min(right - left, bottom - top) / 24);
    for (double y = std::floor(top); y <= bottom && deepest < 4; y += step)
        for (double x = std::floor(left); x <= right; x += step) {
            const PointF p{std::round(x), std::round(y)};
            if (const double d = depth(p, polygon); d > deepest) {
                deepest = d;
                best = p;
            }
        }
    if (deepest < 2.5)
        return std::nullopt;
    return best;
}

// The letter of a name in full width, as the lesson writes a point's name: "Ｐ".
std::string fullWidthLetter(char name) {
    std::string text;
    if (name >= 'A' && name <= 'Z')
        utf8::append(text, static_cast<char32_t>(0xFF21 + (name - 'A')));
    else
        text = name;
    return text;
}

// A length as the lesson writes it on the figure: "８ cm", "４.５ cm".
std::string lengthText(double cm) {
    std::string digits = conv::fullWidth(conv::numberText(cm));
    const std::string blank = "\xE3\x80\x80"; // the full-width blank of the sign
    if (digits.starts_with(blank))
        digits.erase(0, blank.size());
    return digits + " cm";
}

} // namespace

DrawnBoard::DrawnBoard(PictureBox& picture, std::shared_ptr<const motion::Course> course,
                       MarkStyles styles)
    : picture_(picture), course_(std::move(course)), styles_(std::move(styles)),
      boardFont_(picture.font()) {}

void DrawnBoard::reset(const Motion& now, bool shaded) {
    square_ = {course_->vertexOnBoard('A'), course_->vertexOnBoard('B'),
               course_->vertexOnBoard('C'), course_->vertexOnBoard('D')};
    now_ = &now;
    shaded_ = shaded;
    grid_ = paths_ = hint_ = false;
    draw();
}

void DrawnBoard::redrawFigure(const Motion& now, bool shaded) {
    now_ = &now;
    shaded_ = shaded;
    grid_ = false;
    dirty_ = true;
}

void DrawnBoard::drawGrid() {
    grid_ = true;
    dirty_ = true;
}

void DrawnBoard::placeMarkers(const Motion& now) {
    now_ = &now;
    dirty_ = true;
}

void DrawnBoard::placePaths(const Motion& now) {
    now_ = &now;
    paths_ = true;
    dirty_ = true;
}

void DrawnBoard::parkPaths() {
    paths_ = false;
    dirty_ = true;
}

void DrawnBoard::placeAreaLabel(const Motion& now) {
    now_ = &now;
    dirty_ = true;
}

void DrawnBoard::placeHint(const Motion& now) {
    now_ = &now;
    hint_ = true;
    dirty_ = true;
}

void DrawnBoard::parkHint() {
    hint_ = false;
    dirty_ = true;
}

void DrawnBoard::settle() {
    if (dirty_)
        draw();
}

void DrawnBoard::draw() {
    dirty_ = false;
    if (!now_)
        return;
    // Stacked as the lesson's own board stacks them: the figure and its shading, the grid over
    // them, then paths and hint, the labels, and the dots on top of everything.
    drawFigure();
    if (grid_)
        drawGridInside(picture_, *course_);
    if (paths_)
        drawPaths();
    if (hint_)
        drawHint();
    drawAreaLabel();
    drawLabels();
    drawDots();
    picture_.setFont(boardFont_);
}

PointF DrawnBoard::cornerOnBoard(char name) const {
    if (course_->problem().vertex(name))
        return course_->vertexOnBoard(name);
    const auto& points = course_->points();
    for (std::size_t i = 0; i < points.size(); ++i)
        if (points[i].name == name)
            return now_->point(i);
    return {};
}

PointF DrawnBoard::centre() const {
    PointF c{0, 0};
    const auto& shape = course_->problem().shape;
    for (const char name : shape) {
        const PointF v = course_->vertexOnBoard(name);
        c.x += v.x / shape.size();
        c.y += v.y / shape.size();
    }
    return c;
}

void DrawnBoard::drawFigure() {
    PictureBox& board = picture_;
    const motion::Problem& problem = course_->problem();
    board.cls();
    board.setDrawWidth(3);
    board.setForeColour(paletteColour(0));
    const PointF first = course_->vertexOnBoard(problem.shape.front());
    const PointF second = course_->vertexOnBoard(problem.shape[1]);
    board.line(f(first.x), f(first.y), f(second.x), f(second.y));
    for (std::size_t i = 2; i < problem.shape.size(); ++i) {
        const PointF v = course_->vertexOnBoard(problem.shape[i]);
        board.lineTo(f(v.x), f(v.y));
    }
    board.lineTo(f(first.x), f(first.y));

    // The area's polygon from its first corner, the other way round, as the lesson's own draws
    // triangle B, Q, P.
    std::vector<PointF> polygon;
    for (const char name : problem.area)
        polygon.push_back(cornerOnBoard(name));
    board.line(f(polygon[0].x), f(polygon[0].y), f(polygon.back().x), f(polygon.back().y));
    for (std::size_t i = polygon.size() - 1; i-- > 0;)
        board.lineTo(f(polygon[i].x), f(polygon[i].y));

    if (shaded_) {
        if (const auto seed = seedInside(polygon)) {
            board.setFillStyle(PictureBox::FillStyle::Solid);
            board.setFillColour(paletteColour(14));
            board.floodFillBorder(static_cast<int>(seed->x), static_cast<int>(seed->y),
                                  board.foreColour());
        }
    }
    board.setFillStyle(PictureBox::FillStyle::Transparent);
}

void DrawnBoard::drawPaths() {
    PictureBox& board = picture_;
    board.setDrawWidth(styles_.pathWidth);
    const auto& points = course_->points();
    for (std::size_t i = 0; i < points.size(); ++i) {
        board.setForeColour(styles_.pathColours[i % styles_.pathColours.size()]);
        const std::size_t current = now_->legOf(i);
        for (std::size_t j = 0; j < points[i].legs.size() && j <= current; ++j) {
            const motion::Leg& leg = points[i].legs[j];
            const PointF end = j < current ? leg.to : now_->point(i);
            board.line(f(leg.from.x), f(leg.from.y), f(end.x), f(end.y));
        }
    }
    board.setDrawWidth(3);
    board.setForeColour(paletteColour(0));
}

void DrawnBoard::drawHint() {
    const auto& height = course_->height();
    if (!height)
        return;
    const PointF a = course_->vertexOnBoard(height->baseFrom);
    const PointF b = course_->vertexOnBoard(height->baseTo);
    const PointF apex = cornerOnBoard(height->apex);
    const double dx = b.x - a.x, dy = b.y - a.y, length = dx * dx + dy * dy;
    const double t = ((apex.x - a.x) * dx + (apex.y - a.y) * dy) / length;
    PointF foot{a.x + t * dx, a.y + t * dy};
    PointF top = apex;
    // A height that lies on a side of the figure stands beside it, outside, where it shows.
    const auto& shape = course_->problem().shape;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const PointF u = course_->vertexOnBoard(shape[i]);
        const PointF v = course_->vertexOnBoard(shape[(i + 1) % shape.size()]);
        if (distanceToSegment(foot, u, v) > 0.5 || distanceToSegment(top, u, v) > 0.5 ||
            std::hypot(top.x - foot.x, top.y - foot.y) < 0.5)
            continue;
        const double sx = v.x - u.x, sy = v.y - u.y, side = std::hypot(sx, sy);
        PointF out{sy / side, -sx / side};
        const PointF mid{(u.x + v.x) / 2, (u.y + v.y) / 2}, c = centre();
        if ((mid.x - c.x) * out.x + (mid.y - c.y) * out.y < 0)
            out = {-out.x, -out.y};
        foot = {foot.x + 4 * out.x, foot.y + 4 * out.y};
        top = {top.x + 4 * out.x, top.y + 4 * out.y};
        break;
    }
    PictureBox& board = picture_;
    board.setDrawWidth(styles_.hintWidth);
    board.setForeColour(styles_.hintColour);
    board.line(f(foot.x), f(foot.y), f(top.x), f(top.y));
    board.setDrawWidth(3);
    board.setForeColour(paletteColour(0));
}

int DrawnBoard::widthOf(const std::string& text, const FontSpec& font) {
    picture_.setFont(font);
    return picture_.textWidth(text);
}

int DrawnBoard::heightOf(const FontSpec& font) {
    picture_.setFont(font);
    return picture_.textHeight();
}

void DrawnBoard::printAt(const std::string& text, double left, double top, const FontSpec& font,
                         OleColour colour) {
    picture_.setFont(font);
    picture_.setForeColour(colour);
    picture_.setCurrentX(f(std::round(left)));
    picture_.setCurrentY(f(std::round(top)));
    picture_.print(text);
}

void DrawnBoard::drawLabels() {
    const motion::Problem& problem = course_->problem();
    const PointF c = centre();
    // Where labels stand already, for the points' names to keep clear of.
    std::vector<Box> taken;
    auto overlaps = [&](const Box& r) {
        return std::any_of(taken.begin(), taken.end(), [&](const Box& t) {
            return r.x < t.x + t.width && t.x < r.x + r.width && r.y < t.y + t.height &&
                   t.y < r.y + r.height;
        });
    };
    // Each vertex's name outside its corner, away from the figure's middle.
    for (const char name : problem.shape) {
        const PointF v = course_->vertexOnBoard(name);
        const std::string text(1, name);
        const int w = widthOf(text, styles_.vertexFont), h = heightOf(styles_.vertexFont);
        const double left = v.x < c.x - 1 ? v.x - w - 5 : v.x > c.x + 1 ? v.x + 5 : v.x - w / 2.0;
        const double top = v.y < c.y - 1 ? v.y - h - 2 : v.y > c.y + 1 ? v.y : v.y - h / 2.0;
        printAt(text, left, top, styles_.vertexFont, styles_.vertexColour);
        taken.push_back({left, top, double(w), double(h)});
    }
    // The lengths of the upright and level sides, each length once: below or above a level side,
    // beside an upright one, outside the figure.
    std::vector<std::pair<bool, double>> labelled;
    for (std::size_t i = 0; i < problem.shape.size(); ++i) {
        const motion::Vertex& a = *problem.vertex(problem.shape[i]);
        const motion::Vertex& b = *problem.vertex(problem.shape[(i + 1) % problem.shape.size()]);
        const bool level = std::abs(a.y - b.y) < 1e-9, upright = std::abs(a.x - b.x) < 1e-9;
        if (!level && !upright)
            continue;
        const double cm = level ? std::abs(b.x - a.x) : std::abs(b.y - a.y);
        if (std::any_of(labelled.begin(), labelled.end(), [&](const auto& l) {
                return l.first == level && std::abs(l.second - cm) < 1e-9;
            }))
            continue;
        labelled.emplace_back(level, cm);
        const std::string text = lengthText(cm);
        const int w = widthOf(text, styles_.lengthFont), h = heightOf(styles_.lengthFont);
        const PointF u = course_->vertexOnBoard(a.name), v = course_->vertexOnBoard(b.name);
        const PointF mid{(u.x + v.x) / 2, (u.y + v.y) / 2};
        if (level)
            printAt(text, mid.x - w / 2.0, mid.y > c.y ? mid.y + 36 : mid.y - h - 6,
                    styles_.lengthFont, styles_.lengthColour);
        else
            printAt(text, mid.x < c.x ? mid.x - w - 28 : mid.x + 28, mid.y - h / 2.0,
                    styles_.lengthFont, styles_.lengthColour);
    }
    // Each point's name beside the side it runs along, outside the figure.
    const auto& points = course_->points();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::string text = fullWidthLetter(points[i].name);
        const int w = widthOf(text, styles_.pointFont), h = heightOf(styles_.pointFont);
        const PointF p = now_->point(i);
        PointF along{1, 0};
        if (!points[i].legs.empty())
            along = points[i].legs[now_->legOf(i)].direction;
        PointF out{along.y, -along.x};
        const PointF from = points[i].legs.empty() ? p : points[i].legs[now_->legOf(i)].from;
        if ((from.x - c.x) * out.x + (from.y - c.y) * out.y < 0)
            out = {-out.x, -out.y};
        double left = 0, top = 0;
        if (std::abs(out.y) > 0.9) { // a level side: beside the point, below or above it
            left = p.x + 4;
            top = out.y > 0 ? p.y : p.y - h - 2;
        } else if (std::abs(out.x) > 0.9) { // an upright side: left or right of it, above P
            left = out.x < 0 ? p.x - w - 2 : p.x + 5;
            top = p.y - h - 2;
        } else {
            const double reach = std::max(w, h) / 2.0 + 6;
            left = p.x + out.x * reach - w / 2.0;
            top = p.y + out.y * reach - h / 2.0;
        }
        // Clear of a vertex's name or another point's: moved further out from the side, or along
        // it, whichever frees it first.
        const Box first{left, top, double(w), double(h)};
        Box place = first;
        const double step = std::max(w, h) * 0.6;
        for (int k = 1; k <= 4 && overlaps(place); ++k)
            for (const PointF shift : {PointF{out.x * step * k, out.y * step * k},
                                       PointF{-along.x * step * k, -along.y * step * k},
                                       PointF{along.x * step * k, along.y * step * k}}) {
                place = {first.x + shift.x, first.y + shift.y, first.width, first.height};
                if (!overlaps(place))
                    break;
            }
        if (overlaps(place))
            place = first;
        printAt(text, place.x, place.y, styles_.pointFont, styles_.pointColour);
        taken.push_back(place);
    }
}

void DrawnBoard::drawAreaLabel() {
    if (!shaded_ || now_->atStart())
        return;
    std::vector<PointF> polygon;
    PointF c{0, 0};
    for (const char name : course_->problem().area) {
        polygon.push_back(cornerOnBoard(name));
        c.x += polygon.back().x / course_->problem().area.size();
        c.y += polygon.back().y / course_->problem().area.size();
    }
    const std::string label = "ｙ cm";
    const int w = widthOf(label, styles_.areaFont), h = heightOf(styles_.areaFont);
    const int w2 = widthOf("2", styles_.squaredFont);
    const double left = c.x - (w + w2) / 2.0, top = c.y - h / 2.0;
    // Only where the whole label lies inside the polygon.
    for (const PointF corner : {PointF{left, top}, PointF{left + w + w2, top},
                                PointF{left, top + h}, PointF{left + w + w2, top + h}})
        if (!inside(corner, polygon))
            return;
    printAt(label, left, top, styles_.areaFont, styles_.areaColour);
    printAt("2", left + w - 2, top - 2, styles_.squaredFont, styles_.areaColour);
}

void DrawnBoard::drawDots() {
    PictureBox& board = picture_;
    board.setDrawWidth(styles_.dotSize);
    board.setForeColour(styles_.dotColour);
    for (std::size_t i = 0; i < course_->points().size(); ++i) {
        const PointF p = now_->point(i);
        board.line(f(p.x), f(p.y), f(p.x), f(p.y));
    }
    board.setDrawWidth(3);
    board.setForeColour(paletteColour(0));
}

} // namespace kansu::board
