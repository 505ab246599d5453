// See-through and frozen surfaces: glass, ice and the frost that covers the table.
#include <cmath>

#include "tools/dsp/rng.h"
#include "tools/texgen/noise.h"
#include "tools/texgen/recipes.h"

namespace texgen {

bool Glass(const Context&, Picture& out, std::string&) {
    out.Fill([](float u, float v) {
        // Faint diagonal reflections and a little uneven thickness.
        // Two straight diagonal reflections, a broad one and a thin one, over a slightly uneven pane.
        const float d = u + v;
        const float broad = std::pow(0.5f + 0.5f * std::cos(2.0f * PI * d), 24.0f);
        const float thin = std::pow(0.5f + 0.5f * std::cos(2.0f * PI * (d - 0.22f)), 200.0f);
        const float streak = broad * 0.6f + thin * 0.8f;
        const float thick = FbmTile(u, v, 3, 4, 112);
        const Rgb c = Mix(Hex(0xb4dce6), Hex(0xf4fcff), Clamp01(streak + 0.1f * thick));
        return WithAlpha(c, Clamp01(0.26f + 0.05f * thick + 0.3f * streak));
    });
    return true;
}

bool Ice(const Context&, Picture& out, std::string&) {
    const int w = out.Width(), h = out.Height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
            const float depth = Clamp01(0.5f + 0.6f * FbmTile(u, v, 3, 5, 121));
            Rgb c = Mix(Hex(0xe4f4fc), Hex(0x6cb0d4), depth);
            // Cracks between large cells, and faint smaller ones inside.
            const Cell big = WorleyTile(u, v, 4, 122);
            const Cell small = WorleyTile(u + 0.013f * FbmTile(u, v, 8, 2, 123), v, 11, 124);
            const float crack = std::max(SmoothStep(0.006f, 0.0f, big.f2 - big.f1),
                                         0.45f * SmoothStep(0.004f, 0.0f, small.f2 - small.f1));
            c = Mix(c, Hex(0xffffff), crack * 0.85f);
            // Frosted specks near the surface.
            c = Mix(c, Hex(0xf8fcff), SmoothStep(0.5f, 0.8f, FbmTile(u, v, 48, 2, 125)) * 0.4f);
            out.At(x, y) = WithAlpha(c, 1.0f);
        }
    return true;
}

namespace {

// A feather of frost: a stem with side branches that shorten toward its tip, and branches of
// their own while long enough.
void Feather(Mask& m, Vec2 start, float angle, float length, float width, float value, dsp::Rng& rng, int depth) {
    const Vec2 dir{std::cos(angle), std::sin(angle)};
    m.Segment(start, start + dir * length, width, value, true);
    if (depth == 0 || length < 5.0f) return;
    const float spacing = std::max(2.5f, length / 9.0f);
    for (float t = spacing; t < length; t += spacing) {
        const Vec2 at = start + dir * t;
        const float branch = (length - t) * 0.45f * static_cast<float>(rng.Range(0.6, 1.0));
        for (float side : {-1.0f, 1.0f})
            Feather(m, at, angle + side * 1.05f, branch, width * 0.7f, value * 0.8f, rng, depth - 1);
    }
}

} // namespace

bool Frost(const Context&, Picture& out, std::string&) {
    const int w = out.Width(), h = out.Height();
    Mask crystals(w, h);
    dsp::Rng rng(131);
    for (int i = 0; i < 70; ++i) {
        const Vec2 at{static_cast<float>(rng.Range(0, w)), static_cast<float>(rng.Range(0, h))};
        const float angle = static_cast<float>(rng.Range(0, 2 * PI));
        const bool large = i < 20;
        Feather(crystals, at, angle, static_cast<float>(large ? rng.Range(40, 80) : rng.Range(10, 30)),
                large ? 1.4f : 1.0f, static_cast<float>(rng.Range(0.5, 1.0)), rng, 2);
    }
    Mask glow = crystals;
    glow.Blur(3, true);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float u = (x + 0.5f) / w, v = (y + 0.5f) / h;
            const float haze = Clamp01(0.3f + 0.3f * FbmTile(u, v, 4, 5, 132) + 0.1f * FbmTile(u, v, 32, 2, 133));
            const float a = Clamp01(haze + crystals.At(x, y) * 0.7f + glow.At(x, y) * 0.5f);
            out.At(x, y) = WithAlpha(Mix(Hex(0xd4ecfa), Hex(0xffffff), crystals.At(x, y)), a);
        }
    return true;
}

} // namespace texgen
