#include "render/font.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "core/log.h"
#include "platform/sys/files.h"
#include "render/render.h"

static_assert(sizeof(YGlyphCorner) == 5 * sizeof(float));
static_assert(sizeof(YGlyph) == 80);
static_assert(GLYPH_FILE_BYTES == 21504);

namespace {

// The list lives on the heap and is never destroyed: fonts may be looked up during static
// start-up and touched by static destructors, and every font stays reachable from here until the
// process ends.
std::vector<YFont*>& Fonts() {
    static auto* list = new std::vector<YFont*>();
    return *list;
}

float FloatAt(const std::string& bytes, std::size_t offset) {
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return std::bit_cast<float>(bits);
}

} // namespace

YFont::YFont(const std::string& name_) : name(name_) { Fonts().push_back(this); }

YFont::~YFont() {
    std::vector<YFont*>& list = Fonts();
    auto it = std::find(list.begin(), list.end(), this);
    if (it == list.end()) return;
    *it = list.back();
    list.pop_back();
}

void YFont::ClearData() {
    std::fill(std::begin(widths), std::end(widths), 0.0f);
    std::fill(std::begin(glyphs), std::end(glyphs), YGlyph{});
}

bool YFont::LoadData(const char* file) {
    const char* path = file ? file : "";
    std::string bytes;
    switch (plat::ReadFile(path, bytes, GLYPH_FILE_BYTES, /*textMode*/ false)) {
        case plat::ReadStatus::Ok: break;
        case plat::ReadStatus::TooLarge:
            LogPrintf(g_Log, "Load font data error, file %s: %lld bytes, a glyph data file has %zu", path,
                      plat::FileSize(path), GLYPH_FILE_BYTES);
            ClearData();
            return false;
        case plat::ReadStatus::Missing:
        case plat::ReadStatus::Error: LogPrintf(g_Log, "Load font data error, file %s", path); return false;
    }
    if (bytes.size() != GLYPH_FILE_BYTES) {
        LogPrintf(g_Log, "Load font data error, file %s: %zu bytes, a glyph data file has %zu", path, bytes.size(),
                  GLYPH_FILE_BYTES);
        ClearData();
        return false;
    }

    // Decoded into a copy first, so that a bad value leaves no half-read font behind.
    float values[GLYPH_FILE_BYTES / sizeof(float)];
    for (std::size_t i = 0; i < std::size(values); ++i) {
        values[i] = FloatAt(bytes, i * sizeof(float));
        if (!std::isfinite(values[i])) {
            LogPrintf(g_Log, "Load font data error, file %s: no number at byte %zu", path, i * sizeof(float));
            ClearData();
            return false;
        }
    }
    std::copy_n(values, 256, widths);
    for (int c = 0; c < 256; ++c)
        for (int k = 0; k < 4; ++k) {
            const float* v = values + 256 + c * 20 + k * 5;
            glyphs[c].corners[k] = YGlyphCorner{v[0], v[1], v[2], v[3], v[4]};
        }
    return true;
}

float YFont::GetTextWidth(const char* text) const {
    if (!text) return 0.0f;
    float width = 0.0f;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) width += widths[*p];
    return width;
}

float YFont::DrawText(float x, float y, float size, const char* text) const {
    if (!g_Render || !text) return 0.0f;
    return g_Render->DrawText(this, x, y, size, text);
}

float YFont::DrawTextf(float x, float y, float size, const char* format, ...) const {
    if (!format) return 0.0f;
    char text[FONT_FORMAT_MAX + 1];
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n < 0) text[0] = '\0'; // a format the C library could not apply draws nothing
    return DrawText(x, y, size, text);
}

YFont* FindFontInList(const std::string& name) {
    for (YFont* f : Fonts())
        if (f->name == name) return f;
    return nullptr;
}

YFont* FindFont(const std::string& name) {
    if (YFont* found = FindFontInList(name)) return found;
    return new YFont(name);
}

YFont* FindFont(const char* name) { return FindFont(std::string(name ? name : "")); }

const std::vector<YFont*>& FontList() { return Fonts(); }
