#include "motion/course.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace kansu::motion {

namespace {

// Times and lengths closer than this are the same.
constexpr double near = 1e-9;

// The colours of the pieces of y's rule, in order: light blue and light red, as the lesson's own
// square has them, then colours that stay clear on white and beside the graph's green.
constexpr int pieceColours[] = {9, 12, 13, 1, 4, 5, 3, 6};

// A coefficient worked out in floating point, set to the fraction of small numbers it stands
// for: a rule a class writes (x², 4x, ½x², 32 − 2x) is exact.
double snapped(double v) {
    if (std::abs(v) < near)
        return 0;
    for (int q = 1; q <= 1000; ++q) {
        const double p = std::round(v * q);
        if (std::abs(p / q - v) <= near * std::max(1.0, std::abs(v)))
            return p / q;
    }
    return v;
}

bool collinear(const std::vector<PointF>& points) {
    // Along the line through the two points farthest apart, every point within a hair of it.
    PointF a, b;
    double widest = 0;
    for (const PointF& p : points)
        for (const PointF& q : points)
            if (const double d = std::hypot(q.x - p.x, q.y - p.y); d > widest) {
                widest = d;
                a = p;
                b = q;
            }
    if (widest < near)
        return false;
    for (const PointF& p : points) {
        const double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
        if (std::abs(cross) / widest > 1e-7)
            return false;
    }
    return true;
}

} // namespace

const Vertex* Problem::vertex(char name) const {
    const auto it = std::find_if(vertices.begin(), vertices.end(),
                                 [name](const Vertex& v) { return v.name == name; });
    return it == vertices.end() ? nullptr : &*it;
}

const MovingPoint* Problem::point(char name) const {
    const auto it = std::find_if(points.begin(), points.end(),
                                 [name](const MovingPoint& p) { return p.name == name; });
    return it == points.end() ? nullptr : &*it;
}

Course::Course(Problem problem) : problem_(std::move(problem)) {
    placeFigure();
    laySides();
    findPieces();
    findHeight();
}

void Course::placeFigure() {
    double minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (std::size_t i = 0; i < problem_.vertices.size(); ++i) {
        const Vertex& v = problem_.vertices[i];
        minX = i ? std::min(minX, v.x) : v.x;
        maxX = i ? std::max(maxX, v.x) : v.x;
        minY = i ? std::min(minY, v.y) : v.y;
        maxY = i ? std::max(maxY, v.y) : v.y;
    }
    const double width = std::max(maxX - minX, near), height = std::max(maxY - minY, near);
    pixelsPerCm_ = static_cast<int>(
        std::max(1.0, std::min(std::floor(figureSide / width), std::floor(figureSide / height))));
    const double s = pixelsPerCm_;
    // Centred in the figure's square, on whole pixels; the lesson's own square fills it.
    left_ = figureLeft + std::floor((figureSide - width * s) / 2);
    bottom_ = figureTop + figureSide - std::floor((figureSide - height * s) / 2);
    right_ = left_ + width * s;
    top_ = bottom_ - height * s;
    origin_ = {left_ - minX * s, bottom_ + minY * s};
}

PointF Course::onBoard(double xCm, double yCm) const {
    const double s = pixelsPerCm_;
    return {origin_.x + s * xCm, origin_.y - s * yCm};
}

PointF Course::vertexOnBoard(char name) const {
    const Vertex* v = problem_.vertex(name);
    return v ? onBoard(v->x, v->y) : PointF{};
}

void Course::laySides() {
    double lastArrival = 0;
    for (const MovingPoint& m : problem_.points) {
        PointCourse c;
        c.name = m.name;
        c.from = m.from;
        c.speed = m.speed;
        c.pixelsPerCounter = m.speed * pixelsPerCm_ / counterPerSecond;
        char at = m.from;
        double along = 0, alongCm = 0;
        for (const char next : m.route) {
            Leg leg;
            leg.fromName = at;
            leg.toName = next;
            leg.from = vertexOnBoard(at);
            leg.to = vertexOnBoard(next);
            const double length = std::hypot(leg.to.x - leg.from.x, leg.to.y - leg.from.y);
            leg.direction = {(leg.to.x - leg.from.x) / length, (leg.to.y - leg.from.y) / length};
            leg.start = along;
            leg.end = along += length;
            const Vertex &a = *problem_.vertex(at), &b = *problem_.vertex(next);
            leg.fromCm = {a.x, a.y};
            leg.toCm = {b.x, b.y};
            const double lengthCm = std::hypot(b.x - a.x, b.y - a.y);
            leg.directionCm = {(b.x - a.x) / lengthCm, (b.y - a.y) / lengthCm};
            leg.startCm = alongCm;
            leg.endCm = alongCm += lengthCm;
            c.legs.push_back(leg);
            at = next;
        }
        lastArrival = std::max(lastArrival, alongCm / m.speed);
        points_.push_back(std::move(c));
    }
    // The motion ends on a tenth of a second: when the last point has arrived, or when the
    // problem says.
    const double end = problem_.end.value_or(lastArrival);
    endCounter_ = std::ceil(end * 10 - near) * counterPerStep;
}

