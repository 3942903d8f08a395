#include "lesson_fixture.h"
#include "surface/utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>

namespace kansu::testing {
namespace {

using enum ControlId;

// Glyph shapes belong to the font rasteriser; everything else a picture box shows (lines, fills,
// colours, where text is placed and what it covers) is pinned by these hashes of a whole lesson.
// A text cell is generous: every glyph of the text gets a full em and a pixel more.
std::uint64_t maskedHash(const PictureBox& box, double scale) {
    const Image& image = box.imageAt(scale);
    std::vector<char> masked(std::size_t(image.width()) * std::size_t(image.height()), 0);
    for (const DrawOp& op : box.history()) {
        if (op.kind != DrawOp::Kind::Text)
            continue;
        const int em = pixelSizeForPoints(op.font.points);
        const int left = std::max(0, int(std::floor((op.from.x - 1) * scale)));
        const int top = std::max(0, int(std::floor((op.from.y - 1) * scale)));
        const int right = std::min(
            image.width(),
            int(std::ceil((op.from.x + double(utf8::decode(op.text).size()) * (em + 1) + 4) *
                          scale)));
        const int bottom =
            std::min(image.height(), int(std::ceil((op.from.y + box.textHeight() + 2) * scale)));
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                masked[std::size_t(y) * std::size_t(image.width()) + std::size_t(x)] = 1;
    }
    std::uint64_t hash = 1469598103934665603ull;
    auto mix = [&hash](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            hash ^= (v >> (8 * i)) & 0xFF;
            hash *= 1099511628211ull;
        }
    };
    mix(static_cast<std::uint32_t>(image.width()));
    mix(static_cast<std::uint32_t>(image.height()));
    for (int y = 0; y < image.height(); ++y) {
        const Rgb* row = image.row(y);
        for (int x = 0; x < image.width(); ++x)
            mix(masked[std::size_t(y) * std::size_t(image.width()) + std::size_t(x)]
                    ? 0xFF000000u
                    : rrggbb(row[x]));
    }
    return hash;
}

// A whole lesson with every view on: ticks, a run forward to the end and back past the start,
// the table hidden and shown, the grid cleared, a typed time, the initial screen, automatic play.
std::vector<std::pair<std::string, std::function<void(Form1&)>>> wholeRun() {
    std::vector<std::pair<std::string, std::function<void(Form1&)>>> actions;
    auto click = [&actions](ControlId id, int times = 1) {
        for (int i = 0; i < times; ++i)
            actions.emplace_back("click", [id](Form1& f) { f.click(id); });
    };
    click(Check6);
    click(Check1);
    click(Check2);
    click(Check3);
    click(Check5);
    click(Check4);
    click(susumu, 80);
    click(modoru, 85);
    click(Check3);
    click(susumu, 30);
    click(Check3);
    click(susumu, 15);
    click(Check1);
    click(susumu, 5);
    actions.emplace_back("type 7.5", [](Form1& f) { f.typeText(Text1, std::string("7.5")); });
    click(modoru);
    click(Command1);
    actions.emplace_back("type 0", [](Form1& f) { f.typeText(Combo1, std::string(" 0")); });
    click(jidou);
    return actions;
}

std::string hex(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

TEST_F(Lesson, WholeRunDrawsTheSamePicturesAsBefore) {
    const std::string referencePath = KANSU_TEST_DATA "/whole_run.hashes";
    const bool writing = std::getenv("KANSU_WRITE_REFERENCE") != nullptr;
    std::vector<std::string> lines;
    int captures = 0;
    auto capture = [&](const std::string& label) {
        std::string line = label;
        const bool scaled = captures % 10 == 0;
        for (ControlId id : {kokuban, gamen, hyo}) {
            line += " " + hex(maskedHash(form.box(id), 1));
            if (scaled)
                line += "/" + hex(maskedHash(form.box(id), 2));
        }
        lines.push_back(line);
        ++captures;
    };
    capture("start");
    for (const auto& [label, act] : wholeRun()) {
        act(form);
        capture(label);
    }
    if (writing) {
        std::ofstream out(referencePath);
        for (const std::string& line : lines)
            out << line << '\n';
        ASSERT_TRUE(out.good());
        GTEST_SKIP() << "reference written";
    }
    std::ifstream in(referencePath);
    std::vector<std::string> expected;
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            expected.push_back(line);
    ASSERT_EQ(expected.size(), lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        ASSERT_EQ(lines[i], expected[i]) << "capture " << i;
}

} // namespace
} // namespace kansu::testing
