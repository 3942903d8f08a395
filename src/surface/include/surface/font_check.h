#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

// The font file is read by stb_truetype, which trusts every offset and length in it: a damaged
// file makes it read outside the file. These checks stand between the two. A face whose tables
// pass is handed over; a glyph whose outline does not pass is drawn as nothing.
namespace kansu::fontcheck {

// Where the tables the lesson needs lie in the file, once they have passed.
struct Tables {
    std::uint32_t glyf = 0;
    std::uint32_t loca = 0;
    bool longLoca = false;
    std::uint32_t numGlyphs = 0;
};

// Asked before a part of the file is read, [offset, offset + length): whether it may be read (a
// file mapped into memory copies the part first; false when the file no longer has it). Nothing
// to ask of bytes held whole.
using Hold = std::function<bool(std::uint64_t offset, std::uint64_t length)>;

// Why a font file cannot be used, or nothing when its tables are sound: a TrueType font whose
// table directory, head, maxp, hhea, hmtx, loca and cmap lie inside the file and agree with one
// another. On success, tables tells where the glyphs are. Every table stb_truetype reads but the
// glyphs themselves is held first, OS/2 too.
std::optional<std::string> fontProblem(std::span<const unsigned char> bytes, Tables& tables,
                                       const Hold& hold = {});

// Whether the outline of a glyph (and of every glyph it is built from) lies inside its place in
// the glyph table, as stb_truetype will read it; each outline is held before it is read.
bool glyphSound(std::span<const unsigned char> bytes, const Tables& tables, std::uint32_t glyph,
                const Hold& hold = {});

} // namespace kansu::fontcheck
