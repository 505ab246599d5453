#pragma once
// The glyph data file of a bitmap font, as the game reads it: no header, little-endian float32
// throughout. First 256 advance widths (character code 0 first), then 256 glyph records of four
// corners, each corner x, y, (unused), u, v. x and y are in units of the text size measured from
// the pen position, x to the right and y downward from the top of the character cell; u and v are
// coordinates in the font texture, v = 0 at the picture's top row.
#include <cstddef>
#include <string>

namespace fontbake {

constexpr int GLYPH_COUNT = 256;
constexpr int GLYPH_CORNERS = 4;
constexpr int CORNER_FLOATS = 5;
constexpr std::size_t GLYPH_WIDTHS_BYTES = GLYPH_COUNT * 4;                                     // 1024
constexpr std::size_t GLYPH_RECORD_BYTES = GLYPH_CORNERS * CORNER_FLOATS * 4;                   // 80
constexpr std::size_t GLYPH_FILE_BYTES = GLYPH_WIDTHS_BYTES + GLYPH_COUNT * GLYPH_RECORD_BYTES; // 21504

struct GlyphCorner {
    float x = 0, y = 0, unused = 0, u = 0, v = 0;
};

struct GlyphTable {
    float widths[GLYPH_COUNT] = {};
    GlyphCorner corners[GLYPH_COUNT][GLYPH_CORNERS] = {};
};

// The file's bytes, always GLYPH_FILE_BYTES long.
std::string EncodeGlyphFile(const GlyphTable& table);

} // namespace fontbake
