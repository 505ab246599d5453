// The shipped fonts: "data\fonts.yml" defines every font the code asks for, and each glyph data
// file and font texture the build put in the game folder is one the text drawing can use.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "content/content_files.h"
#include "content/font_names.h"
#include "editor/editor_bonus_names.h"
#include "editor/editor_level.h"
#include "editor/editor_status.h"
#include "platform/image/image.h"
#include "platform/sys/files.h"

namespace {

constexpr std::size_t GLYPH_FILE_BYTES = 21504;
constexpr int MAX_TEXTURE_SIDE = 512; // larger textures are scaled down when loaded

using content::AtlasFor;
using content::FontEntry;
using content::FontListReader;
using content::GamePath;
using content::SourcePath;

struct Corner {
    float x, y, unused, u, v;
};

struct GlyphData {
    float widths[256];
    Corner corners[256][4];
};

float FloatAt(const std::string& bytes, std::size_t offset) {
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return std::bit_cast<float>(bits);
}

GlyphData DecodeGlyphs(const std::string& bytes) {
    GlyphData g{};
    for (int c = 0; c < 256; ++c) g.widths[c] = FloatAt(bytes, 4 * c);
    for (int c = 0; c < 256; ++c)
        for (int k = 0; k < 4; ++k) {
            const std::size_t at = 1024 + 80 * c + 20 * k;
            g.corners[c][k] = {FloatAt(bytes, at), FloatAt(bytes, at + 4), FloatAt(bytes, at + 8),
                               FloatAt(bytes, at + 12), FloatAt(bytes, at + 16)};
        }
    return g;
}

// Control codes and the five bytes Windows-1252 leaves undefined have no character.
bool IsPrintable(int c) { return c >= 32 && c != 127 && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D; }

std::vector<FontEntry> ShippedFonts(std::vector<std::string>* errors = nullptr) {
    FontListReader reader;
    const std::string file = SourcePath("data/fonts.yml");
    EXPECT_TRUE(reader.Load(file.c_str())) << file;
    if (errors) *errors = reader.errors;
    return reader.fonts;
}

// Texels of the atlas covered by a glyph's quad (corner 3 is top-left, corner 1 bottom-right).
struct TexRect {
    int x0, y0, x1, y1;
};
TexRect QuadTexels(const Corner* c, const plat::Image& atlas) {
    return {static_cast<int>(std::lround(c[3].u * atlas.width)), static_cast<int>(std::lround(c[3].v * atlas.height)),
            static_cast<int>(std::lround(c[1].u * atlas.width)), static_cast<int>(std::lround(c[1].v * atlas.height))};
}

// Sum of alpha over rows [from, to) of the rectangle, as fractions of its height.
double AlphaInRows(const plat::Image& atlas, const TexRect& r, double from, double to) {
    const int h = r.y1 - r.y0;
    double sum = 0;
    for (int y = r.y0 + static_cast<int>(h * from); y < r.y0 + static_cast<int>(h * to); ++y)
        for (int x = r.x0; x < r.x1; ++x) sum += atlas.Pixel(x, y)[3];
    return sum;
}

TEST(FontContent, FontsFileDefinesEveryFontTheCodeNames) {
    std::vector<std::string> errors;
    const std::vector<FontEntry> fonts = ShippedFonts(&errors);
    EXPECT_TRUE(errors.empty()) << errors.front();
    for (std::string_view name : content::FONT_NAMES_USED_BY_CODE) {
        SCOPED_TRACE(std::string(name));
        const FontEntry* found = nullptr;
        for (const FontEntry& f : fonts)
            if (f.name == name) found = &f;
        ASSERT_NE(found, nullptr) << "no <font name=\"" << name << "\"> in data\\fonts.yml";
        EXPECT_FALSE(found->shader.empty());
        EXPECT_FALSE(found->data.empty());
    }
}

TEST(FontContent, EachFontHasItsOwnShader) {
    // A font's shader carries that font's texture, so two fonts cannot share one.
    const std::vector<FontEntry> fonts = ShippedFonts();
    for (std::size_t i = 0; i < fonts.size(); ++i)
        for (std::size_t j = i + 1; j < fonts.size(); ++j)
            EXPECT_NE(fonts[i].shader, fonts[j].shader) << fonts[i].name << " and " << fonts[j].name;
}

TEST(FontContent, GlyphFilesAndTexturesAreUsable) {
    const std::vector<FontEntry> fonts = ShippedFonts();
    ASSERT_FALSE(fonts.empty());
    for (const FontEntry& font : fonts) {
        SCOPED_TRACE(font.name + " (" + font.data + ")");
        std::string bytes;
        ASSERT_EQ(plat::ReadFile(GamePath(font.data), bytes, 1 << 20, false), plat::ReadStatus::Ok);
        ASSERT_EQ(bytes.size(), GLYPH_FILE_BYTES);
        const GlyphData g = DecodeGlyphs(bytes);

        plat::Image atlas;
        std::string why;
        ASSERT_TRUE(plat::LoadImage(GamePath(AtlasFor(font.data)), atlas, nullptr, &why)) << why;
        EXPECT_TRUE(std::has_single_bit(static_cast<unsigned>(atlas.width)));
        EXPECT_TRUE(std::has_single_bit(static_cast<unsigned>(atlas.height)));
        EXPECT_LE(atlas.width, MAX_TEXTURE_SIDE);
        EXPECT_LE(atlas.height, MAX_TEXTURE_SIDE);

        for (int c = 0; c < 256; ++c) {
            SCOPED_TRACE("byte " + std::to_string(c));
            const float w = g.widths[c];
            ASSERT_TRUE(std::isfinite(w));
            if (!IsPrintable(c)) {
                EXPECT_EQ(w, 0.0f); // draws nothing, moves nothing
                continue;
            }
            EXPECT_GT(w, 0.0f); // every character of the code page is in the font
            EXPECT_LT(w, 2.0f);
            const Corner* q = g.corners[c];
            for (int k = 0; k < 4; ++k) {
                EXPECT_TRUE(q[k].u >= 0.0f && q[k].u <= 1.0f) << "corner " << k << " u " << q[k].u;
                EXPECT_TRUE(q[k].v >= 0.0f && q[k].v <= 1.0f) << "corner " << k << " v " << q[k].v;
                EXPECT_TRUE(std::isfinite(q[k].x) && std::isfinite(q[k].y));
            }
            // An upright rectangle in fan order bottom-left, bottom-right, top-right, top-left, its
            // texture the same way up (v, like y, grows downward).
            EXPECT_TRUE(q[0].y == q[1].y && q[2].y == q[3].y && q[0].x == q[3].x && q[1].x == q[2].x);
            EXPECT_TRUE(q[1].x > q[0].x && q[0].y > q[3].y);
            EXPECT_TRUE(q[0].u == q[3].u && q[1].u == q[2].u && q[0].v == q[1].v && q[2].v == q[3].v);
            EXPECT_TRUE(q[1].u > q[0].u && q[0].v > q[3].v);
        }
        EXPECT_GT(g.widths[static_cast<unsigned char>(' ')], 0.0f);

        // Lines one size apart: capitals sit in the middle of the cell, 'g' hangs below the baseline, and
        // letters without descenders share one baseline.
        const auto bottom = [&](char c) { return g.corners[static_cast<unsigned char>(c)][0].y; };
        const auto top = [&](char c) { return g.corners[static_cast<unsigned char>(c)][3].y; };
        EXPECT_FLOAT_EQ(bottom('x'), bottom('H'));
        EXPECT_GT(bottom('g'), bottom('x'));
        EXPECT_LT(top('H'), top('x'));
        const float middleH = 0.5f * (top('H') + bottom('H'));
        EXPECT_GT(middleH, 0.3f);
        EXPECT_LT(middleH, 0.7f);

        // The quads point at the right, upright texels: letters are inked, 'T' is heavier at the
        // top and 'L' at the bottom, and nothing touches the quad's edge (no glyph is cut).
        for (char c : std::string("AHLTWgx")) {
            SCOPED_TRACE(std::string("glyph ") + c);
            const TexRect r = QuadTexels(g.corners[static_cast<unsigned char>(c)], atlas);
            ASSERT_TRUE(r.x0 >= 0 && r.y0 >= 0 && r.x1 <= atlas.width && r.y1 <= atlas.height && r.x0 < r.x1 &&
                        r.y0 < r.y1);
            int whiteInk = 0;
            for (int y = r.y0; y < r.y1; ++y)
                for (int x = r.x0; x < r.x1; ++x) {
                    const uint8_t* p = atlas.Pixel(x, y);
                    if (p[3] > 240 && p[0] > 240 && p[1] > 240 && p[2] > 240) ++whiteInk;
                    const bool edge = x == r.x0 || y == r.y0 || x == r.x1 - 1 || y == r.y1 - 1;
                    if (edge) {
                        EXPECT_EQ(p[3], 0) << "at " << x << "," << y;
                    }
                }
            EXPECT_GT(whiteInk, 4);
        }
        // No two glyphs share texels.
        std::vector<TexRect> rects;
        for (int c = 0; c < 256; ++c)
            if (IsPrintable(c)) rects.push_back(QuadTexels(g.corners[c], atlas));
        for (std::size_t i = 0; i < rects.size(); ++i)
            for (std::size_t j = i + 1; j < rects.size(); ++j) {
                const TexRect& a = rects[i];
                const TexRect& b = rects[j];
                const bool apart = a.x1 <= b.x0 || b.x1 <= a.x0 || a.y1 <= b.y0 || b.y1 <= a.y0;
                ASSERT_TRUE(apart) << "quads " << i << " and " << j << " overlap";
            }

        const TexRect t = QuadTexels(g.corners[static_cast<unsigned char>('T')], atlas);
        EXPECT_GT(AlphaInRows(atlas, t, 0.0, 0.4), 1.5 * AlphaInRows(atlas, t, 0.6, 1.0));
        const TexRect l = QuadTexels(g.corners[static_cast<unsigned char>('L')], atlas);
        EXPECT_GT(AlphaInRows(atlas, l, 0.6, 1.0), 1.5 * AlphaInRows(atlas, l, 0.0, 0.4));
    }
}

// Which shipped fonts must be monospace and which proportional. None is monospace: the console and
// the editor's status lines are proportional so that the status panel's names fit, and keep their
// number columns through digits of one width (checked below).
struct SpacingCase {
    const char* name;
    bool monospace;
};
constexpr SpacingCase SPACING[] = {
    {"sysfont", false},
    {"default", false},
    {"mainfont", false},
    {"billboard", false},
};

TEST(FontContent, SpacingMatchesTheFontsPurpose) {
    const std::vector<FontEntry> fonts = ShippedFonts();
    for (const SpacingCase& sc : SPACING) {
        SCOPED_TRACE(sc.name);
        const FontEntry* font = nullptr;
        for (const FontEntry& f : fonts)
            if (f.name == sc.name) font = &f;
        ASSERT_NE(font, nullptr);
        std::string bytes;
        ASSERT_EQ(plat::ReadFile(GamePath(font->data), bytes, 1 << 20, false), plat::ReadStatus::Ok);
        ASSERT_EQ(bytes.size(), GLYPH_FILE_BYTES);
        const GlyphData g = DecodeGlyphs(bytes);
        const float wide = g.widths[static_cast<unsigned char>('W')];
        const float narrow = g.widths[static_cast<unsigned char>('i')];
        if (!sc.monospace) {
            EXPECT_GT(wide, 1.5f * narrow);
            for (char digit = '1'; digit <= '9'; ++digit)
                EXPECT_EQ(g.widths[static_cast<unsigned char>(digit)], g.widths[static_cast<unsigned char>('0')])
                    << "digit " << digit;
            continue;
        }
        for (int c = 0; c < 256; ++c) {
            if (IsPrintable(c)) {
                EXPECT_EQ(g.widths[c], wide) << "byte " << c;
            }
        }
    }
}

// Every bonus line of the editor's status panel ends before the overlay's right edge in the
// shipped console font: no name is cut off. Counts below ten, as levels have them; a two-digit
// count on the longest names reaches a few units further.
TEST(FontContent, EditorBonusLinesFitTheStatusPanel) {
    std::string bytes;
    ASSERT_EQ(plat::ReadFile(GamePath("fonts\\sysfont.dat"), bytes, 1 << 20, false), plat::ReadStatus::Ok);
    ASSERT_EQ(bytes.size(), GLYPH_FILE_BYTES);
    const GlyphData g = DecodeGlyphs(bytes);
    for (int kind = 0; kind < BONUS_KIND_COUNT; ++kind) {
        char line[128];
        std::snprintf(line, sizeof line, "%2d %2d/%2d %s", kind, 9, 9, EditorBonusName(kind));
        float width = 0.0f;
        for (const char* p = line; *p; ++p) width += g.widths[static_cast<unsigned char>(*p)];
        EXPECT_LE(EDITOR_STATUS_RIGHT_X + width * EDITOR_STATUS_TEXT_SIZE, 800.0f) << line;
    }
}

} // namespace
