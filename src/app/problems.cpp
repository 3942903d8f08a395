#include "app/problems.h"

#include "app/json.h"
#include "motion/course.h"
#include "surface/utf8.h"

#include <algorithm>
#include <cmath>
#include <nlohmann/json.hpp>
#include <set>

namespace kansu {

// The problems of data/problems, as the build puts them into the program, the square first.
const std::vector<motion::Problem>& builtInProblemValues();

namespace {

using Json = nlohmann::json;
using motion::MovingPoint;
using motion::Problem;
using motion::Vertex;

constexpr std::size_t mostVertices = 12;
constexpr std::size_t mostPoints = 4;
constexpr double largestSize = 30;     // cm across or up
constexpr double farthestPlace = 1000; // cm from the origin
constexpr double latestEnd = 60;       // s
constexpr double fastest = 1000;       // cm/s

// The first reason a problem's text is none; the rest of the reading stops at it.
class Reasons {
public:
    // Always false, so that a check can return it.
    bool fail(std::string reason) {
        if (first_.empty())
            first_ = std::move(reason);
        return false;
    }
    const std::string& first() const { return first_; }

private:
    std::string first_;
};

// Where the text stops being JSON, from the parser's own account.
class Complaint : public nlohmann::json_sax<Json> {
public:
    std::string said;
    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override { return true; }
    bool key(string_t&) override { return true; }
    bool end_object() override { return true; }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t position, const std::string&,
                     const nlohmann::detail::exception&) override {
        said = "not JSON: it breaks off or goes wrong at byte " + std::to_string(position);
        return false;
    }
};

bool isName(const Json& value) {
    if (!value.is_string())
        return false;
    const std::string& s = value.get_ref<const std::string&>();
    return s.size() == 1 && s[0] >= 'A' && s[0] <= 'Z';
}

char nameIn(const Json& value) {
    return value.get_ref<const std::string&>()[0];
}

bool numberIn(const Json& value, const std::string& field, double& v, Reasons& why) {
    if (!value.is_number())
        return why.fail(field + ": must be a number");
    v = value.get<double>();
    if (!std::isfinite(v))
        return why.fail(field + ": must be a finite number");
    return true;
}

bool textIn(const Json& object, const char* field, std::size_t longest, std::string& text,
            Reasons& why) {
    const auto it = object.find(field);
    if (it == object.end())
        return true;
    if (!it->is_string())
        return why.fail(std::string(field) + ": must be a text");
    const std::string& s = it->get_ref<const std::string&>();
    if (!utf8::valid(s))
        return why.fail(std::string(field) + ": must be UTF-8 text");
    if (utf8::decode(s).size() > longest)
        return why.fail(std::string(field) + ": longer than " + std::to_string(longest) +
                        " characters");
    for (const char c : s)
        if (static_cast<unsigned char>(c) < 0x20)
            return why.fail(std::string(field) + ": must be one line of text");
    text = s;
    return true;
}

const Json* member(const Json& object, const char* field, const std::string& within, Reasons& why) {
    const auto it = object.find(field);
    if (it == object.end()) {
        why.fail(within + field + ": missing");
        return nullptr;
    }
    return &*it;
}

bool namesIn(const Json& value, const std::string& field, std::vector<char>& names, Reasons& why) {
    if (!value.is_array())
        return why.fail(field + ": must be a list of names");
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (!isName(value[i]))
            return why.fail(field + "[" + std::to_string(i) +
                            "]: must be the name of a vertex or point, one capital letter");
        names.push_back(nameIn(value[i]));
    }
    return true;
}

// Whether segments ab and cd cross or touch, ends shared with a neighbour aside.
bool cross(Vertex a, Vertex b, Vertex c, Vertex d) {
    auto side = [](Vertex p, Vertex q, Vertex r) {
        const double v = (q.x - p.x) * (r.y - p.y) - (q.y - p.y) * (r.x - p.x);
        return v > 1e-12 ? 1 : v < -1e-12 ? -1 : 0;
    };
    auto onSegment = [](Vertex p, Vertex q, Vertex r) {
        return std::min(p.x, q.x) <= r.x && r.x <= std::max(p.x, q.x) &&
               std::min(p.y, q.y) <= r.y && r.y <= std::max(p.y, q.y);
    };
    const int d1 = side(c, d, a), d2 = side(c, d, b), d3 = side(a, b, c), d4 = side(a, b, d);
    if (d1 * d2 < 0 && d3 * d4 < 0)
        return true;
    return (d1 == 0 && onSegment(c, d, a)) || (d2 == 0 && onSegment(c, d, b)) ||
           (d3 == 0 && onSegment(a, b, c)) || (d4 == 0 && onSegment(a, b, d));
}

