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
    // One byte more than a glyph file holds tells a longer file from one of the right length.
    std::string bytes(GLYPH_FILE_BYTES + 1, '\0');
    FILE* in = plat::OpenFile(path, "rb");
    if (!in) {
        LogPrintf(g_Log, "Load font data error, file %s", path);
        return false;
    }
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), in);
    const bool failed = std::ferror(in) != 0;
    std::fclose(in);
    if (failed) {
        LogPrintf(g_Log, "Load font data error, file %s: cannot be read", path);
        return false;
    }
    if (got > GLYPH_FILE_BYTES) {
        // Only the glyph data is read; what follows it is not.
        LogPrintf(g_Log, "Load font data, file %s: %lld bytes, a glyph data file has %zu; the rest is not read", path,
                  plat::FileSize(path), GLYPH_FILE_BYTES);
    } else if (got < GLYPH_FILE_BYTES) {
        // A short file fills what it has; the rest of the font stays as it was.
        LogPrintf(g_Log, "Load font data error, file %s: %zu bytes, a glyph data file has %zu; the rest is kept", path,
                  got, GLYPH_FILE_BYTES);
    }

    // The font as it is, in the file's layout, with the file's bytes over it; decoded into a copy
    // first, so that a bad value leaves no half-read font behind.
    std::string image(GLYPH_FILE_BYTES, '\0');
    auto put = [&image](std::size_t at, float f) {
        const uint32_t bits = std::bit_cast<uint32_t>(f);
        for (int i = 0; i < 4; ++i) image[at + i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    };
    for (int c = 0; c < 256; ++c) put(c * sizeof(float), widths[c]);
    for (int c = 0; c < 256; ++c)
        for (int k = 0; k < 4; ++k) {
            const YGlyphCorner& g = glyphs[c].corners[k];
            const std::size_t at = GLYPH_WIDTHS_BYTES + (c * 20 + k * 5) * sizeof(float);
            const float v[5] = {g.x, g.y, g.unused, g.u, g.v};
            for (int i = 0; i < 5; ++i) put(at + i * sizeof(float), v[i]);
        }
    image.replace(0, std::min(got, GLYPH_FILE_BYTES), bytes, 0, std::min(got, GLYPH_FILE_BYTES));

    float values[GLYPH_FILE_BYTES / sizeof(float)];
    for (std::size_t i = 0; i < std::size(values); ++i) {
        values[i] = FloatAt(image, i * sizeof(float));
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
