#include "surface/font.h"
#include "surface/picture_box.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>
#include <vector>

namespace kansu {
namespace {

constexpr Rgb white = 0xFFFFFFFF;

Rect inkBounds(const Image& image, Rgb background = white) {
    Rect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != background)
                bounds = bounds.united(Rect{x, y, 1, 1});
    return bounds;
}

PictureBox box(PictureBox::Memory memory = PictureBox::Memory::Persistent) {
    return PictureBox(200, 100, colours::white, colours::black, {20.25, true}, 1, memory);
}

TEST(PictureBox, ClsFillsWithTheBackColourAndResetsTheCurrentPoint) {
    PictureBox b = box();
    b.line(0, 0, 50, 50);
    b.cls();
    EXPECT_TRUE(inkBounds(b.image()).isEmpty());
    EXPECT_EQ(b.currentX(), 0);
    EXPECT_EQ(b.currentY(), 0);
}

TEST(PictureBox, LineFormsShareTheCurrentPoint) {
    PictureBox b = box();
    b.line(10, 10, 20, 10);
    b.lineTo(20, 30);
    EXPECT_EQ(b.currentX(), 20);
    EXPECT_EQ(b.currentY(), 30);
    EXPECT_EQ(b.image().pixel(20, 25), 0xFF000000);
    b.lineStep(50, 50, 10, -5, paletteColour(12));
    EXPECT_EQ(b.currentX(), 60);
    EXPECT_EQ(b.currentY(), 45);
    EXPECT_EQ(b.image().pixel(60, 45), toRgb(paletteColour(12)) | 0xFF000000);
}

TEST(PictureBox, PrintPlacesTheTextCellAtTheCurrentPoint) {
    PictureBox b = box();
    b.setCurrentX(50);
    b.setCurrentY(20);
    b.print(std::string("8"));
    const Rect ink = inkBounds(b.image());
    ASSERT_FALSE(ink.isEmpty());
    // The glyph sits inside the cell whose top-left is the current point.
    EXPECT_GE(ink.left(), 50);
    EXPECT_LE(ink.left(), 56);
    EXPECT_GE(ink.top(), 20);
    EXPECT_LE(ink.top(), 28);
    EXPECT_LE(ink.bottom(), 20 + b.textHeight());
}

TEST(PictureBox, NumbersPrintWithALeadingBlank) {
    PictureBox plain = box(), number = box();
    plain.setCurrentX(10);
    plain.print(std::string(" 4 "));
    number.setCurrentX(10);
    number.printNumber(4);
    EXPECT_EQ(plain.image(), number.image());
}

TEST(PictureBox, TextPrintedAgainInTheBackColourLeavesNoTrace) {
    PictureBox b = box();
    b.setForeColour(paletteColour(9));
    b.setCurrentX(30);
    b.setCurrentY(10);
    b.printNumber(16);
    ASSERT_FALSE(inkBounds(b.image()).isEmpty());
    b.setForeColour(colours::white);
    b.setCurrentX(30);
    b.setCurrentY(10);
    b.printNumber(16);
    EXPECT_TRUE(inkBounds(b.image()).isEmpty());
}

TEST(PictureBox, TransientBoxDrawsOnlyWhatIsInView) {
    PictureBox b = box(PictureBox::Memory::Transient);
    b.setVisibleArea(Rect{0, 0, 100, 100});
    b.line(0, 50, 199, 50);
    EXPECT_EQ(b.image().pixel(50, 50), 0xFF000000);
    EXPECT_EQ(b.image().pixel(150, 50), white);

    // Whatever leaves the view is lost, and stays lost when it comes back.
    b.setVisibleArea(Rect{0, 0, 40, 100});
    b.setVisibleArea(Rect{0, 0, 200, 100});
    EXPECT_EQ(b.image().pixel(30, 50), 0xFF000000);
    EXPECT_EQ(b.image().pixel(50, 50), white);

    b.setVisibleArea(Rect{});
    b.print(std::string("x"));
    b.line(0, 0, 199, 99);
    EXPECT_TRUE(inkBounds(b.image()).isEmpty());
}

TEST(PictureBox, PersistentBoxKeepsWhatIsDrawnOutOfView) {
    PictureBox b = box();
    b.setVisibleArea(Rect{});
    b.line(0, 50, 199, 50);
    b.setVisibleArea(Rect{0, 0, 200, 100});
    EXPECT_EQ(b.image().pixel(150, 50), 0xFF000000);
}

TEST(PictureBox, TransparentFillStylePaintsNothing) {
    PictureBox b = box();
    b.setFillColour(paletteColour(14));
    b.setFillStyle(PictureBox::FillStyle::Transparent);
    b.floodFillBorder(5, 5, colours::black);
    EXPECT_TRUE(inkBounds(b.image()).isEmpty());
    b.setFillStyle(PictureBox::FillStyle::Solid);
    b.floodFillBorder(5, 5, colours::black);
    EXPECT_EQ(b.image().pixel(100, 50), toRgb(paletteColour(14)) | 0xFF000000);
}

TEST(PictureBox, RevisionMarksEveryChange) {
    PictureBox b = box();
    const auto before = b.revision();
    b.line(1, 1, 2, 2);
    EXPECT_GT(b.revision(), before);
}

} // namespace
} // namespace kansu

