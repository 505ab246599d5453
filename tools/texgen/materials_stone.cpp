// Stone surfaces: marble, floor tiles, granite, bricks and the broken inside of a block.
#include <cmath>

#include "tools/texgen/noise.h"
#include "tools/texgen/recipes.h"

namespace texgen {

namespace {

// Vein strength 0..1 of marble at (u, v): thin, branching, turbulent lines.
// `lines`: vein paths across one repeat (whole, so the pattern tiles).
float Veins(float u, float v, uint32_t seed, float sharpness, int lines) {
    // Smooth, sweeping paths: the turbulence has few octaves, so the lines bend without crinkling.
    const float turb = FbmTile(u, v, 2, 4, seed, 0.45f);
    const float main = std::fabs(std::sin(PI * lines * (u + 2.0f * v) + turb * 6.0f));
    const float fine = std::fabs(std::sin(2.0f * PI * (3.0f * u - v) + FbmTile(u, v, 3, 4, seed + 1, 0.45f) * 6.0f));
    const float strength = SmoothStep(-0.6f, 0.5f, FbmTile(u, v, 3, 3, seed + 2));
    // A sharp line inside a soft cloud of colour, and fainter hair veins across them.
    const float vein = std::pow(1.0f - main, sharpness) * strength + 0.28f * std::pow(1.0f - main, 3.0f);
    return Clamp01(std::max(vein, 0.35f * strength * std::pow(1.0f - fine, sharpness * 1.5f)));
}

Rgb WhiteMarble(float u, float v, uint32_t seed) {
    const float cloud = FbmTile(u, v, 2, 5, seed + 5);
    Rgb c = Mix(Hex(0xf2efea), Hex(0xd8d6d4), Clamp01(0.5f + 0.5f * cloud));
    return Mix(c, Hex(0x7c7e86), Veins(u, v, seed, 14.0f, 1) * 0.8f);
}

Rgb DarkMarble(float u, float v, uint32_t seed) {
    const float cloud = FbmTile(u, v, 3, 5, seed + 5);
    Rgb c = Mix(Hex(0x0c2018), Hex(0x24483a), Clamp01(0.45f + 0.6f * cloud));
    return Mix(c, Hex(0xc8dcd2), Veins(u, v, seed, 22.0f, 3) * 0.85f);
}

} // namespace

bool Marble(const Context&, Picture& out, std::string&) {
    out.Fill([](float u, float v) { return WithAlpha(WhiteMarble(u, v, 31), 1.0f); });
    return true;
}

bool MarbleDark(const Context&, Picture& out, std::string&) {
    out.Fill([](float u, float v) { return WithAlpha(DarkMarble(u, v, 41), 1.0f); });
    return true;
}

bool FloorTiles(const Context&, Picture& out, std::string&) {
    constexpr int TILES = 2;
    const float grout = 2.0f / static_cast<float>(out.Width()); // half width of the joint
    out.Fill([&](float u, float v) {
        const int tx = static_cast<int>(u * TILES), ty = static_cast<int>(v * TILES);
        // Each tile shows a different part of the pattern.
        const float ou = u + 0.37f * tx + 0.21f * ty, ov = v + 0.53f * ty + 0.11f * tx;
        Rgb c = (tx + ty) % 2 == 0 ? WhiteMarble(ou, ov, 51) : DarkMarble(ou, ov, 52);
        const float lu = u * TILES - tx, lv = v * TILES - ty; // 0..1 inside the tile
        const float toEdge = std::min({lu, 1.0f - lu, lv, 1.0f - lv}) / TILES;
        // Polished edges catch a little light on the upper left and fall off toward the joint.
        const float bevel = SmoothStep(grout, grout * 3.0f, toEdge);
        const float light = (lu < 0.04f || lv < 0.04f) ? 1.06f : ((lu > 0.96f || lv > 0.96f) ? 0.9f : 1.0f);
        c = c * (light * (0.75f + 0.25f * bevel));
        return WithAlpha(Mix(Hex(0x55524c), c, SmoothStep(grout * 0.5f, grout * 1.5f, toEdge)), 1.0f);
    });
    return true;
}

bool Stone(const Context&, Picture& out, std::string&) {
    Mask height(out.Width(), out.Height());
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            const float u = (x + 0.5f) / out.Width(), v = (y + 0.5f) / out.Height();
            height.At(x, y) = FbmTile(u, v, 4, 7, 61, 0.6f);
        }
    const Mask shade = ShadeHeights(height, 9.0f, true);
    for (int y = 0; y < out.Height(); ++y)
        for (int x = 0; x < out.Width(); ++x) {
            const float u = (x + 0.5f) / out.Width(), v = (y + 0.5f) / out.Height();
            const float mottle = FbmTile(u, v, 3, 4, 62);
            Rgb c = Mix(Hex(0x6e6c6a), Hex(0x9a9690), Clamp01(0.5f + 0.5f * mottle));
            // Grains: dark mica, pale quartz and a few pink feldspar flecks.
            const float g1 = FbmTile(u, v, 48, 2, 63), g2 = FbmTile(u, v, 40, 2, 64), g3 = FbmTile(u, v, 24, 2, 65);
            c = Mix(c, Hex(0x242424), SmoothStep(0.45f, 0.7f, g1));
            c = Mix(c, Hex(0xd8d4ce), SmoothStep(0.5f, 0.75f, g2) * 0.8f);
            c = Mix(c, Hex(0xa87c70), SmoothStep(0.55f, 0.8f, g3) * 0.6f);
            out.At(x, y) = WithAlpha(c * (0.55f + 0.45f * shade.At(x, y)), 1.0f);
        }
    return true;
}

