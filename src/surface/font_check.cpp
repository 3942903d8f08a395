#include "surface/font_check.h"

#include <algorithm>
#include <map>

namespace kansu::fontcheck {

namespace {

using Bytes = std::span<const unsigned char>;

// A big-endian reader that knows the end of what it may read.
struct Reader {
    Bytes bytes;

    bool has(std::uint64_t offset, std::uint64_t length) const {
        return offset <= bytes.size() && length <= bytes.size() - offset;
    }
    std::uint32_t u8(std::uint64_t at) const { return bytes[at]; }
    std::uint32_t u16(std::uint64_t at) const {
        return static_cast<std::uint32_t>(bytes[at] << 8 | bytes[at + 1]);
    }
    std::int32_t i16(std::uint64_t at) const { return static_cast<std::int16_t>(u16(at)); }
    std::uint32_t u32(std::uint64_t at) const { return u16(at) << 16 | u16(at + 2); }
};

struct Table {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
};

std::uint32_t tag(const char (&name)[5]) {
    return static_cast<std::uint32_t>(name[0]) << 24 | static_cast<std::uint32_t>(name[1]) << 16 |
           static_cast<std::uint32_t>(name[2]) << 8 | static_cast<std::uint32_t>(name[3]);
}

// A character map stb_truetype can read, lying inside the map table: formats 0, 4, 6, 12, 13,
// with format 4's search fields as the format defines them, so its binary search stays inside
// its arrays, and every glyph index a segment points to inside the subtable.
bool characterMapSound(const Reader& r, std::uint64_t at, std::uint64_t available) {
    if (available < 4)
        return false;
    const std::uint32_t format = r.u16(at);
    switch (format) {
    case 0: {
        const std::uint32_t length = r.u16(at + 2);
        return length >= 6 && length <= available;
    }
    case 6: {
        if (available < 10)
            return false;
        return 10 + 2ull * r.u16(at + 8) <= available;
    }
    case 4: {
        if (available < 14)
            return false;
        const std::uint32_t length = r.u16(at + 2);
        const std::uint32_t segCountX2 = r.u16(at + 6);
        const std::uint32_t segments = segCountX2 / 2;
        if (length > available || segCountX2 == 0 || segCountX2 % 2 != 0 ||
            16 + 8ull * segments > length)
            return false;
        std::uint32_t power = 1, selector = 0;
        while (power * 2 <= segments) {
            power *= 2;
            ++selector;
        }
        if (r.u16(at + 8) != 2 * power || r.u16(at + 10) != selector ||
            r.u16(at + 12) != segCountX2 - 2 * power)
            return false;
        const std::uint64_t ends = at + 14, starts = ends + segCountX2 + 2;
        const std::uint64_t rangeOffsets = starts + 2ull * segCountX2;
        for (std::uint32_t i = 0; i < segments; ++i) {
            const std::uint32_t end = r.u16(ends + 2ull * i), start = r.u16(starts + 2ull * i);
            const std::uint32_t rangeOffset = r.u16(rangeOffsets + 2ull * i);
            if (start > end)
                return false;
            if (rangeOffset != 0 &&
                rangeOffsets + 2ull * i + rangeOffset + 2ull * (end - start) + 2 > at + length)
                return false;
        }
        return true;
    }
    case 12:
    case 13: {
        if (available < 16)
            return false;
        const std::uint64_t length = r.u32(at + 4);
        return length <= available && 16 + 12ull * r.u32(at + 12) <= length;
    }
    default:
        return false;
    }
}

// Where glyph g's outline starts in the glyph table, by the loca table at loca.
std::uint64_t locaOffset(const Reader& r, std::uint64_t loca, bool longLoca, std::uint32_t g) {
    return longLoca ? r.u32(loca + 4ull * g) : 2ull * r.u16(loca + 2ull * g);
}

} // namespace

std::optional<std::string> fontProblem(Bytes bytes, Tables& tables, const Hold& hold) {
    const Reader r{bytes};
    const auto held = [&](std::uint64_t offset, std::uint64_t length) {
        return !hold || hold(offset, length);
    };
    constexpr const char* changed = "it changed or was cut short while it was read";
    if (!r.has(0, 12))
        return "it is too short to be a font";
    if (!held(0, 12))
        return changed;
    const std::uint32_t version = r.u32(0);
    if (version != 0x00010000 && version != tag("true"))
        return "it is not a TrueType font";
    const std::uint32_t count = r.u16(4);
    if (!r.has(12, 16ull * count))
        return "its table of tables runs past its end";
    if (!held(12, 16ull * count))
        return changed;
    std::map<std::uint32_t, Table> found;
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint64_t record = 12 + 16ull * i;
        const Table t{r.u32(record + 8), r.u32(record + 12)};
        if (!r.has(t.offset, t.length))
            return "one of its tables lies past its end";
        found.emplace(r.u32(record), t); // the first of a name, as the reader finds it
    }
    auto table = [&](const char(&name)[5]) -> const Table* {
        const auto it = found.find(tag(name));
        return it == found.end() ? nullptr : &it->second;
    };
    const Table *head = table("head"), *maxp = table("maxp"), *hhea = table("hhea"),
                *hmtx = table("hmtx"), *loca = table("loca"), *glyf = table("glyf"),
                *cmap = table("cmap");
    if (!head || !maxp || !hhea || !hmtx || !loca || !glyf || !cmap)
        return "it lacks a table the lesson needs (head, maxp, hhea, hmtx, loca, glyf, cmap)";
    for (const Table* t : {head, maxp, hhea, hmtx, loca, cmap, table("OS/2")})
        if (t && !held(t->offset, t->length))
            return changed;