namespace kansu {
namespace {

// The lesson's font, as bytes to damage.
std::vector<unsigned char> ipaFont() {
    std::ifstream in("/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t be32(const std::vector<unsigned char>& b, std::size_t at) {
    return std::uint32_t(b[at]) << 24 | std::uint32_t(b[at + 1]) << 16 |
           std::uint32_t(b[at + 2]) << 8 | b[at + 3];
}
void put16(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<unsigned char>(v >> 8);
    b[at + 1] = static_cast<unsigned char>(v);
}
void put32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v >> 16);
    put16(b, at + 2, v & 0xFFFF);
}
// The table record of a tag: where its offset and length are written.
std::size_t recordOf(const std::vector<unsigned char>& b, const char* tag) {
    const std::size_t count = std::size_t(b[4]) << 8 | b[5];
    for (std::size_t i = 0; i < count; ++i)
        if (std::memcmp(&b[12 + 16 * i], tag, 4) == 0)
            return 12 + 16 * i;
    return 0;
}
std::size_t tableOf(const std::vector<unsigned char>& b, const char* tag) {
    return be32(b, recordOf(b, tag) + 8);
}
// Every glyph outline of at least a header, by its place in the glyph table.
template <typename Change> void everyOutline(std::vector<unsigned char>& b, Change change) {
    const std::size_t head = tableOf(b, "head"), loca = tableOf(b, "loca"),
                      glyf = tableOf(b, "glyf");
    const bool longLoca = b[head + 51] == 1;
    const std::size_t glyphs =
        std::size_t(b[tableOf(b, "maxp") + 4]) << 8 | b[tableOf(b, "maxp") + 5];
    auto entry = [&](std::size_t g) {
        return longLoca ? std::size_t(be32(b, loca + 4 * g))
                        : 2 * (std::size_t(b[loca + 2 * g]) << 8 | b[loca + 2 * g + 1]);
    };
    for (std::size_t g = 0; g < glyphs; ++g)
        if (entry(g + 1) - entry(g) >= 16)
            change(glyf + entry(g));
}

// stb_truetype believes every offset in a font: a damaged file is refused before it reads one,
// and a damaged outline is drawn as nothing, its width kept. Run under the sanitizers too.
TEST(Typeface, DamagedFontsAreRefusedOrDrawNothingOutside) {
    const std::vector<unsigned char> font = ipaFont();
    ASSERT_GT(font.size(), 1000u);
    using Damage = std::function<void(std::vector<unsigned char>&)>;
    const struct {
        const char* damage;
        Damage apply;
        bool refused;
    } rows[] = {
        {"nothing", [](auto&) {}, false},
        {"empty", [](auto& b) { b.clear(); }, true},
        {"cut short", [](auto& b) { b.resize(11); }, true},
        {"cut in its tables", [](auto& b) { b.resize(b.size() / 2); }, true},
        {"a table directory past the end", [](auto& b) { put16(b, 4, 0xFFFF); }, true},
        {"glyf past the end", [](auto& b) { put32(b, recordOf(b, "glyf") + 8, 0xFFFFFF00u); },
         true},
        {"cmap longer than the file",
         [](auto& b) { put32(b, recordOf(b, "cmap") + 12, 0x7FFFFFFF); }, true},
        {"no glyf", [](auto& b) { std::memcpy(&b[recordOf(b, "glyf")], "xxxx", 4); }, true},
        {"no units per em", [](auto& b) { put16(b, tableOf(b, "head") + 18, 0); }, true},
        {"an unknown loca format", [](auto& b) { put16(b, tableOf(b, "head") + 50, 7); }, true},
        {"no metrics", [](auto& b) { put16(b, tableOf(b, "hhea") + 34, 0); }, true},
        {"more glyphs than loca holds", [](auto& b) { put16(b, tableOf(b, "maxp") + 4, 0xFFFF); },
         true},
        {"loca past its glyphs", [](auto& b) { put32(b, tableOf(b, "loca") + 40, 0x7FFFFFF0u); },
         true},
        {"a PostScript font", [](auto& b) { std::memcpy(&b[0], "OTTO", 4); }, true},
        {"noise",
         [](auto& b) {
             for (std::size_t i = 0; i < b.size(); ++i)
                 b[i] = static_cast<unsigned char>(i * 131 + 7);
         },
         true},
        {"fewer glyphs than its characters name",
         [](auto& b) {
             put16(b, tableOf(b, "maxp") + 4, 10);
             put16(b, tableOf(b, "hhea") + 34, 10);
         },
         false},
        {"every outline with 30000 contours",
         [](auto& b) { everyOutline(b, [&](std::size_t at) { put16(b, at, 30000); }); }, false},
        {"every outline one point off the curve",
         [](auto& b) {
             everyOutline(b, [&](std::size_t at) {
                 put16(b, at, 1);      // one contour
                 put16(b, at + 10, 0); // ending on point 0
                 put16(b, at + 12, 0); // no instructions
                 b[at + 14] = 0;       // off the curve
             });
         },
         false},
        {"every outline's box far larger than its em",
         [](auto& b) {
             everyOutline(b, [&](std::size_t at) {
                 put16(b, at + 2, 0x8001); // xMin -32767
                 put16(b, at + 6, 0x7FFF); // xMax 32767
             });
         },
         false},
        {"every outline's box inside out",
         [](auto& b) {
             everyOutline(b, [&](std::size_t at) {
                 put16(b, at + 2, 900); // xMin
                 put16(b, at + 6, 100); // xMax
             });
         },
         false},
        {"every outline built from itself",
         [](auto& b) {
             everyOutline(b, [&](std::size_t at) {
                 put16(b, at, 0xFFFF);      // composite
                 put16(b, at + 10, 0x0022); // placed by offsets, more to come
                 put16(b, at + 12, 1);      // glyph 1, itself built so
             });
         },
         false},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.damage);
        std::vector<unsigned char> bytes = font;
        r.apply(bytes);
        const Typeface face{FontFile(bytes)};
        EXPECT_EQ(!face.problem().empty(), r.refused) << face.problem();
        EXPECT_EQ(face.hasGlyphs(), !r.refused);
        // Whatever it is, drawing with it stays inside the picture and never fails.
        Image image(300, 80);
        for (const int size : {13, 32})
            face.draw(image, "８ cm 関数の利用 0123", 2, size + 4, size, true, 0xFF000000u,
                      image.rect());
        if (r.refused) {
            EXPECT_TRUE(inkBounds(image).isEmpty());
        }
    }
}

