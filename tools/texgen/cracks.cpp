// The block-crack picture. The game makes ten copies of it with 0.0, 0.1 .. 0.9 subtracted from
// every colour and shows the copy that matches a block's health (the untouched block gets the
// darkest), so the picture is black with bright crack lines whose brightness says how soon each
// part shows: the middles of the main cracks are brightest and appear first, their ends, branches
// and hairlines are dimmer and follow as the block breaks up.
#include <cmath>

#include "tools/dsp/rng.h"
#include "tools/texgen/recipes.h"

namespace texgen {

namespace {

struct CrackWalk {
    Mask& mask;
    dsp::Rng& rng;
};

// A crack wandering from `at` for `length` pixels; its brightness falls from `value` to half of it
// along the way. Branches split off with dimmer, thinner cracks.
void Crack(CrackWalk& w, Vec2 at, float angle, float length, float width, float value, int depth) {
    constexpr float STEP = 2.5f;
    const int steps = std::max(1, static_cast<int>(length / STEP));
    for (int i = 0; i < steps; ++i) {
        const float t = static_cast<float>(i) / steps;
        angle += static_cast<float>(w.rng.Range(-0.32, 0.32));
        const Vec2 next = at + Vec2{std::cos(angle), std::sin(angle)} * STEP;
        w.mask.Segment(at, next, width * (1.0f - 0.45f * t), value * (1.0f - 0.5f * t), true);
        at = next;
        if (depth > 0 && w.rng.Chance(0.045)) {
            const float side = w.rng.Chance(0.5) ? 1.0f : -1.0f;
            Crack(w, at, angle + side * static_cast<float>(w.rng.Range(0.45, 1.1)), length * (1.0f - t) * 0.6f,
                  width * 0.7f, value * (1.0f - 0.5f * t) * 0.75f, depth - 1);
        }
    }
}

} // namespace

bool Cracks(const Context&, Picture& out, std::string&) {
    const int w = out.Width(), h = out.Height();
    Mask mask(w, h);
    dsp::Rng rng(201);
    CrackWalk walk{mask, rng};
    // Main cracks run both ways from a point of impact.
    for (int i = 0; i < 4; ++i) {
        const Vec2 at{static_cast<float>(rng.Range(0, w)), static_cast<float>(rng.Range(0, h))};
        const float angle = static_cast<float>(rng.Range(0, 2 * PI));
        const float length = static_cast<float>(rng.Range(0.35, 0.55)) * w;
        for (float turn : {0.0f, PI}) Crack(walk, at, angle + turn, length, 2.2f, 1.0f, 3);
    }
    // Hairlines that show only on a nearly broken block.
    for (int i = 0; i < 14; ++i) {
        const Vec2 at{static_cast<float>(rng.Range(0, w)), static_cast<float>(rng.Range(0, h))};
        Crack(walk, at, static_cast<float>(rng.Range(0, 2 * PI)), static_cast<float>(rng.Range(0.06, 0.16)) * w, 1.0f,
              static_cast<float>(rng.Range(0.2, 0.35)), 1);
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float m = mask.At(x, y);
            out.At(x, y) = Rgba{m, m, m, 1.0f};
        }
    return true;
}

} // namespace texgen
