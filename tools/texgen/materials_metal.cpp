// Metal and rubber surfaces.
#include <cmath>

#include "tools/dsp/rng.h"
#include "tools/texgen/noise.h"
#include "tools/texgen/recipes.h"

namespace texgen {

namespace {

// Brushed steel brightness about 0.8..1.2, brushed along u (or along v when `across`).
float Brushed(float u, float v, uint32_t seed, bool across) {
    const float a = across ? v : u, b = across ? u : v;
    const float streaks = FbmTile2(a, b, 2, 160, 3, seed, 0.6f);
    const float coarse = FbmTile2(a, b, 1, 24, 3, seed + 1);
    const float sheen = FbmTile(u, v, 2, 2, seed + 2);
    return 1.0f + 0.07f * streaks + 0.05f * coarse + 0.06f * sheen;
}

} // namespace

bool Metal(const Context&, Picture& out, std::string&) {
    const int w = out.Width(), h = out.Height();
    // Fine scratches, mostly along the brushing.
    Mask scratches(w, h);
    dsp::Rng rng(91);
    for (int i = 0; i < 70; ++i) {
        const Vec2 a{static_cast<float>(rng.Range(0, w)), static_cast<float>(rng.Range(0, h))};
        const float angle = static_cast<float>(rng.Range(-0.25, 0.25) + (rng.Chance(0.2) ? rng.Range(-1.2, 1.2) : 0.0));
        const float len = static_cast<float>(rng.Range(10, 70));
        scratches.Segment(a, a + Vec2{std::cos(angle), std::sin(angle)} * len, 0.7f,
                          static_cast<float>(rng.Range(0.3, 1.0)), true);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
            const Rgb base = Hex(0x9ea2a8) * Brushed(u, v, 92, false);
            out.At(x, y) = WithAlpha(Mix(base, Hex(0xd8dce0), scratches.At(x, y) * 0.5f), 1.0f);
        }
    return true;
}

bool MetalPlate(const Context&, Picture& out, std::string&) {
    constexpr int PANELS = 2;
    const int w = out.Width(), h = out.Height();
    const float panel = static_cast<float>(w) / PANELS;
    Mask height(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float px = std::fmod(x + 0.5f, panel), py = std::fmod(y + 0.5f, panel);
            const float edge = std::min({px, panel - px, py, panel - py});
            float hgt = SmoothStep(1.0f, 4.0f, edge); // a groove between panels
            // Rivets: domes in from each corner and half-way along each side.
            for (float rx : {8.0f, panel * 0.5f, panel - 8.0f})
                for (float ry : {8.0f, panel * 0.5f, panel - 8.0f}) {
                    if (rx == panel * 0.5f && ry == panel * 0.5f) continue;
                    const float d = std::hypot(px - rx, py - ry) / 5.0f;
                    if (d < 1.0f) hgt = std::max(hgt, 1.0f + 3.0f * std::sqrt(1.0f - d * d));
                }
            height.At(x, y) = hgt;
        }
    const Mask shade = ShadeHeights(height, 1.4f, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
            const int pi = static_cast<int>(x / panel), pj = static_cast<int>(y / panel);
            // Panels alternate their brushing and differ a little in tone.
            const float tone = 0.93f + 0.1f * HashUnit(HashInts(pi, pj, 0, 93));
            Rgb c = Hex(0x8a9098) * (tone * Brushed(u, v, 94, (pi + pj) % 2 == 1));
            c = c * (0.55f + 0.45f * shade.At(x, y));
            if (height.At(x, y) < 0.5f) c = c * (0.5f + height.At(x, y));
            out.At(x, y) = WithAlpha(c, 1.0f);
        }
    return true;
}

bool Rubber(const Context&, Picture& out, std::string&) {
    const int w = out.Width(), h = out.Height();
    Mask height(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
            height.At(x, y) = FbmTile(u, v, 32, 3, 101) * 0.6f + FbmTile(u, v, 6, 3, 102) * 0.4f;
        }
    const Mask shade = ShadeHeights(height, 3.0f, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
            const Rgb c = Mix(Hex(0x26262a), Hex(0x3c3a40), Clamp01(0.5f + 0.5f * FbmTile(u, v, 3, 3, 103)));
            out.At(x, y) = WithAlpha(c * (0.4f + 0.7f * shade.At(x, y)), 1.0f);
        }
    return true;
}

} // namespace texgen
