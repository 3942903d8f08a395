#pragma once

#include "app/form1.h"
#include "surface/virtual_host.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kansu::testing {

// A started lesson on a virtual clock, with helpers to drive it as a user would.
class Lesson : public ::testing::Test {
protected:
    void SetUp() override { form.Form_Load(); }

    void click(ControlId id) { form.click(id); }
    void tick(ControlId id) {
        if (!(form.control(id).value != 0))
            form.click(id);
    }
    void untick(ControlId id) {
        if ((form.control(id).value != 0))
            form.click(id);
    }
    // Presses "進む" or "戻る" until the counter stands at m.
    void stepTo(double m) {
        while (form.vars().michinori < m)
            form.click(ControlId::susumu);
        while (form.vars().michinori > m)
            form.click(ControlId::modoru);
    }
    const Control& c(ControlId id) const { return form.control(id); }
    std::string text1() const { return form.control(ControlId::Text1).text; }
    Rgb board(int x, int y) const { return form.box(ControlId::kokuban).image().pixel(x, y); }
    Rgb graph(double x, double y) const {
        return form.box(ControlId::gamen).image().pixel(static_cast<int>(x), static_cast<int>(y));
    }

    VirtualHost host;
    Form1 form{host};
};

constexpr Rgb rgb(OleColour c) {
    return toRgb(c);
}

// Texts a class may type into the time box, none of them a time on the graph (0.1 .. 8.0).
inline std::vector<std::string> offGraphTexts() {
    return {
        "",    "   ", "abc",  "-1", "1e400", "nan",        "８",         "１２",
        "8.5", "9",   "0.05", "-0", "inf",   "&H7FFFFFFF", "2147483648", std::string(10000, '9')};
}

// A line control's end points, X1, Y1, X2, Y2.
using Segment = std::array<float, 4>;
inline Segment lineOf(const Control& c) {
    return {c.x1, c.y1, c.x2, c.y2};
}

// Counts the pixels of a colour inside a rectangle of an image.
inline int countColour(const Image& image, Rgb colour, Rect area = {}) {
    if (area.isEmpty())
        area = image.rect();
    area = area.intersected(image.rect());
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

} // namespace kansu::testing
