#include <cmath>

#include "tools/texgen/noise.h"
#include "tools/texgen/skies.h"
#include "tools/texgen/star_field.h"

namespace texgen {

namespace {

// The galaxy's band is the great circle around this axis.
const Vec3 BAND_AXIS = Normalize(Vec3{0.35f, -0.45f, 0.82f});
constexpr Rgb SPACE = {0.006f, 0.008f, 0.022f};
constexpr Rgb BAND_LIGHT = Hex(0xd0c0b0);
constexpr Rgb NEBULA[] = {Hex(0x3020a0), Hex(0xa02a90), Hex(0xf05a70), Hex(0x30a0b8), Hex(0x2040b0)};

const StarLayer DIM{240.0f, 0.05f, 0.6f, 6.0f, 0.0f, 91};
const StarLayer BRIGHT{80.0f, 0.05f, 1.8f, 8.0f, 0.4f, 92};

} // namespace

Rgb SkyStars(Vec3 d) {
    Rgb c = SPACE;
    // The band: a bright, uneven stripe with dark dust lanes down its middle.
    const float b = Dot(d, BAND_AXIS);
    const float wobble = Fbm3(d * 1.5f, 3, 93) * 0.08f;
    const float band = std::exp(-(b + wobble) * (b + wobble) / 0.05f);
    if (band > 0.004f) {
        const float clumps = 0.5f + 0.5f * Fbm3(d * 5.0f, 5, 94);
        const float core = std::exp(-(b - wobble * 0.5f) * (b - wobble * 0.5f) / 0.006f);
        const float lanes = core > 0.01f ? SmoothStep(0.0f, 0.5f, Fbm3(d * 7.0f + Vec3{3, 1, 2}, 5, 95)) * core : 0.0f;
        c = c + BAND_LIGHT * (band * clumps * 0.3f * (1.0f - 0.85f * lanes));
    }
    // Nebulae: wide clouds of coloured gas with brighter filaments.
    const float gas = Fbm3(d * 1.3f + Vec3{7, 7, 7}, 5, 96, 0.55f);
    const float amount = SmoothStep(-0.1f, 0.7f, gas);
    if (amount > 0) {
        const float hue = 0.5f + 0.6f * Fbm3(d * 0.9f, 3, 97);
        const float fil = 0.45f + 0.55f * (1.0f - std::fabs(Fbm3(d * 6.0f, 4, 98)));
        c = c + Ramp(NEBULA, hue) * (amount * amount * fil * fil * 0.55f);
    }
    const float density = 1.0f + 3.0f * band;
    c = c + StarLight(d, DIM, density);
    c = c + StarLight(d, BRIGHT, 0.6f + 0.8f * band);
    return c;
}

} // namespace texgen