    if (head->length < 54 || r.u16(head->offset + 18) == 0)
        return "its head table is damaged";
    const std::int32_t locaFormat = r.i16(head->offset + 50);
    if (locaFormat != 0 && locaFormat != 1)
        return "its head table is damaged";
    if (maxp->length < 6)
        return "its maxp table is damaged";
    const std::uint32_t glyphs = r.u16(maxp->offset + 4);
    if (glyphs == 0)
        return "it has no glyphs";
    if (hhea->length < 36)
        return "its hhea table is damaged";
    const std::uint32_t metrics = r.u16(hhea->offset + 34);
    if (metrics == 0 || metrics > glyphs ||
        4ull * metrics + 2ull * (glyphs - metrics) > hmtx->length)
        return "its hmtx table is damaged";

    const bool longLoca = locaFormat == 1;
    const std::uint64_t entry = longLoca ? 4 : 2;
    if (entry * (glyphs + 1ull) > loca->length)
        return "its loca table is too short";
    std::uint64_t previous = 0;
    for (std::uint32_t g = 0; g <= glyphs; ++g) {
        const std::uint64_t offset = locaOffset(r, loca->offset, longLoca, g);
        if (offset < previous || offset > glyf->length)
            return "its loca table points outside its glyphs";
        previous = offset;
    }

    if (cmap->length < 4 || 4 + 8ull * r.u16(cmap->offset + 2) > cmap->length)
        return "its cmap table is damaged";
    bool unicode = false;
    for (std::uint32_t i = 0; i < r.u16(cmap->offset + 2); ++i) {
        const std::uint64_t record = cmap->offset + 4 + 8ull * i;
        const std::uint32_t platform = r.u16(record), encoding = r.u16(record + 2);
        // The maps the reader may choose: Unicode's, and Microsoft's for Unicode.
        if (!(platform == 0 || (platform == 3 && (encoding == 1 || encoding == 10))))
            continue;
        const std::uint32_t offset = r.u32(record + 4);
        if (offset >= cmap->length ||
            !characterMapSound(r, cmap->offset + std::uint64_t(offset), cmap->length - offset))
            return "its cmap table is damaged";
        unicode = true;
    }
    if (!unicode)
        return "it has no map of Unicode characters";

    tables = {glyf->offset, loca->offset, longLoca, glyphs};
    return std::nullopt;
}

namespace {

// The place of a glyph's outline in the glyph table: [begin, end), empty for a glyph without one.
std::pair<std::uint64_t, std::uint64_t> placeOf(const Reader& r, const Tables& t,
                                                std::uint32_t glyph) {
    return {locaOffset(r, t.loca, t.longLoca, glyph), locaOffset(r, t.loca, t.longLoca, glyph + 1)};
}

bool glyphSound(const Reader& r, const Tables& t, std::uint32_t glyph, int depth,
                const Hold& hold) {
    if (glyph >= t.numGlyphs || depth > 8)
        return false;
    const auto [begin, end] = placeOf(r, t, glyph);
    if (begin == end)
        return true;
    const std::uint64_t length = end - begin, at = t.glyf + begin;
    if (length < 10 || (hold && !hold(at, length)))
        return false;
    const std::int32_t contours = r.i16(at);
    if (contours >= 0) {
        // Contour ends, instructions, flags (with repeats), then the x and the y coordinates.
        std::uint64_t used = 10 + 2ull * contours + 2;
        if (used > length)
            return false;
        std::uint32_t points = 0;
        bool lastPointStartsContour = false;
        for (std::int32_t c = 0; c < contours; ++c) {
            const std::uint32_t last = r.u16(at + 10 + 2ull * c) + 1;
            if (last < points)
                return false;
            if (last > points)
                lastPointStartsContour = last == points + 1;
            points = last;
        }
        used += r.u16(at + 10 + 2ull * contours);
        std::uint64_t xBytes = 0, yBytes = 0;
        for (std::uint32_t p = 0; p < points;) {
            if (used >= length)
                return false;
            const std::uint32_t flags = r.u8(at + used++);
            std::uint32_t repeat = 1;
            if (flags & 8) {
                if (used >= length)
                    return false;
                repeat += r.u8(at + used++);
            }
            const std::uint32_t n = std::min(repeat, points - p);
            xBytes += n * ((flags & 2) ? 1 : (flags & 16) ? 0 : 2);
            yBytes += n * ((flags & 4) ? 1 : (flags & 32) ? 0 : 2);
            p += repeat;
            // A contour that opens on its last point off the curve makes the reader look one point
            // past the outline for the curve's start.
            if (p >= points && lastPointStartsContour && !(flags & 1))
                return false;
        }
        return used + xBytes + yBytes <= length;
    }
    // Built from other glyphs: each component's record inside, and each component sound.
    std::uint64_t used = 10;
    for (bool more = true; more;) {
        if (used + 4 > length)
            return false;
        const std::uint32_t flags = r.u16(at + used);
        const std::uint32_t component = r.u16(at + used + 2);
        // Placed by offsets: the reader knows no other placing.
        if (!(flags & 2))
            return false;
        used += 4 + ((flags & 1) ? 4 : 2);
        used += (flags & 8) ? 2 : (flags & 0x40) ? 4 : (flags & 0x80) ? 8 : 0;
        if (used > length || !glyphSound(r, t, component, depth + 1, hold))
            return false;
        more = (flags & 0x20) != 0;
    }
    return true;
}

} // namespace

bool glyphSound(Bytes bytes, const Tables& tables, std::uint32_t glyph, const Hold& hold) {
    return glyphSound(Reader{bytes}, tables, glyph, 0, hold);
}

} // namespace kansu::fontcheck
