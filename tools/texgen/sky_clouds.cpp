#include <cmath>

#include "tools/texgen/noise.h"
#include "tools/texgen/skies.h"

namespace texgen {

namespace {

const Vec3 SUN = FromAngles(0.55f, 0.52f);
constexpr Rgb ZENITH = Hex(0x2a5cb8);
constexpr Rgb HORIZON = Hex(0xb8d4f0);
constexpr Rgb HAZE = Hex(0xd6e2f0);
constexpr Rgb SUNLIGHT = {1.0f, 0.93f, 0.80f};
constexpr Rgb CLOUD_LIT = {1.02f, 1.0f, 0.97f};
constexpr Rgb CLOUD_SHADE = Hex(0x8a9ab4);
constexpr Rgb DEEP = Hex(0x3c4e6c);

// Sum of soft round heaps around jittered points, one per unit cell (p in cell units).
float Heaps(Vec2 p, uint32_t seed) {
    const int cx = static_cast<int>(std::floor(p.x)), cy = static_cast<int>(std::floor(p.y));
    float sum = 0;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
            const uint32_t h = HashInts(cx + i, cy + j, 0, seed);
            const Vec2 c{cx + i + HashUnit(h), cy + j + HashUnit(Hash32(h))};
            const float r = 0.7f + 0.3f * HashUnit(Hash32(h + 1));
            const Vec2 d = p - c;
            const float x2 = Dot(d, d) / (r * r);
            if (x2 < 1.0f) sum += (1.0f - x2) * (1.0f - x2) * (0.6f + 0.4f * HashUnit(Hash32(h + 2)));
        }
    return sum;
}

// Height of the cloud sea's top at a point of its plane (the eye is 1 unit above it): heaps of
// round puffs at four sizes, sunk into gaps where the large-scale cover thins out.
float SeaHeight(Vec2 p) {
    const float warp = Fbm3(Vec3{p.x * 0.25f, p.y * 0.25f, 1.5f}, 3, 41);
    const Vec2 q = p + Vec2{warp, -warp} * 0.35f;
    float h = 0, amp = 1, scale = 1.0f;
    for (int k = 0; k < 4; ++k) {
        h += amp * Heaps(q * (1.0f / scale), 42u + static_cast<uint32_t>(k));
        amp *= 0.4f;
        scale *= 0.4f;
    }
    const float cover = SmoothStep(-0.55f, 0.2f, Fbm3(Vec3{p.x * 0.07f, p.y * 0.07f, 4.0f}, 3, 43));
    return (1.0f - std::exp(-h * 1.4f)) * cover;
}

Rgb CloudSea(Vec3 d) {
    const float depth = std::max(-d.z, 1e-3f);
    const float dist = 1.0f / depth;
    const Vec2 p{d.x * dist, d.y * dist};
    const float h = SeaHeight(p);
    // Sides facing the sun are lit, the others fall into blue shade; hollows are darker still.
    const Vec2 sunFlat = Vec2{SUN.x, SUN.y} * (1.0f / Length(Vec2{SUN.x, SUN.y}));
    const float step = 0.06f;
    const float slope = (SeaHeight(p + sunFlat * step) - h) / step;
    const float facing = Clamp01(0.7f - 0.45f * slope);
    Rgb cloud = Mix(CLOUD_SHADE, CLOUD_LIT, facing);
    cloud = cloud * (0.72f + 0.28f * SmoothStep(0.0f, 0.9f, h));
    const float cover = SmoothStep(0.02f, 0.25f, h);
    Rgb c = Mix(DEEP, cloud, cover);
    // Air between the eye and far clouds.
    const float fog = 1.0f - std::exp(-dist * 0.09f);
    return Mix(c, HAZE, fog);
}

Rgb Sky(Vec3 d) {
    const float up = Clamp01(d.z);
    Rgb c = Mix(HORIZON, ZENITH, std::pow(up, 0.5f));
    c = Mix(HAZE, c, SmoothStep(0.0f, 0.12f, d.z));
    // High thin veils, stretched along one direction.
    if (d.z > 0.01f) {
        const float h = 4.0f / d.z;
        const Vec3 q{d.x * h * 0.06f + 0.4f * d.y * h * 0.06f, d.y * h * 0.22f, 8.0f};
        const float veil = SmoothStep(0.15f, 0.75f, Fbm3(q, 5, 44)) * SmoothStep(0.02f, 0.25f, d.z);
        c = Mix(c, Rgb{0.96f, 0.97f, 1.0f}, veil * 0.45f);
    }
    return c;
}

} // namespace

Rgb SkyClouds(Vec3 d) {
    Rgb c = d.z >= 0 ? Sky(d) : CloudSea(d);
    const float s = std::max(Dot(d, SUN), 0.0f);
    const float disc = SmoothStep(0.99985f, 0.99992f, s);
    c = c + SUNLIGHT * (std::pow(s, 600.0f) * 0.9f + std::pow(s, 40.0f) * 0.22f + std::pow(s, 6.0f) * 0.08f);
    return Mix(c, Rgb{3.0f, 2.9f, 2.6f}, disc);
}

} // namespace texgen