bool checkShape(const Problem& p, Reasons& why) {
    const std::size_t n = p.shape.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Vertex &a = *p.vertex(p.shape[i]), &b = *p.vertex(p.shape[(i + 1) % n]);
        if (std::hypot(b.x - a.x, b.y - a.y) < 1e-6)
            return why.fail("shape: its side " + std::string{a.name, b.name} + " has no length");
    }
    // Sides that are not neighbours never meet; neighbours meet only at their shared corner.
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j) {
            const bool neighbours = j == i + 1 || (i == 0 && j == n - 1);
            const Vertex &a = *p.vertex(p.shape[i]), &b = *p.vertex(p.shape[(i + 1) % n]);
            const Vertex &c = *p.vertex(p.shape[j]), &d = *p.vertex(p.shape[(j + 1) % n]);
            if (!neighbours && cross(a, b, c, d))
                return why.fail("shape: its sides " + std::string{a.name, b.name} + " and " +
                                std::string{c.name, d.name} + " cross");
            if (neighbours) {
                // Folded back on itself: the two sides overlap beyond their shared corner.
                const Vertex &shared = j == i + 1 ? b : a, &u = j == i + 1 ? a : b,
                             &w = j == i + 1 ? d : c;
                const double cross2 =
                    (u.x - shared.x) * (w.y - shared.y) - (u.y - shared.y) * (w.x - shared.x);
                const double dot =
                    (u.x - shared.x) * (w.x - shared.x) + (u.y - shared.y) * (w.y - shared.y);
                if (std::abs(cross2) < 1e-12 && dot > 0)
                    return why.fail("shape: its sides " + std::string{a.name, b.name} + " and " +
                                    std::string{c.name, d.name} + " overlap");
            }
        }
    double twice = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Vertex& a = *p.vertex(p.shape[i]);
        const Vertex& b = *p.vertex(p.shape[(i + 1) % n]);
        twice += a.x * b.y - b.x * a.y;
    }
    if (std::abs(twice) < 1e-9)
        return why.fail("shape: it encloses no area");
    return true;
}

bool isSide(const Problem& p, char a, char b) {
    const std::size_t n = p.shape.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char u = p.shape[i], v = p.shape[(i + 1) % n];
        if ((u == a && v == b) || (u == b && v == a))
            return true;
    }
    return false;
}

