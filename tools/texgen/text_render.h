#pragma once
// Lines of text as coverage masks, from a TrueType font through FreeType (the splash slides'
// lettering). One renderer per thread: FreeType objects are not shared.
#include <string>
#include <string_view>

#include "tools/texgen/picture.h"

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

namespace texgen {

class TextRenderer {
public:
    TextRenderer() = default;
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    bool Open(const std::string& fontFile, std::string& error);

    // Advance width in pixels of a UTF-8 line at `emPx` pixels per em, with `tracking` extra pixels
    // after every character but the last.
    float Width(std::string_view text, int emPx, float tracking);
    // Height of capital letters above the baseline, in pixels.
    float CapHeight(int emPx);
    // Draws the line centred on `centreX` with its baseline at `baseline`, keeping the larger of
    // the old and new coverage. False when a glyph cannot be rendered.
    bool Draw(Mask& mask, std::string_view text, int emPx, float centreX, float baseline, float tracking,
              std::string& error);

private:
    bool SetSize(int emPx);

    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    std::string data_;
};

} // namespace texgen
