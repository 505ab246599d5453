#include "tools/fontbake/glyph_raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>

#include "platform/sys/files.h"

namespace fontbake {
namespace {

constexpr std::size_t MAX_FONT_FILE_BYTES = 64u << 20;

std::string FreeTypeError(const char* what, FT_Error code) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%s (FreeType error %d)", what, static_cast<int>(code));
    return buf;
}

} // namespace

GlyphRasterizer::~GlyphRasterizer() {
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
}

bool GlyphRasterizer::Open(const std::string& path, std::string* error) {
    switch (plat::ReadFile(path, data_, MAX_FONT_FILE_BYTES, false)) {
        case plat::ReadStatus::Ok: break;
        case plat::ReadStatus::Missing: *error = "font file not found"; return false;
        case plat::ReadStatus::TooLarge: *error = "font file too large"; return false;
        default: *error = "font file cannot be read"; return false;
    }
    if (FT_Error e = FT_Init_FreeType(&library_)) {
        library_ = nullptr;
        *error = FreeTypeError("cannot start FreeType", e);
        return false;
    }
    if (FT_Error e = FT_New_Memory_Face(library_, reinterpret_cast<const FT_Byte*>(data_.data()),
                                        static_cast<FT_Long>(data_.size()), 0, &face_)) {
        face_ = nullptr;
        *error = FreeTypeError("not a font file", e);
        return false;
    }
    if (!FT_IS_SCALABLE(face_) || face_->units_per_EM == 0 || face_->ascender - face_->descender <= 0) {
        *error = "not a scalable font";
        return false;
    }
    return true;
}

bool GlyphRasterizer::SetLineHeight(int linePx, std::string* error) {
    const double unitsPerLine = static_cast<double>(face_->ascender) - face_->descender;
    // A whole number of pixels per em keeps the font's own scaling exact.
    const long em = std::lround(linePx * face_->units_per_EM / unitsPerLine);
    if (em < 1) {
        *error = "line height too small";
        return false;
    }
    if (FT_Error e = FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(em))) {
        *error = FreeTypeError("cannot set the size", e);
        return false;
    }
    const double scale = static_cast<double>(em) / face_->units_per_EM;
    lineHeight_ = static_cast<float>(unitsPerLine * scale);
    ascender_ = static_cast<float>(face_->ascender * scale);
    return true;
}

bool GlyphRasterizer::HasGlyph(uint32_t codePoint) const { return FT_Get_Char_Index(face_, codePoint) != 0; }

bool GlyphRasterizer::Render(uint32_t codePoint, RasterGlyph& out, std::string* error) {
    const FT_UInt index = FT_Get_Char_Index(face_, codePoint);
    if (FT_Error e = FT_Load_Glyph(face_, index, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP)) {
        *error = FreeTypeError("cannot load a glyph", e);
        return false;
    }
    FT_GlyphSlot slot = face_->glyph;
    if (FT_Error e = FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL)) {
        *error = FreeTypeError("cannot render a glyph", e);
        return false;
    }
    const FT_Bitmap& bm = slot->bitmap;
    if (bm.rows > 0 && bm.width > 0 && bm.pixel_mode != FT_PIXEL_MODE_GRAY) {
        *error = "unexpected bitmap format";
        return false;
    }
    out.advance = static_cast<float>(slot->linearHoriAdvance / 65536.0);
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.width = static_cast<int>(bm.width);
    out.height = static_cast<int>(bm.rows);
    out.coverage.assign(static_cast<std::size_t>(out.width) * out.height, 0.0f);
    const float levels = bm.num_grays > 1 ? static_cast<float>(bm.num_grays - 1) : 255.0f;
    const int pitch = bm.pitch < 0 ? -bm.pitch : bm.pitch;
    for (int y = 0; y < out.height; ++y) {
        // A negative pitch stores the rows bottom first.
        const int row = bm.pitch < 0 ? out.height - 1 - y : y;
        const unsigned char* src = bm.buffer + static_cast<std::size_t>(row) * pitch;
        for (int x = 0; x < out.width; ++x) out.coverage[static_cast<std::size_t>(y) * out.width + x] = src[x] / levels;
    }
    return true;
}

} // namespace fontbake