std::optional<Problem> problemIn(const Json& root, std::string_view fallbackName, Reasons& why) {
    if (!root.is_object()) {
        why.fail("the problem must be a JSON object");
        return std::nullopt;
    }
    Problem p;
    if (!textIn(root, "name", 32, p.name, why) || !textIn(root, "title", 60, p.title, why) ||
        !textIn(root, "text", 400, p.text, why))
        return std::nullopt;
    if (p.name.empty()) {
        // Named after its file, in the letters a name may have.
        for (const char c : fallbackName)
            if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')
                p.name += c;
            else if (c >= 'A' && c <= 'Z')
                p.name += static_cast<char>(c - 'A' + 'a');
        p.name = p.name.substr(0, 32);
        if (p.name.empty())
            p.name = "mine";
    }
    for (const char c : p.name)
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) {
            why.fail("name: only small letters, digits and hyphens");
            return std::nullopt;
        }

    const Json* vertices = member(root, "vertices", "", why);
    if (!vertices)
        return std::nullopt;
    if (!vertices->is_object()) {
        why.fail("vertices: must be an object of names and [x, y] in cm");
        return std::nullopt;
    }
    if (vertices->size() > mostVertices) {
        why.fail("vertices: more than 12 vertices");
        return std::nullopt;
    }
    for (const auto& [name, place] : vertices->items()) {
        const std::string field = "vertices." + name;
        if (name.size() != 1 || name[0] < 'A' || name[0] > 'Z') {
            why.fail(field + ": a vertex is named by one capital letter");
            return std::nullopt;
        }
        if (!place.is_array() || place.size() != 2) {
            why.fail(field + ": must be [x, y] in cm");
            return std::nullopt;
        }
        Vertex v{name[0], 0, 0};
        if (!numberIn(place[0], field + "[0]", v.x, why) ||
            !numberIn(place[1], field + "[1]", v.y, why))
            return std::nullopt;
        if (std::abs(v.x) > farthestPlace || std::abs(v.y) > farthestPlace) {
            why.fail(field + ": farther than 1000 cm from the origin");
            return std::nullopt;
        }
        p.vertices.push_back(v);
    }

    const Json* shape = member(root, "shape", "", why);
    if (!shape || !namesIn(*shape, "shape", p.shape, why))
        return std::nullopt;
    if (p.shape.size() < 3) {
        why.fail("shape: fewer than three corners");
        return std::nullopt;
    }
    for (std::size_t i = 0; i < p.shape.size(); ++i) {
        if (!p.vertex(p.shape[i])) {
            why.fail("shape[" + std::to_string(i) + "]: unknown vertex '" +
                     std::string(1, p.shape[i]) + "'");
            return std::nullopt;
        }
        if (std::count(p.shape.begin(), p.shape.end(), p.shape[i]) > 1) {
            why.fail("shape: the vertex '" + std::string(1, p.shape[i]) + "' twice");
            return std::nullopt;
        }
    }
    double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
    for (const Vertex& v : p.vertices) {
        minX = std::min(minX, v.x);
        maxX = std::max(maxX, v.x);
        minY = std::min(minY, v.y);
        maxY = std::max(maxY, v.y);
    }
    if (maxX - minX > largestSize || maxY - minY > largestSize) {
        why.fail("vertices: the figure is larger than 30 cm across or up");
        return std::nullopt;
    }
    if (!checkShape(p, why))
        return std::nullopt;

    const Json* points = member(root, "points", "", why);
    if (!points)
        return std::nullopt;
    if (!points->is_array() || points->empty()) {
        why.fail("points: must be a list of at least one moving point");
        return std::nullopt;
    }
    if (points->size() > mostPoints) {
        why.fail("points: more than 4 moving points");
        return std::nullopt;
    }
    for (std::size_t i = 0; i < points->size(); ++i) {
        const std::string field = "points[" + std::to_string(i) + "]";
        const Json& point = (*points)[i];
        if (!point.is_object()) {
            why.fail(field + ": must be an object with name, from, route and speed");
            return std::nullopt;
        }
        MovingPoint m;
        const Json* name = member(point, "name", field + ".", why);
        if (!name)
            return std::nullopt;
        if (!isName(*name)) {
            why.fail(field + ".name: one capital letter");
            return std::nullopt;
        }
        m.name = nameIn(*name);
        if (p.vertex(m.name) || p.point(m.name)) {
            why.fail(field + ".name: '" + std::string(1, m.name) +
                     "' already names a vertex or a point");
            return std::nullopt;
        }
        const Json* from = member(point, "from", field + ".", why);
        if (!from)
            return std::nullopt;
        if (!isName(*from) || !p.vertex(nameIn(*from))) {
            why.fail(field + ".from: unknown vertex");
            return std::nullopt;
        }
        m.from = nameIn(*from);
        m.route.clear();
        const Json* route = member(point, "route", field + ".", why);
        if (!route || !namesIn(*route, field + ".route", m.route, why))
            return std::nullopt;
        if (m.route.empty()) {
            why.fail(field + ".route: no vertex to run to");
            return std::nullopt;
        }
        char at = m.from;
        for (std::size_t k = 0; k < m.route.size(); ++k) {
            const char next = m.route[k];
            const std::string leg = field + ".route[" + std::to_string(k) + "]";
            if (!p.vertex(next)) {
                why.fail(leg + ": unknown vertex '" + std::string(1, next) + "'");
                return std::nullopt;
            }
            if (!isSide(p, at, next)) {
                why.fail(leg + ": " + std::string{at, next} + " is not a side of the shape");
                return std::nullopt;
            }
            at = next;
        }
        const Json* speed = member(point, "speed", field + ".", why);
        if (!speed || !numberIn(*speed, field + ".speed", m.speed, why))
            return std::nullopt;
        if (!(m.speed > 0)) {
            why.fail(field + ".speed: must be a number greater than 0");
            return std::nullopt;
        }
        if (m.speed > fastest) {
            why.fail(field + ".speed: faster than 1000 cm/s");
            return std::nullopt;
        }
        p.points.push_back(m);
    }

    const Json* area = member(root, "area", "", why);
    if (!area || !namesIn(*area, "area", p.area, why))
        return std::nullopt;
    if (p.area.size() < 3) {
        why.fail("area: fewer than three corners");
        return std::nullopt;
    }
    for (std::size_t i = 0; i < p.area.size(); ++i)
        if (!p.vertex(p.area[i]) && !p.point(p.area[i])) {
            why.fail("area[" + std::to_string(i) + "]: unknown vertex or point '" +
                     std::string(1, p.area[i]) + "'");
            return std::nullopt;
        }

    if (const auto end = root.find("end"); end != root.end()) {
        double seconds = 0;
        if (!numberIn(*end, "end", seconds, why))
            return std::nullopt;
        if (!(seconds > 0)) {
            why.fail("end: must be a number of seconds greater than 0");
            return std::nullopt;
        }
        if (seconds > latestEnd) {
            why.fail("end: past 60 s");
            return std::nullopt;
        }
        if (std::abs(seconds * 10 - std::round(seconds * 10)) > 1e-9) {
            why.fail("end: must be a whole number of tenths of a second");
            return std::nullopt;
        }
        p.end = std::round(seconds * 10) / 10;
    }
    // Worked out, the motion may not last past a minute either.
    if (motion::Course(p).endSeconds() > latestEnd + 1e-9) {
        why.fail("points: the last point arrives after 60 s (give an end of at most 60)");
        return std::nullopt;
    }
    return p;
}

} // namespace