// A font file cut short or copied over while the lesson runs cannot reach it: what was drawn is
// drawn the same, a glyph not drawn yet is drawn as nothing, and the face says the file changed.
TEST(Typeface, AFileChangedUnderTheLessonCannotReachIt) {
    const std::string path = ::testing::TempDir() + "kansu-changing-font.ttf";
    const std::vector<unsigned char> font = ipaFont();
    auto write = [&](const std::vector<unsigned char>& bytes) {
        std::FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), f), bytes.size());
        std::fclose(f);
    };
    const struct {
        const char* change;
        std::vector<unsigned char> bytes;
    } changes[] = {{"cut short", {font.begin(), font.begin() + 4000}},
                   {"copied over with noise", std::vector<unsigned char>(font.size(), 0x5A)}};
    for (const auto& c : changes) {
        SCOPED_TRACE(c.change);
        write(font);
        const Typeface face{FontFile::open(path)};
        ASSERT_TRUE(face.hasGlyphs()) << face.problem();
        auto drawn = [&](const char* text) {
            Image image(200, 60);
            face.draw(image, text, 2, 40, 32, true, 0xFF000000u, image.rect());
            return image;
        };
        const Image before = drawn("８ cm");
        const double ems = face.ems("８ cm 関数");
        // The file changes in place, as cp over it or a stick pulled out would change it.
        {
            std::FILE* f = std::fopen(path.c_str(), "r+b");
            ASSERT_NE(f, nullptr);
            ASSERT_EQ(std::fwrite(c.bytes.data(), 1, c.bytes.size(), f), c.bytes.size());
            std::fclose(f);
            ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(c.bytes.size())), 0);
        }
        EXPECT_TRUE(drawn("８ cm") == before);
        EXPECT_EQ(face.ems("８ cm 関数"), ems);
        EXPECT_FALSE(face.changedSinceStart());
        // Glyphs never drawn before: nothing, or what the file held when they were first read,
        // once checked; never a read outside the file.
        const Image after = drawn("関数の利用");
        if (c.bytes.size() < font.size()) {
            EXPECT_TRUE(inkBounds(after).isEmpty());
            EXPECT_TRUE(face.changedSinceStart());
        }
    }
    std::remove(path.c_str());
}

} // namespace
} // namespace kansu
