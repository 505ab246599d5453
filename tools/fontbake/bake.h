#pragma once
// Baking one font: every character of the Windows-1252 code page rendered into one texture, and
// the glyph table that places each character's quad and points it at its texels.
//
// Units: the character cell is one text size high and spans the font's ascender to descender, so
// lines drawn one size apart do not overlap. Widths and quad corners are in those units.
#include <string>
#include <vector>

#include "platform/image/image.h"
#include "tools/fontbake/glyph_effects.h"
#include "tools/fontbake/glyph_file.h"
#include "tools/fontbake/glyph_raster.h"

namespace fontbake {

// The game loads textures at most this large per side; a larger one would be scaled down.
constexpr int MAX_TEXTURE_SIDE = 512;

struct BakeOptions {
    int linePx = 32; // cell height in texels
    GlyphEffects effects;
    int maxSide = MAX_TEXTURE_SIDE;
};

struct BakedFont {
    GlyphTable table;
    plat::Image atlas;
    int glyphCount = 0;                // characters with a width
    std::vector<std::string> warnings; // characters of the code page the font lacks
};

enum class BakeStatus { Ok, DoesNotFit, Failed };

// Whether a Windows-1252 byte stands for a printable character (control codes and the five
// bytes the code page leaves undefined do not; they get width 0 and draw nothing).
bool IsPrintableCp1252(unsigned char byte);

BakeStatus BakeFont(GlyphRasterizer& raster, const BakeOptions& options, BakedFont& out, std::string* error);

} // namespace fontbake
