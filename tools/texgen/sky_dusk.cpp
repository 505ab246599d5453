#include <cmath>

#include "tools/texgen/noise.h"
#include "tools/texgen/skies.h"
#include "tools/texgen/star_field.h"

namespace texgen {

namespace {

const Vec3 SUN = FromAngles(-0.35f, 0.035f);
constexpr Rgb SUN_GLOW = {1.0f, 0.55f, 0.22f};
constexpr Rgb SUN_CORE = {1.0f, 0.86f, 0.62f};
// Sky colours from the horizon up, on the side of the sun and on the far side.
constexpr Rgb SKY_SUNWARD[] = {Hex(0xffa050), Hex(0xf07a5a), Hex(0xa85c84),
                               Hex(0x4a3a78), Hex(0x1e2250), Hex(0x0c1030)};
constexpr Rgb SKY_AWAY[] = {Hex(0xb07a8c), Hex(0x8a6490), Hex(0x5a4a80), Hex(0x2e2e64), Hex(0x161a44), Hex(0x0a0e2a)};
constexpr Rgb HILLS_FAR = Hex(0x5a3c64);
constexpr Rgb HILLS_NEAR = Hex(0x22162e);
constexpr Rgb WATER_DEEP = Hex(0x06060e);

const StarLayer FIRST_STARS{260.0f, 0.035f, 0.8f, 10.0f, 0.0f, 51};

// 0 on the side away from the sun, 1 toward it (horizontal directions only).
float Sunward(Vec3 d) {
    const float l = std::hypot(d.x, d.y);
    if (l < 1e-5f) return 0.5f;
    const float sl = std::hypot(SUN.x, SUN.y);
    return 0.5f + 0.5f * (d.x * SUN.x + d.y * SUN.y) / (l * sl);
}

Rgb Gradient(Vec3 d) {
    const float toward = Sunward(d);
    const float t = std::pow(Clamp01(d.z), 0.55f);
    return Mix(Ramp(SKY_AWAY, t), Ramp(SKY_SUNWARD, t), toward * toward);
}

// Soft layered clouds on a plane above, lit from below by the low sun.
Rgb Clouds(Vec3 d, Rgb sky) {
    if (d.z <= 0.015f) return sky;
    const float h = 1.0f / d.z;
    const Vec3 q{d.x * h * 0.22f, d.y * h * 0.5f, 2.0f};
    const float warp = Fbm3(q * 0.7f, 3, 61);
    const float n = Fbm3(Vec3{q.x + warp * 0.8f, q.y + warp * 0.3f, q.z}, 6, 62, 0.55f);
    const float cover =
        SmoothStep(0.05f, 0.65f, n) * SmoothStep(0.015f, 0.12f, d.z) * (1.0f - SmoothStep(0.6f, 0.95f, d.z));
    if (cover <= 0) return sky;
    const float toward = Sunward(d);
    const float thick = SmoothStep(0.1f, 0.9f, n);
    // Undersides glow orange and pink near the sun and turn violet-grey away from it.
    const Rgb lit = Mix(Hex(0x7a5a8c), Hex(0xffa878), toward * toward);
    const Rgb dark = Mix(Hex(0x3a3058), Hex(0x6a4064), toward);
    const float glowHeight = 1.0f - SmoothStep(0.0f, 0.5f, d.z);
    Rgb c = Mix(lit, dark, thick * (0.6f - 0.3f * glowHeight));
    c = c * (0.75f + 0.45f * glowHeight);
    return Mix(sky, c, cover * 0.85f);
}

// Elevation (radians) of the far and the near hills' outline at a horizontal direction.
void HillHeights(Vec3 d, float& far, float& nearHills) {
    const float l = std::max(std::hypot(d.x, d.y), 1e-5f);
    const Vec3 ring{d.x / l, d.y / l, 0.0f};
    const float ridgeFar = 1.0f - std::fabs(Fbm3(ring * 2.2f + Vec3{0, 0, 11.0f}, 5, 71));
    far = 0.012f + 0.06f * ridgeFar * ridgeFar + 0.01f * Fbm3(ring * 9.0f, 3, 72);
    const float hillNear = Fbm3(ring * 1.6f + Vec3{0, 0, 23.0f}, 5, 73);
    nearHills = 0.004f + 0.03f * SmoothStep(-0.3f, 0.8f, hillNear);
}

// Everything at or above the horizon.
Rgb Above(Vec3 d, bool reflected) {
    Rgb c = Gradient(d);
    c = Clouds(d, c);
    if (!reflected) {
        // The first stars show high up and away from the afterglow.
        const float dark = SmoothStep(0.25f, 0.8f, d.z) * (1.0f - 0.7f * Sunward(d) * (1.0f - d.z));
        if (dark > 0) c = c + StarLight(d, FIRST_STARS) * dark;
    }
    const float s = std::max(Dot(d, SUN), 0.0f);
    c = c + SUN_GLOW * (std::pow(s, 5.0f) * 0.35f + std::pow(s, 60.0f) * 0.55f) + SUN_CORE * std::pow(s, 900.0f) * 1.2f;
    c = Mix(c, Rgb{2.6f, 2.1f, 1.4f}, SmoothStep(0.99982f, 0.99990f, s));
    // The hills cut the lowest part of the sky.
    const float elevation = std::asin(std::clamp(d.z, -1.0f, 1.0f));
    if (elevation > 0.1f) return c; // above the highest hill
    float far = 0, nearHills = 0;
    HillHeights(d, far, nearHills);
    const float edge = 0.0025f;
    const Rgb haze = Mix(HILLS_FAR, Ramp(SKY_SUNWARD, 0.0f), 0.25f * Sunward(d));
    c = Mix(haze, c, SmoothStep(far - edge, far + edge, elevation));
    c = Mix(HILLS_NEAR, c, SmoothStep(nearHills - edge, nearHills + edge, elevation));
    return c;
}

} // namespace

Rgb SkyDusk(Vec3 d) {
    if (d.z >= 0) return Above(d, false);
    // A still lake: the sky mirrored, with small ripples that grow toward the eye and darken.
    const float depth = -d.z;
    const float dist = 1.0f / std::max(depth, 1e-3f);
    const Vec3 q{d.x * dist * 2.0f, d.y * dist * 6.0f, 5.0f};
    const float ripple = Fbm3(q, 4, 81) * 0.012f * SmoothStep(0.0f, 0.2f, depth);
    Vec3 r = Normalize(Vec3{d.x, d.y, depth + ripple});
    Rgb c = Above(r, true);
    // Sun glitter on the ripples, in a column under the sun.
    const float glitter = std::pow(std::max(Dot(Normalize(Vec3{d.x, d.y, depth * 0.15f}), SUN), 0.0f), 200.0f);
    const float sparkle = 0.35f + 0.65f * SmoothStep(0.2f, 0.8f, Fbm3(q * 3.0f, 2, 82));
    c = c * 0.6f + SUN_CORE * (glitter * sparkle * 0.8f);
    // The shore line: the near hills' foot is dark where it meets the water.
    return Mix(c, WATER_DEEP, SmoothStep(0.02f, 0.7f, depth));
}

} // namespace texgen
