// Surfaces of the special blocks: lava, water, electric energy, warning stripes and teleports.
#include <cmath>

#include "tools/texgen/noise.h"
#include "tools/texgen/recipes.h"

namespace texgen {

bool Lava(const Context&, Picture& out, std::string&) {
    constexpr Rgb HEAT[] = {Hex(0x000000), Hex(0x5a0800), Hex(0xc02800), Hex(0xff7010), Hex(0xffc040), Hex(0xfff0b0)};
    out.Fill([&](float u, float v) {
        const float wu = u + 0.02f * FbmTile(u, v, 4, 3, 141), wv = v + 0.02f * FbmTile(u, v, 4, 3, 142);
        const Cell c = WorleyTile(wu, wv, 6, 143);
        // Glowing seams between the plates of crust, hot spots where the crust is thin.
        const float seam = std::exp(-(c.f2 - c.f1) * 70.0f);
        const float thin = SmoothStep(0.2f, 0.9f, FbmTile(u, v, 3, 4, 144));
        const float heat = Clamp01(seam * 1.05f + thin * 0.35f + 0.08f * FbmTile(u, v, 16, 3, 145));
        const Rgb crust = Mix(Hex(0x1c1410), Hex(0x3a2620), Clamp01(0.5f + 0.5f * FbmTile(u, v, 24, 3, 146)));
        const Rgb glow = Ramp(HEAT, heat);
        return WithAlpha(crust * (1.0f - heat) + glow * (0.3f + heat), 1.0f);
    });
    return true;
}

bool Water(const Context&, Picture& out, std::string&) {
    out.Fill([](float u, float v) {
        const float depth = Clamp01(0.5f + 0.6f * FbmTile(u, v, 2, 4, 151));
        Rgb c = Mix(Hex(0x2a8cc4), Hex(0x0a3e74), depth);
        // Caustics: bright threads along the edges of warped cells, two layers.
        float light = 0;
        for (int layer = 0; layer < 2; ++layer) {
            const uint32_t s = 152u + static_cast<uint32_t>(layer) * 10u;
            const float wu = u + 0.035f * FbmTile(u, v, 3, 3, s), wv = v + 0.035f * FbmTile(u, v, 3, 3, s + 1);
            const Cell cell = WorleyTile(wu, wv, 5 + layer * 2, s + 2);
            light += std::exp(-(cell.f2 - cell.f1) * (90.0f + layer * 40.0f)) * (layer == 0 ? 0.7f : 0.45f);
        }
        c = c + Hex(0xb4f0ff) * (light * 0.8f);
        return WithAlpha(c, 1.0f);
    });
    return true;
}

bool Energy(const Context&, Picture& out, std::string&) {
    constexpr Rgb ARC[] = {Hex(0x02061a), Hex(0x0a2a80), Hex(0x2080ff), Hex(0x80e0ff), Hex(0xffffff)};
    out.Fill([&](float u, float v) {
        float glow = 0;
        for (int layer = 0; layer < 3; ++layer) {
            const uint32_t s = 161u + static_cast<uint32_t>(layer) * 7u;
            const float wu = u + 0.06f * FbmTile(u, v, 2, 3, s), wv = v + 0.06f * FbmTile(u, v, 2, 3, s + 1);
            const float n = FbmTile(wu, wv, 3 + layer, 5, s + 2, 0.55f);
            glow += std::pow(Clamp01(1.0f - std::fabs(n) * 4.0f), 6.0f) * (1.0f - 0.25f * layer);
        }
        const float haze = 0.12f + 0.08f * FbmTile(u, v, 2, 3, 170);
        return WithAlpha(Ramp(ARC, Clamp01(haze + glow * 0.75f)), 1.0f);
    });
    return true;
}

bool Hazard(const Context&, Picture& out, std::string&) {
    constexpr int STRIPES = 3;
    out.Fill([&](float u, float v) {
        // Diagonal stripes with a slightly wavy paint edge, worn through in places to bare metal.
        const float s = (u + v) * STRIPES + 0.012f * FbmTile(u, v, 16, 3, 181);
        const float f = s - std::floor(s);
        const float edge = std::min(f, std::fabs(f - 0.5f));
        const float yellow = SmoothStep(-0.004f, 0.004f, 0.25f - std::fabs(f - 0.25f));
        Rgb c = Mix(Hex(0x1c1a18), Hex(0xf0b818), yellow);
        c = c * (0.85f + 0.15f * FbmTile(u, v, 6, 4, 182));
        const float wear = SmoothStep(0.55f, 0.8f, FbmTile(u, v, 8, 5, 183) + (0.06f - std::min(edge, 0.06f)) * 4.0f);
        c = Mix(c, Hex(0x8a8c90) * (0.9f + 0.2f * FbmTile2(u, v, 2, 160, 2, 184)), wear * 0.85f);
        // Grime collects a little everywhere.
        c = c * (1.0f - 0.25f * SmoothStep(0.2f, 0.9f, FbmTile(u, v, 3, 4, 185)));
        return WithAlpha(c, 1.0f);
    });
    return true;
}

bool Portal(const Context&, Picture& out, std::string&) {
    constexpr Rgb VIOLET[] = {Hex(0x0c0418), Hex(0x3a0c5a), Hex(0x8a28c8), Hex(0xe070ff), Hex(0xffe0ff)};
    out.Fill([&](float u, float v) {
        const float wu = u + 0.04f * FbmTile(u, v, 3, 3, 191), wv = v + 0.04f * FbmTile(u, v, 3, 3, 192);
        const Cell c = WorleyTile(wu, wv, 5, 193);
        const float rim = std::exp(-(c.f2 - c.f1) * 45.0f);
        // Each cell swirls inside: rings around its centre, bent by noise.
        const float r = c.f1 * 5.0f;
        const float swirl = 0.5f + 0.5f * std::sin(r * 18.0f + FbmTile(u, v, 6, 3, 194) * 3.0f + HashUnit(c.id) * 6.0f);
        const float inner = swirl * (1.0f - SmoothStep(0.0f, 0.8f, r)) * 0.18f + 0.1f * FbmTile(u, v, 8, 3, 195);
        return WithAlpha(Ramp(VIOLET, Clamp01(0.12f + rim * 0.85f + inner)), 1.0f);
    });
    return true;
}

} // namespace texgen
