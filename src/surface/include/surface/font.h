#pragma once

#include "surface/colour.h"
#include "surface/font_file.h"
#include "surface/geometry.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kansu {

class Image;

// A control's font as the layout gives it: the design face at a point size, bold or not.
struct FontSpec {
    double points = 9.0;
    bool bold = false;
    bool operator==(const FontSpec&) const = default;
};

// Pixel size of a font of the given points, a point being 4/3 pixel, so the layout holds at
// every dpi.
int pixelSizeForPoints(double points);

// Where text sits on its line: the baseline lies ascent pixels below the line's top edge, and a
// printed line is ascent + descent pixels high.
struct LineMetrics {
    int ascent = 0;
    int descent = 0;
    int height() const { return ascent + descent; }
};

// The face picture boxes print in: IPA P Gothic, the metric-compatible stand-in for the design's
// proportional gothic. Glyphs are drawn aliased, every pixel in the exact colour, so text printed
// again in the back colour erases it without a trace. Bold is the face struck again a pixel to
// the right for every 24th of the em (at least once), each glyph as much wider.
class Typeface {
public:
    // The face the lesson prints with, read once from the font file: the file KANSU_FONT names,
    // else IPA P Gothic where Debian's fonts-ipafont-gothic puts it. Without a sound file, text
    // keeps its places and sizes but draws no glyphs, and problem() says why: the programs say
    // so and stop.
    static const Typeface& lesson();
    // The font's bytes as the program has them already (the browser fetches them), for lesson()
    // to read instead of a file, none if it has none (no file is then looked for); only before
    // lesson() is first asked for.
    static void giveLessonFont(std::vector<unsigned char> bytes);

    // A face from a TrueType file; a file that is missing, empty or damaged gives a face without
    // glyphs, and problem() says why.
    explicit Typeface(FontFile file);
    ~Typeface();
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    bool hasGlyphs() const;
    // Why the face has no glyphs, or an empty text.
    const std::string& problem() const;
    // Whether its file has been cut short or taken away since the face was made: a glyph not
    // drawn before then is drawn as nothing. What was read before is kept, and nothing the
    // file does later reaches it.
    bool changedSinceStart() const;
    LineMetrics metrics(int pixelSize) const;
    // Width of the text in pixels: the glyphs' advances, each rounded to a whole pixel.
    int advance(std::string_view text, int pixelSize, bool bold) const;
    // Width of the text in ems, exact, as a vector device sets it (regular weight).
    double ems(std::string_view text) const;
    // Draws the text with the left end of its baseline at (x, baseline), only inside clip;
    // squeezed horizontally by a factor of at most 1 (a caption condensed to fit its label).
    void draw(Image& target, std::string_view text, int x, int baseline, int pixelSize, bool bold,
              Rgb colour, const Rect& clip, double squeeze = 1) const;

private:
    struct Glyph;
    const Glyph& glyph(char32_t codePoint, int pixelSize) const;

    struct Face;
    std::unique_ptr<Face> face_;
};

} // namespace kansu