bool Bricks(const Context&, Picture& out, std::string&) {
    constexpr int COURSES = 8, PER_COURSE = 3;
    const int w = out.Width(), h = out.Height();
    Mask height(w, h);
    std::vector<uint32_t> brickId(static_cast<std::size_t>(w) * h);
    const float mortar = 0.018f; // in tile units
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
            const int course = static_cast<int>(v * COURSES);
            float bu = u * PER_COURSE + (course % 2) * 0.5f;
            const int brick = static_cast<int>(std::floor(bu));
            bu -= brick;
            const float bv = v * COURSES - course;
            const float ex = std::min(bu, 1.0f - bu) / PER_COURSE, ey = std::min(bv, 1.0f - bv) / COURSES;
            const float edge = std::min(ex, ey);
            // Rounded, slightly uneven brick faces standing out of the mortar.
            const float rough = FbmTile(u, v, 16, 4, 71) * 0.08f;
            height.At(x, y) = SmoothStep(mortar * 0.6f, mortar * 1.6f, edge + rough * 0.02f) * (1.0f + rough);
            brickId[static_cast<std::size_t>(y) * w + x] =
                edge < mortar ? 0 : HashInts(brick % PER_COURSE, course, 0, 72) | 1u;
        }
    const Mask shade = ShadeHeights(height, 18.0f, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
            const uint32_t id = brickId[static_cast<std::size_t>(y) * w + x];
            Rgb c;
            if (id == 0) {
                c = Hex(0xa49c90) * (0.85f + 0.15f * FbmTile(u, v, 32, 2, 73));
            } else {
                const Rgb base = Mix(Hex(0x8c3a24), Hex(0xb45a38), HashUnit(id));
                c = Mix(base, Hex(0x5a2a1c), SmoothStep(0.2f, 0.8f, FbmTile(u, v, 12, 4, 74)) * 0.5f);
                c = c * (0.9f + 0.15f * FbmTile(u, v, 64, 2, 75));
            }
            out.At(x, y) = WithAlpha(c * (0.45f + 0.55f * shade.At(x, y)), 1.0f);
        }
    return true;
}

bool Fracture(const Context&, Picture& out, std::string&) {
    const int w = out.Width(), h = out.Height();
    Mask height(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
            const Cell c = WorleyTile(u, v, 7, 81);
            // Broken facets: each cell tilts its own way, with fine grit on top.
            const Vec2 slope{HashUnit(c.id) - 0.5f, HashUnit(Hash32(c.id)) - 0.5f};
            const Vec2 off{WrapDelta(u - c.centre.x, 1.0f), WrapDelta(v - c.centre.y, 1.0f)};
            height.At(x, y) = Dot(slope, off) * 6.0f + FbmTile(u, v, 24, 3, 82) * 0.05f -
                              SmoothStep(0.012f, 0.0f, c.f2 - c.f1) * 0.1f;
        }
    const Mask shade = ShadeHeights(height, 10.0f, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
            Rgb c = Mix(Hex(0x8a8278), Hex(0xaaa090), Clamp01(0.5f + 0.5f * FbmTile(u, v, 5, 4, 83)));
            c = c * (0.85f + 0.2f * FbmTile(u, v, 64, 2, 84));
            out.At(x, y) = WithAlpha(c * (0.5f + 0.5f * shade.At(x, y)), 1.0f);
        }
    return true;
}

} // namespace texgen
