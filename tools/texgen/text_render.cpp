#include "tools/texgen/text_render.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <vector>

#include "platform/sys/files.h"

namespace texgen {

namespace {

constexpr std::size_t MAX_FONT_BYTES = 64u << 20;

// Code points of a UTF-8 text; a broken sequence reads as '?'.
std::vector<uint32_t> Decode(std::string_view text) {
    std::vector<uint32_t> out;
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out.push_back(c);
            ++i;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) {
            out.push_back(((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu));
            i += 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < text.size()) {
            out.push_back(((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
                          (static_cast<unsigned char>(text[i + 2]) & 0x3Fu));
            i += 3;
        } else {
            out.push_back('?');
            ++i;
        }
    }
    return out;
}

} // namespace

TextRenderer::~TextRenderer() {
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
}

bool TextRenderer::Open(const std::string& fontFile, std::string& error) {
    if (plat::ReadFile(fontFile, data_, MAX_FONT_BYTES, false) != plat::ReadStatus::Ok) {
        error = "cannot read the font " + fontFile;
        return false;
    }
    if (FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
        error = "cannot start FreeType";
        return false;
    }
    if (FT_New_Memory_Face(library_, reinterpret_cast<const FT_Byte*>(data_.data()), static_cast<FT_Long>(data_.size()),
                           0, &face_) != 0 ||
        !FT_IS_SCALABLE(face_)) {
        error = fontFile + " is not a scalable font";
        return false;
    }
    return true;
}

bool TextRenderer::SetSize(int emPx) { return FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(emPx)) == 0; }

float TextRenderer::Width(std::string_view text, int emPx, float tracking) {
    if (!SetSize(emPx)) return 0;
    const std::vector<uint32_t> codes = Decode(text);
    float pen = 0;
    FT_UInt previous = 0;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const FT_UInt index = FT_Get_Char_Index(face_, codes[i]);
        if (previous && index && FT_HAS_KERNING(face_)) {
            FT_Vector k;
            if (FT_Get_Kerning(face_, previous, index, FT_KERNING_UNFITTED, &k) == 0) pen += k.x / 64.0f;
        }
        if (FT_Load_Glyph(face_, index, FT_LOAD_NO_HINTING) == 0) pen += face_->glyph->linearHoriAdvance / 65536.0f;
        if (i + 1 < codes.size()) pen += tracking;
        previous = index;
    }
    return pen;
}

float TextRenderer::CapHeight(int emPx) {
    if (!SetSize(emPx) || FT_Load_Char(face_, 'H', FT_LOAD_NO_HINTING) != 0) return static_cast<float>(emPx) * 0.73f;
    return face_->glyph->metrics.horiBearingY / 64.0f;
}

bool TextRenderer::Draw(Mask& mask, std::string_view text, int emPx, float centreX, float baseline, float tracking,
                        std::string& error) {
    const float width = Width(text, emPx, tracking);
    if (!SetSize(emPx)) {
        error = "cannot set the font size";
        return false;
    }
    const std::vector<uint32_t> codes = Decode(text);
    float pen = centreX - width * 0.5f;
    FT_UInt previous = 0;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const FT_UInt index = FT_Get_Char_Index(face_, codes[i]);
        if (previous && index && FT_HAS_KERNING(face_)) {
            FT_Vector k;
            if (FT_Get_Kerning(face_, previous, index, FT_KERNING_UNFITTED, &k) == 0) pen += k.x / 64.0f;
        }
        // Place the outline at the pen's fraction of a pixel, so spacing stays even.
        const float whole = std::floor(pen);
        FT_Vector shift{static_cast<FT_Pos>(std::lround((pen - whole) * 64.0f)), 0};
        FT_Set_Transform(face_, nullptr, &shift);
        if (FT_Load_Glyph(face_, index, FT_LOAD_NO_HINTING | FT_LOAD_RENDER) != 0) {
            FT_Set_Transform(face_, nullptr, nullptr);
            error = "cannot render a glyph";
            return false;
        }
        const FT_GlyphSlot g = face_->glyph;
        const FT_Bitmap& bm = g->bitmap;
        const int ox = static_cast<int>(whole) + g->bitmap_left;
        const int oy = static_cast<int>(std::lround(baseline)) - g->bitmap_top;
        for (unsigned r = 0; r < bm.rows; ++r)
            for (unsigned c = 0; c < bm.width; ++c) {
                const int x = ox + static_cast<int>(c), y = oy + static_cast<int>(r);
                if (x < 0 || y < 0 || x >= mask.Width() || y >= mask.Height()) continue;
                const float cover = bm.buffer[static_cast<std::ptrdiff_t>(r) * bm.pitch + c] / 255.0f;
                mask.At(x, y) = std::max(mask.At(x, y), cover);
            }
        pen += g->linearHoriAdvance / 65536.0f;
        if (i + 1 < codes.size()) pen += tracking;
        previous = index;
    }
    FT_Set_Transform(face_, nullptr, nullptr);
    return true;
}

} // namespace texgen
