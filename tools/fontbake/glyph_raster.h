#pragma once
// Rendering single glyphs of a TrueType font to 8-bit coverage with FreeType. Glyphs are rendered
// without hinting, so shapes and advances scale evenly with the text size the game draws at.
#include <cstdint>
#include <string>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace fontbake {

struct RasterGlyph {
    float advance = 0; // pixels, unrounded
    int left = 0;      // pen position to the left edge of the bitmap, pixels
    int top = 0;       // baseline to the top row of the bitmap, pixels (upward)
    int width = 0;
    int height = 0;
    std::vector<float> coverage; // width * height values in 0..1, rows top first
};

class GlyphRasterizer {
public:
    GlyphRasterizer() = default;
    ~GlyphRasterizer();
    GlyphRasterizer(const GlyphRasterizer&) = delete;
    GlyphRasterizer& operator=(const GlyphRasterizer&) = delete;

    // Reads a font file. False with a reason when it cannot be read or is not a scalable font.
    bool Open(const std::string& path, std::string* error);

    // Scales the font so that one line (ascender to descender) is about `linePx` pixels high.
    bool SetLineHeight(int linePx, std::string* error);
    // The exact line height and ascender for the size last set, in pixels.
    float LineHeight() const { return lineHeight_; }
    float Ascender() const { return ascender_; }

    // Whether the font has a glyph for the code point.
    bool HasGlyph(uint32_t codePoint) const;
    // Renders the glyph of a code point the font has. False with a reason on a FreeType failure.
    bool Render(uint32_t codePoint, RasterGlyph& out, std::string* error);

private:
    std::string data_; // the font file; FreeType reads from it for the face's life
    FT_LibraryRec_* library_ = nullptr;
    FT_FaceRec_* face_ = nullptr;
    float lineHeight_ = 0;
    float ascender_ = 0;
};

} // namespace fontbake