PointF Course::pointOnBoard(std::size_t point, double counter) const {
    const PointCourse& c = points_[point];
    if (c.legs.empty())
        return vertexOnBoard(c.from);
    const Leg& leg = c.legs[legAt(point, counter)];
    const double along = std::min(c.pixelsPerCounter * counter, c.legs.back().end) - leg.start;
    return {leg.from.x + leg.direction.x * along, leg.from.y + leg.direction.y * along};
}

std::size_t Course::legAt(std::size_t point, double counter) const {
    const PointCourse& c = points_[point];
    const double along = c.pixelsPerCounter * counter;
    for (std::size_t i = 0; i < c.legs.size(); ++i)
        if (along <= c.legs[i].end)
            return i;
    return c.legs.empty() ? 0 : c.legs.size() - 1;
}

double Course::counterAt(std::size_t point, double pixels) const {
    return pixels / points_[point].pixelsPerCounter;
}

PointF Course::pointAt(std::size_t point, double seconds) const {
    const PointCourse& c = points_[point];
    const double along = c.speed * seconds;
    for (const Leg& leg : c.legs)
        if (along <= leg.endCm)
            return {leg.fromCm.x + leg.directionCm.x * (along - leg.startCm),
                    leg.fromCm.y + leg.directionCm.y * (along - leg.startCm)};
    if (c.legs.empty()) {
        const Vertex& v = *problem_.vertex(c.from);
        return {v.x, v.y};
    }
    return c.legs.back().toCm;
}

std::optional<char> Course::vertexAt(std::size_t point, double seconds) const {
    const PointCourse& c = points_[point];
    const double along = c.speed * seconds;
    if (std::abs(along) < near)
        return c.from;
    for (const Leg& leg : c.legs)
        if (std::abs(along - leg.endCm) < near)
            return leg.toName;
    if (c.legs.empty() || along > c.legs.back().endCm)
        return c.legs.empty() ? c.from : c.legs.back().toName;
    return std::nullopt;
}

PointF Course::cornerAt(char name, double seconds) const {
    if (const Vertex* v = problem_.vertex(name))
        return {v->x, v->y};
    for (std::size_t i = 0; i < points_.size(); ++i)
        if (points_[i].name == name)
            return pointAt(i, seconds);
    return {};
}

double Course::polygonAreaAt(double seconds) const {
    double twice = 0;
    const std::vector<char>& corners = problem_.area;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const PointF a = cornerAt(corners[i], seconds);
        const PointF b = cornerAt(corners[(i + 1) % corners.size()], seconds);
        twice += a.x * b.y - b.x * a.y;
    }
    return twice / 2;
}

const Piece& Course::pieceAt(double seconds) const {
    for (const Piece& p : pieces_)
        if (seconds <= p.to)
            return p;
    return pieces_.back();
}