ReadProblem readProblem(std::string_view text, std::string_view name) {
    if (text.size() > largestProblemFile)
        return {std::nullopt, "the file is larger than 64 KiB"};
    const Json root = Json::parse(text, nullptr, false);
    if (root.is_discarded()) {
        Complaint complaint;
        Json::sax_parse(text, &complaint);
        return {std::nullopt, complaint.said.empty() ? "not JSON" : complaint.said};
    }
    Reasons why;
    std::optional<motion::Problem> problem = problemIn(root, name, why);
    return {std::move(problem), why.first()};
}

std::string problemJson(const motion::Problem& p) {
    auto nameOf = [](char c) {
        return json::string(std::string(1, c));
    };
    auto names = [&](const std::vector<char>& list) {
        json::Array a;
        for (const char c : list)
            a.item(nameOf(c));
        return a.close();
    };
    json::Object vertices;
    for (const Vertex& v : p.vertices)
        vertices.field(std::string(1, v.name),
                       json::Array().item(json::number(v.x)).item(json::number(v.y)).close());
    json::Array points;
    for (const MovingPoint& m : p.points) {
        json::Object o;
        o.field("name", nameOf(m.name)).field("from", nameOf(m.from));
        o.field("route", names(m.route)).field("speed", json::number(m.speed));
        points.item(o.close());
    }
    json::Object o;
    o.field("name", json::string(p.name)).field("title", json::string(p.title));
    if (!p.text.empty())
        o.field("text", json::string(p.text));
    o.field("vertices", vertices.close()).field("shape", names(p.shape));
    o.field("points", points.close()).field("area", names(p.area));
    if (p.end)
        o.field("end", json::number(*p.end));
    return o.close();
}

const std::vector<motion::Problem>& builtInProblems() {
    return builtInProblemValues();
}

const motion::Problem& lessonsOwnProblem() {
    return builtInProblems().front();
}

const motion::Problem* builtInNamed(std::string_view name) {
    for (const motion::Problem& p : builtInProblems())
        if (p.name == name)
            return &p;
    return nullptr;
}

} // namespace kansu
