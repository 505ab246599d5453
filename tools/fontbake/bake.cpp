#include "tools/fontbake/bake.h"

#include <algorithm>
#include <cstdio>

#include "platform/window/codepage.h"
#include "tools/fontbake/atlas_pack.h"

namespace fontbake {
namespace {

// Slots start on multiples of 4 texels: mip levels 1 and 2 keep glyphs apart.
constexpr int SLOT_ALIGN = 4;
// A transparent texel around every glyph inside its quad, so filtering fades to nothing at the
// quad's edge, and one more outside the quad before the next slot.
constexpr int QUAD_MARGIN = 1;
constexpr int SLOT_SLACK = 1;

struct Pending {
    int byte = 0;
    float advance = 0;
    int left = 0, top = 0; // of the composed picture's top-left texel, pen-relative, pixels (top upward)
    plat::Image picture;
};

} // namespace

bool IsPrintableCp1252(unsigned char byte) {
    const uint32_t cp = plat::Cp1252ToCodePoint(byte);
    return cp >= 0x20 && !(cp >= 0x7F && cp <= 0x9F);
}

BakeStatus BakeFont(GlyphRasterizer& raster, const BakeOptions& options, BakedFont& out, std::string* error) {
    out = BakedFont{};
    if (!raster.SetLineHeight(options.linePx, error)) return BakeStatus::Failed;
    const float line = raster.LineHeight();
    const float ascender = raster.Ascender();
    const int pad = EffectPadding(options.effects);

    std::vector<Pending> glyphs;
    for (int byte = 0; byte < GLYPH_COUNT; ++byte) {
        if (!IsPrintableCp1252(static_cast<unsigned char>(byte))) continue;
        const uint32_t cp = plat::Cp1252ToCodePoint(static_cast<unsigned char>(byte));
        if (!raster.HasGlyph(cp)) {
            char msg[64];
            std::snprintf(msg, sizeof msg, "no glyph for byte 0x%02X (U+%04X)", byte, static_cast<unsigned>(cp));
            out.warnings.emplace_back(msg);
            continue;
        }
        RasterGlyph g;
        if (!raster.Render(cp, g, error)) return BakeStatus::Failed;
        Pending p;
        p.byte = byte;
        p.advance = g.advance;
        p.left = g.left - pad;
        p.top = g.top + pad;
        ComposeGlyph(g.coverage, g.width, g.height, options.effects, p.picture);
        glyphs.push_back(std::move(p));
    }

    std::vector<PackSlot> slots(glyphs.size());
    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        slots[i].w = std::max(glyphs[i].picture.width, 0) + 2 * QUAD_MARGIN + SLOT_SLACK;
        slots[i].h = std::max(glyphs[i].picture.height, 0) + 2 * QUAD_MARGIN + SLOT_SLACK;
    }
    int width = 0, height = 0;
    if (!PackSmallestPowerOfTwo(slots, options.maxSide, SLOT_ALIGN, width, height)) return BakeStatus::DoesNotFit;

    out.atlas.Allocate(width, height);
    unsigned char empty[4];
    EmptyTexel(options.effects, empty);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) std::copy(empty, empty + 4, out.atlas.Pixel(x, y));

    for (std::size_t i = 0; i < glyphs.size(); ++i) {
        const Pending& g = glyphs[i];
        const PackSlot& s = slots[i];
        for (int y = 0; y < g.picture.height; ++y)
            for (int x = 0; x < g.picture.width; ++x)
                std::copy(g.picture.Pixel(x, y), g.picture.Pixel(x, y) + 4,
                          out.atlas.Pixel(s.x + QUAD_MARGIN + x, s.y + QUAD_MARGIN + y));

        const int quadW = g.picture.width + 2 * QUAD_MARGIN;
        const int quadH = g.picture.height + 2 * QUAD_MARGIN;
        // Quad in pixels: x from the pen, y down from the top of the cell.
        const float px0 = static_cast<float>(g.left - QUAD_MARGIN);
        const float py0 = ascender - static_cast<float>(g.top + QUAD_MARGIN);
        const float x0 = px0 / line, x1 = (px0 + quadW) / line;
        const float y0 = py0 / line, y1 = (py0 + quadH) / line;
        const float u0 = static_cast<float>(s.x) / width, u1 = static_cast<float>(s.x + quadW) / width;
        const float v0 = static_cast<float>(s.y) / height, v1 = static_cast<float>(s.y + quadH) / height;

        out.table.widths[g.byte] = g.advance / line;
        // Fan order bottom-left, bottom-right, top-right, top-left: counter-clockwise as the
        // text is seen, so the default culling of clockwise faces keeps it.
        GlyphCorner* c = out.table.corners[g.byte];
        c[0] = {x0, y1, 0, u0, v1};
        c[1] = {x1, y1, 0, u1, v1};
        c[2] = {x1, y0, 0, u1, v0};
        c[3] = {x0, y0, 0, u0, v0};
        ++out.glyphCount;
    }
    return BakeStatus::Ok;
}

} // namespace fontbake
