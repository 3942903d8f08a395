#include "surface/font.h"

#include "surface/font_check.h"
#include "surface/image.h"
#include "surface/utf8.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#define STBTT_STATIC
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

namespace kansu {

namespace {

// IPA P Gothic's vertical metrics, for a face without a file: text keeps its places.
constexpr int fallbackUnitsPerEm = 2048;
constexpr int fallbackWinAscent = 1802;
constexpr int fallbackWinDescent = 401;

constexpr const char* fontFileCandidates[] = {
    "/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf",
    "/usr/share/fonts/truetype/ipafont-gothic/ipagp.ttf",
    "/usr/share/fonts/opentype/ipafont/ipagp.ttf",
    "/usr/share/fonts/truetype/ipafont/ipagp.ttf",
    "/usr/local/share/fonts/ipagp.ttf",
};

int readU16(const unsigned char* p) {
    return (p[0] << 8) | p[1];
}

} // namespace

int pixelSizeForPoints(double points) {
    return static_cast<int>(std::lround(points * 4.0 / 3.0));
}

struct Typeface::Glyph {
    int advance = 0; // whole pixels
    int left = 0;    // bitmap offset from the pen position
    int top = 0;     // bitmap offset from the baseline (negative: above it)
    int width = 0;
    int height = 0;
    std::vector<unsigned char> ink; // width * height, 1 where the glyph paints
};

struct Typeface::Face {
    FontFile file;
    stbtt_fontinfo info{};
    bool loaded = false;
    std::string problem;
    fontcheck::Tables tables;
    int unitsPerEm = fallbackUnitsPerEm;
    int winAscent = fallbackWinAscent;
    int winDescent = fallbackWinDescent;
    std::unordered_map<std::uint64_t, Glyph> glyphs;
    // The outlines copied out of the file so far, by their place in it.
    std::unordered_set<std::uint64_t> heldOutlines;
    bool changed = false;