void Course::findPieces() {
    const double end = endSeconds();
    // Where a point turns a corner or arrives, the points' motions change, and y's rule with
    // them; in between every point moves at a steady velocity, and y is a quadratic in x.
    std::vector<double> breaks{0, end};
    for (const PointCourse& c : points_)
        for (const Leg& leg : c.legs)
            if (const double t = leg.endCm / c.speed; t > near && t < end - near)
                breaks.push_back(t);
    std::sort(breaks.begin(), breaks.end());
    breaks.erase(std::unique(breaks.begin(), breaks.end(),
                             [](double a, double b) { return std::abs(a - b) < near; }),
                 breaks.end());

    struct Rule {
        double from, to, a, b, c;
    };
    std::vector<Rule> rules;
    for (std::size_t i = 0; i + 1 < breaks.size(); ++i) {
        const double x0 = breaks[i], x2 = breaks[i + 1], x1 = (x0 + x2) / 2;
        const double y0 = polygonAreaAt(x0), y1 = polygonAreaAt(x1), y2 = polygonAreaAt(x2);
        const double slope01 = (y1 - y0) / (x1 - x0), slope02 = (y2 - y0) / (x2 - x0);
        const double a = (slope02 - slope01) / (x2 - x1);
        const double b = slope01 - a * (x1 + x0);
        const double c = y0 - a * x0 * x0 - b * x0;
        // The polygon may turn over inside the piece: its area is the rule's size either side.
        std::vector<double> cuts{x0};
        if (std::abs(a) > near) {
            const double discriminant = b * b - 4 * a * c;
            if (discriminant > 0)
                for (const double sign : {-1.0, 1.0}) {
                    const double root = (-b + sign * std::sqrt(discriminant)) / (2 * a);
                    if (root > x0 + near && root < x2 - near)
                        cuts.push_back(root);
                }
        } else if (std::abs(b) > near) {
            if (const double root = -c / b; root > x0 + near && root < x2 - near)
                cuts.push_back(root);
        }
        std::sort(cuts.begin(), cuts.end());
        cuts.push_back(x2);
        for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
            const double mid = (cuts[k] + cuts[k + 1]) / 2;
            const double sign = a * mid * mid + b * mid + c < 0 ? -1 : 1;
            rules.push_back(
                {cuts[k], cuts[k + 1], snapped(sign * a), snapped(sign * b), snapped(sign * c)});
        }
    }
    // A corner turned without a change of rule starts no new piece.
    for (const Rule& r : rules) {
        if (!pieces_.empty() && pieces_.back().a == r.a && pieces_.back().b == r.b &&
            pieces_.back().c == r.c) {
            pieces_.back().to = r.to;
            continue;
        }
        Piece p;
        p.from = r.from;
        p.to = r.to;
        p.a = r.a;
        p.b = r.b;
        p.c = r.c;
        p.colour = pieceColours[pieces_.size() % std::size(pieceColours)];
        pieces_.push_back(p);
    }
    if (pieces_.empty())
        pieces_.push_back(Piece{0, end, 0, 0, 0, pieceColours[0]});
    // The largest y: at an end of a piece, or at the top of a parabola inside it.
    for (const Piece& p : pieces_) {
        largestArea_ = std::max({largestArea_, p.at(p.from), p.at(p.to)});
        if (p.a < 0)
            if (const double top = -p.b / (2 * p.a); top > p.from && top < p.to)
                largestArea_ = std::max(largestArea_, p.at(top));
    }
}

void Course::findHeight() {
    const std::vector<char>& corners = problem_.area;
    if (corners.size() != 3)
        return;
    // Every place a corner takes: a vertex its own, a moving point those of its route.
    auto places = [this](char name) {
        std::vector<PointF> at;
        if (const Vertex* v = problem_.vertex(name)) {
            at.push_back({v->x, v->y});
        } else if (const MovingPoint* m = problem_.point(name)) {
            at.push_back({problem_.vertex(m->from)->x, problem_.vertex(m->from)->y});
            for (const char r : m->route)
                at.push_back({problem_.vertex(r)->x, problem_.vertex(r)->y});
        }
        return at;
    };
    constexpr std::array<std::array<std::size_t, 3>, 3> bases{{{0, 1, 2}, {0, 2, 1}, {1, 2, 0}}};
    for (const auto& [first, second, apex] : bases) {
        std::vector<PointF> line = places(corners[first]);
        const std::vector<PointF> more = places(corners[second]);
        line.insert(line.end(), more.begin(), more.end());
        if (!collinear(line))
            continue;
        // The base line by two of its vertices farthest apart.
        std::vector<char> names;
        for (const char n : {corners[first], corners[second]}) {
            if (problem_.vertex(n)) {
                names.push_back(n);
            } else if (const MovingPoint* m = problem_.point(n)) {
                names.push_back(m->from);
                names.insert(names.end(), m->route.begin(), m->route.end());
            }
        }
        char from = names.front(), to = names.front();
        double widest = 0;
        for (const char a : names)
            for (const char b : names) {
                const Vertex &va = *problem_.vertex(a), &vb = *problem_.vertex(b);
                if (const double d = std::hypot(vb.x - va.x, vb.y - va.y); d > widest) {
                    widest = d;
                    from = a;
                    to = b;
                }
            }
        height_ = Height{from, to, corners[apex]};
        return;
    }
}

} // namespace kansu::motion
