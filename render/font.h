#pragma once
// Bitmap fonts: a table of 256 advance widths and 256 glyph quads (positions and texture
// coordinates in one font texture) plus the shader that carries that texture. Characters are
// single bytes; there is no Unicode, kerning or line breaking.
//
// Fonts are looked up by exact, case-sensitive name with FindFont, which makes an empty font on a
// miss: it has no shader and every width 0, so its text draws nothing and measures 0. The font
// files (render/font_loader.h) bind names to shaders and glyph data files. Every font ever made is
// kept in one list and lives until the process ends, so callers keep plain pointers.
//
// The glyph data file: no header, little-endian float32 throughout, GLYPH_FILE_BYTES long.
// First 256 widths (character code 0 first), then 256 records of four corners, each corner x, y,
// (unused), u, v. x and y are in units of the text size from the pen position, x to the right and
// y downward from the top of the character cell; u and v are texture coordinates with v = 0 at the
// picture's top row; the corners are in triangle-fan order.
#include <cstddef>
#include <string>
#include <vector>

#include "render/render_objects.h"

constexpr std::size_t GLYPH_WIDTHS_BYTES = 256 * sizeof(float);                    // 1024
constexpr std::size_t GLYPH_RECORDS_BYTES = 256 * sizeof(YGlyph);                  // 20480
constexpr std::size_t GLYPH_FILE_BYTES = GLYPH_WIDTHS_BYTES + GLYPH_RECORDS_BYTES; // 21504

// Largest text DrawTextf formats; longer results are cut.
constexpr int FONT_FORMAT_MAX = 1023;

class YFont : public YFontBase {
public:
    // No shader, every width and glyph 0. The font joins the font list.
    explicit YFont(const std::string& name);
    // Leaves the font list (the last font takes its place).
    ~YFont() override;
    YFont(const YFont&) = delete;
    YFont& operator=(const YFont&) = delete;

    // Reads a glyph data file (path relative to the working directory, '\' separated) into the
    // widths and glyphs. A file that does not open is logged ("Load font data error, file <file>")
    // and leaves the font as it was. A file of another length is logged and still read: a longer
    // one has its first GLYPH_FILE_BYTES read, a shorter one fills what it has and the rest of the
    // font stays as it was. A value that is no finite number is logged and leaves the font empty:
    // broken glyph data would draw garbage. Returns whether the data was taken.
    bool LoadData(const char* file);
    // Back to a new font's glyph data: every width and glyph 0 (the shader stays).
    void ClearData();

    // widths[c & 255], in units of the text size.
    float GetCharWidth(int c) const { return widths[c & 255]; }
    // The sum of the widths of the bytes of `text` (0 for an empty or null text), in units of the
    // text size; times the size for screen units.
    float GetTextWidth(const char* text) const;

    // The text on the 800 x 600 overlay through the renderer (YRender::DrawText): (x, y) is the
    // bottom-left corner of the first character cell. Returns the width drawn in screen units; 0
    // without a renderer.
    float DrawText(float x, float y, float size, const char* text) const;
    // As DrawText with the text formatted printf-style; a result longer than FONT_FORMAT_MAX
    // characters is cut there.
    float DrawTextf(float x, float y, float size, const char* format, ...) const __attribute__((format(printf, 5, 6)));

    std::string name;
};

// The first listed font of exactly this name; a new empty font of that name when there is none.
// Never null. A null name is the empty name.
YFont* FindFont(const std::string& name);
YFont* FindFont(const char* name);
// The same search without making anything: null on a miss.
YFont* FindFontInList(const std::string& name);
// Every font made so far.
const std::vector<YFont*>& FontList();