    // An outline is held once: held again, a file changed since would change it under the
    // glyphs already checked with it.
    bool holdOutline(std::uint64_t offset, std::uint64_t length) {
        if (heldOutlines.contains(offset))
            return true;
        if (!file.hold(offset, length)) {
            changed = true;
            return false;
        }
        heldOutlines.insert(offset);
        return true;
    }
};

Typeface::Typeface(FontFile file) : face_(std::make_unique<Face>()) {
    Face& f = *face_;
    f.file = std::move(file);
    const std::span<const unsigned char> bytes = f.file.bytes();
    if (bytes.empty()) {
        f.problem = "the font file is missing or empty";
        return;
    }
    // stb_truetype believes every offset in the file: checked first.
    if (const auto problem = fontcheck::fontProblem(
            bytes, f.tables, [&f](std::uint64_t offset, std::uint64_t length) {
                return f.file.hold(offset, length);
            })) {
        f.problem = "the font file is damaged: " + *problem;
        return;
    }
    const int offset = stbtt_GetFontOffsetForIndex(bytes.data(), 0);
    if (offset < 0 || !stbtt_InitFont(&f.info, bytes.data(), offset)) {
        f.problem = "the font file is damaged";
        return;
    }
    f.loaded = true;
    f.unitsPerEm = static_cast<int>(std::lround(1.0 / stbtt_ScaleForMappingEmToPixels(&f.info, 1)));
    // Lines are placed by the Windows ascent and descent of the OS/2 table, as the desktop's
    // own text engine does, so a printed line has the same height everywhere.
    const std::uint32_t os2 = stbtt__find_table(const_cast<stbtt_uint8*>(bytes.data()),
                                                static_cast<stbtt_uint32>(offset), "OS/2");
    if (os2 != 0 && os2 + 78 <= bytes.size()) {
        f.winAscent = readU16(bytes.data() + os2 + 74);
        f.winDescent = readU16(bytes.data() + os2 + 76);
    } else {
        int ascent = 0, descent = 0, gap = 0;
        stbtt_GetFontVMetrics(&f.info, &ascent, &descent, &gap);
        f.winAscent = ascent;
        f.winDescent = -descent;
    }
}

Typeface::~Typeface() = default;

namespace {

// The path KANSU_FONT names, if it names one.
std::string namedFontPath() {
    const char* path = std::getenv("KANSU_FONT");
    return path && *path ? path : "";
}

// A character map may name a glyph the font does not have: the missing glyph instead, whose
// metrics are there.
int glyphIndex(const stbtt_fontinfo& info, const fontcheck::Tables& tables, char32_t codePoint) {
    const int index = stbtt_FindGlyphIndex(&info, static_cast<int>(codePoint));
    return index < 0 || static_cast<std::uint32_t>(index) >= tables.numGlyphs ? 0 : index;
}

// A glyph's advance in font units.
int advanceUnits(const stbtt_fontinfo& info, int index) {
    int advanceWidth = 0, leftBearing = 0;
    stbtt_GetGlyphHMetrics(&info, index, &advanceWidth, &leftBearing);
    return advanceWidth;
}

// The font handed over by the program before the face was first asked for, if it was: even
// none, when the program has no font to give (a page whose font did not come).
std::optional<std::vector<unsigned char>>& givenFont() {
    static std::optional<std::vector<unsigned char>> bytes;
    return bytes;
}

FontFile lessonFontFile() {
    if (givenFont())
        return FontFile(std::move(*givenFont()));
    if (const std::string named = namedFontPath(); !named.empty())
        return FontFile::open(named);
    for (const char* path : fontFileCandidates)
        if (FontFile file = FontFile::open(path); !file.empty())
            return file;
    return {};
}

} // namespace

void Typeface::giveLessonFont(std::vector<unsigned char> bytes) {
    givenFont() = std::move(bytes);
}

const Typeface& Typeface::lesson() {
    static Typeface face(lessonFontFile());
    static const bool explained = [] {
        if (face.hasGlyphs())
            return true;
        const std::string named = namedFontPath();
        face.face_->problem =
            !named.empty() ? "the font " + named + " cannot be used: " + face.face_->problem
            : face.face_->file.bytes().empty()
                ? "the lesson's font, IPA P Gothic, is not installed (install Debian's "
                  "fonts-ipafont-gothic)"
                : "the lesson's font, IPA P Gothic, cannot be used: " + face.face_->problem;
        return true;
    }();
    (void)explained;
    return face;
}

bool Typeface::changedSinceStart() const {
    return face_->changed;
}

bool Typeface::hasGlyphs() const {
    return face_->loaded;
}

const std::string& Typeface::problem() const {
    return face_->problem;
}

LineMetrics Typeface::metrics(int pixelSize) const {
    const Face& f = *face_;
    auto scaled = [&](int units) {
        // Rounded half up, like the desktop's fixed-point metrics.
        return static_cast<int>(
            std::floor(static_cast<double>(units) * pixelSize / f.unitsPerEm + 0.5));
    };
    return {scaled(f.winAscent), scaled(f.winDescent)};
}

const Typeface::Glyph& Typeface::glyph(char32_t codePoint, int pixelSize) const {
    Face& f = *face_;
    const std::uint64_t key = (static_cast<std::uint64_t>(pixelSize) << 32) | codePoint;
    if (const auto it = f.glyphs.find(key); it != f.glyphs.end())
        return it->second;
    Glyph g;
    if (!f.loaded) {
        g.advance = codePoint < 0x80 ? pixelSize / 2 : pixelSize;
        return f.glyphs.emplace(key, std::move(g)).first->second;
    }
    const float scale = stbtt_ScaleForMappingEmToPixels(&f.info, static_cast<float>(pixelSize));
    const int index = glyphIndex(f.info, f.tables, codePoint);
    g.advance = static_cast<int>(std::lround(advanceUnits(f.info, index) * scale));
    // A damaged outline is drawn as nothing; the glyph keeps its width.
    if (!fontcheck::glyphSound(f.file.bytes(), f.tables, static_cast<std::uint32_t>(index),
                               [&f](std::uint64_t offset, std::uint64_t length) {
                                   return f.holdOutline(offset, length);
                               }))
        return f.glyphs.emplace(key, std::move(g)).first->second;
    int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    stbtt_GetGlyphBitmapBox(&f.info, index, scale, scale, &x0, &y0, &x1, &y1);
    // No sound glyph is many times its em; an outline that claims so is drawn as nothing.
    const long largest = 8L * pixelSize + 8;
    if (long{x1} - x0 > largest || long{y1} - y0 > largest)
        return f.glyphs.emplace(key, std::move(g)).first->second;
    g.left = x0;
    g.top = y0;
    g.width = x1 - x0;
    g.height = y1 - y0;
    if (g.width > 0 && g.height > 0) {
        std::vector<unsigned char> coverage(static_cast<std::size_t>(g.width) *
                                            static_cast<std::size_t>(g.height));
        stbtt_MakeGlyphBitmap(&f.info, coverage.data(), g.width, g.height, g.width, scale, scale,
                              index);
        // Aliased: a pixel is painted when the outline covers at least half of it.
        g.ink.resize(coverage.size());
        for (std::size_t i = 0; i < coverage.size(); ++i)
            g.ink[i] = coverage[i] >= 128 ? 1 : 0;
    } else {
        g.width = g.height = 0; // a box turned inside out by a damaged outline holds no ink
    }
    return f.glyphs.emplace(key, std::move(g)).first->second;
}

namespace {
// How much wider bold makes a glyph: a 24th of the em, at least a pixel.
int emboldening(int pixelSize, bool bold) {
    return bold ? std::max(1, static_cast<int>(std::lround(pixelSize / 24.0))) : 0;
}
} // namespace

int Typeface::advance(std::string_view text, int pixelSize, bool bold) const {
    const int extra = emboldening(pixelSize, bold);
    int width = 0;
    for (const char32_t cp : utf8::decode(text))
        width += glyph(cp, pixelSize).advance + extra;
    return width;
}

double Typeface::ems(std::string_view text) const {
    const Face& f = *face_;
    double units = 0;
    for (const char32_t cp : utf8::decode(text)) {
        if (!f.loaded) {
            units += cp < 0x80 ? 0.5 : 1;
            continue;
        }
        units += static_cast<double>(advanceUnits(f.info, glyphIndex(f.info, f.tables, cp))) /
                 f.unitsPerEm;
    }
    return units;
}

void Typeface::draw(Image& target, std::string_view text, int x, int baseline, int pixelSize,
                    bool bold, Rgb colour, const Rect& clip, double squeeze) const {
    const Rect area = clip.intersected(target.rect());
    if (area.isEmpty() || !face_->loaded)
        return;
    const int extra = emboldening(pixelSize, bold);
    int pen = x;
    for (const char32_t cp : utf8::decode(text)) {
        const Glyph& g = glyph(cp, pixelSize);
        for (int strike = 0; strike <= extra; ++strike) {
            const int left = pen + g.left + strike, top = baseline + g.top;
            for (int gy = 0; gy < g.height; ++gy) {
                const int y = top + gy;
                if (y < area.top() || y > area.bottom())
                    continue;
                Rgb* row = target.row(y);
                const unsigned char* ink =
                    &g.ink[static_cast<std::size_t>(gy) * static_cast<std::size_t>(g.width)];
                for (int gx = 0; gx < g.width; ++gx) {
                    if (!ink[gx])
                        continue;
                    // Squeezed, each column lands on the nearest column of the narrower text;
                    // shrinking leaves no gaps.
                    const int px =
                        squeeze == 1
                            ? left + gx
                            : x + static_cast<int>(std::floor((left + gx - x + 0.5) * squeeze));
                    if (px >= area.left() && px <= area.right())
                        row[px] = colour;
                }
            }
        }
        pen += g.advance + extra;
    }
}

} // namespace kansu
