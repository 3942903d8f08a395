#pragma once

#include <optional>
#include <string>
#include <vector>

// A moving-point problem as a textbook sets it: a figure with named vertices, points that leave a
// vertex together and run along its sides at steady speeds, and y, the area of a polygon of
// vertices and moving points, after x seconds. The lesson is built from one of these; the
// square of the lesson's own design is the one it starts with.
namespace kansu::motion {

// A vertex of the figure, in centimetres, y growing upwards as a textbook draws it.
struct Vertex {
    char name = 'A';
    double x = 0, y = 0;
    bool operator==(const Vertex&) const = default;
};

// A point that leaves a vertex and runs to each vertex of its route in turn, along the sides, at
// a steady speed in cm/s; it stays where its route ends.
struct MovingPoint {
    char name = 'P';
    char from = 'A';
    std::vector<char> route;
    double speed = 1;
    bool operator==(const MovingPoint&) const = default;
};

struct Problem {
    std::string name;  // as files, links and kansu-script name it: "square"
    std::string title; // as a teacher reads it in a menu
    std::string text;  // the problem in words, for the worksheet; empty: worded from the figure
    std::vector<Vertex> vertices;
    std::vector<char> shape; // the outline, vertex by vertex
    std::vector<MovingPoint> points;
    std::vector<char> area;    // the polygon whose area is y: vertices and moving points in order
    std::optional<double> end; // seconds; by default when the last point has arrived

    bool operator==(const Problem&) const = default;
    const Vertex* vertex(char name) const;
    const MovingPoint* point(char name) const;
};

} // namespace kansu::motion
