// Particle sprites. Additive ones are premultiplied: colour = light x alpha, black where clear.
// Every sprite fades to nothing before its border, so a billboard never shows its square.
#include <cmath>

#include "tools/dsp/rng.h"
#include "tools/texgen/noise.h"
#include "tools/texgen/recipes.h"

namespace texgen {

namespace {

// Centred coordinates: -1..1 across the picture.
struct Centred {
    float x, y, r, angle;
};
Centred Centre(float u, float v) {
    const float x = u * 2.0f - 1.0f, y = v * 2.0f - 1.0f;
    return {x, y, std::sqrt(x * x + y * y), std::atan2(y, x)};
}

// Zero at and beyond radius 1, one inside `from`.
float Border(float r, float from = 0.8f) { return 1.0f - SmoothStep(from, 1.0f, r); }

Rgba Additive(Rgb light, float amount) {
    const float a = Clamp01(amount);
    return {light.r * a, light.g * a, light.b * a, a};
}

} // namespace

bool SpriteGlow(const Context&, Picture& out, std::string&) {
    out.Fill([](float u, float v) {
        const Centred c = Centre(u, v);
        const float g = 0.6f * std::exp(-c.r * c.r * 9.0f) + 0.4f * std::exp(-c.r * c.r * 3.0f);
        return Additive({1, 1, 1}, g * Border(c.r, 0.6f));
    });
    return true;
}

bool SpriteSpark(const Context&, Picture& out, std::string&) {
    out.Fill([](float u, float v) {
        const Centred c = Centre(u, v);
        const float core = std::exp(-c.r * c.r * 40.0f);
        const float halo = 0.35f * std::exp(-c.r * c.r * 8.0f);
        // Four streaks along the axes, thin and fading toward their tips.
        const float ax = std::fabs(c.x), ay = std::fabs(c.y);
        const float rays = std::exp(-ay * ay * 900.0f) * std::pow(Clamp01(1.0f - ax), 2.0f) +
                           std::exp(-ax * ax * 900.0f) * std::pow(Clamp01(1.0f - ay), 2.0f);
        return Additive({1, 1, 1}, (core + halo + 0.7f * rays) * Border(c.r, 0.7f));
    });
    return true;
}

bool SpriteStreak(const Context&, Picture& out, std::string&) {
    out.Fill([](float u, float v) {
        const float y = v * 2.0f - 1.0f;
        // Thin at the tail, a round bright head near u = 0.85.
        const float along = std::pow(Clamp01(u / 0.85f), 1.5f) * (1.0f - SmoothStep(0.85f, 0.98f, u));
        const float width = 0.12f + 0.3f * along;
        const float body = along * std::exp(-y * y / (width * width));
        const float hx = (u - 0.85f) * 4.0f;
        const float head = std::exp(-(hx * hx + y * y) * 6.0f);
        const float edge = (1.0f - SmoothStep(0.7f, 1.0f, std::fabs(y))) * (1.0f - SmoothStep(0.94f, 1.0f, u));
        return Additive({1, 1, 1}, (body * 0.8f + head) * edge);
    });
    return true;
}

bool SpriteSmoke(const Context&, Picture& out, std::string&) {
    out.Fill([](float u, float v) {
        const Centred c = Centre(u, v);
        const Vec3 p{c.x * 2.2f, c.y * 2.2f, 0.5f};
        const float n = Fbm3(p, 5, 211);
        const float shape = 1.0f - SmoothStep(0.35f, 0.95f, c.r + 0.22f * n);
        const float puffs = 0.55f + 0.45f * (0.5f + 0.5f * Fbm3(p * 1.7f, 4, 212));
        // Lighter toward the upper left, as if lit from above.
        const float light = 0.78f + 0.18f * Clamp01(0.5f - 0.5f * (c.x + c.y) * 0.7f) + 0.08f * n;
        return WithAlpha(Rgb{light, light, light * 1.02f}, shape * puffs * 0.85f * Border(c.r, 0.85f));
    });
    return true;
}

bool SpriteFire(const Context&, Picture& out, std::string&) {
    constexpr Rgb FLAME[] = {Hex(0x000000), Hex(0x901800), Hex(0xf05010), Hex(0xffa030), Hex(0xffe090), Hex(0xfffff0)};
    out.Fill([&](float u, float v) {
        const Centred c = Centre(u, v);
        // A tongue of flame: round at the bottom, drawn to a point upward (image up is -y), its
        // edge torn by noise that grows toward the tip.
        const float up = Clamp01(-c.y * 0.5f + 0.5f);
        const float dx = c.x * (1.0f + 1.1f * up * up), dy = (c.y + 0.2f) * (c.y < -0.2f ? 0.75f : 1.1f);
        const float n = Fbm3(Vec3{c.x * 2.5f, c.y * 1.8f, 0.3f}, 5, 221);
        const float r = std::sqrt(dx * dx + dy * dy) + 0.22f * n * (0.3f + up);
        const float heat = Clamp01(1.15f - r * 1.45f);
        return Additive(Ramp(FLAME, heat), SmoothStep(0.0f, 0.35f, heat) * Border(c.r, 0.85f));
    });
    return true;
}

bool SpriteRing(const Context&, Picture& out, std::string&) {
    out.Fill([](float u, float v) {
        const Centred c = Centre(u, v);
        const float d = (c.r - 0.72f) / 0.09f;
        const float ring =
            std::exp(-d * d) + 0.35f * std::exp(-(c.r - 0.6f) * (c.r - 0.6f) / 0.06f) * (c.r < 0.72f ? 1.0f : 0.0f);
        const float n =
            0.85f + 0.15f * Fbm3(Vec3{std::cos(c.angle) * 3.0f, std::sin(c.angle) * 3.0f, c.r * 4.0f}, 3, 231);
        return Additive({1, 1, 1}, ring * n * Border(c.r, 0.9f));
    });
    return true;
}

bool SpriteFlare(const Context&, Picture& out, std::string&) {
    out.Fill([](float u, float v) {
        const Centred c = Centre(u, v);
        // Rays of uneven length and brightness around the circle (the noise wraps with the angle).
        const float a = (c.angle + PI) / (2.0f * PI);
        const float rays = Clamp01(0.5f + 0.9f * FbmTile2(a, 0.0f, 24, 1, 3, 241, 0.6f));
        const float reach = 0.45f + 0.5f * Clamp01(0.5f + 0.8f * NoisePeriodic(a * 12.0f, 0.5f, 12, 1, 242));
        const float beam = std::pow(rays, 4.0f) * (1.0f - SmoothStep(0.0f, reach, c.r));
        const float core = std::exp(-c.r * c.r * 30.0f) + 0.3f * std::exp(-c.r * c.r * 6.0f);
        return Additive({1, 1, 1}, (core + beam * 0.8f) * Border(c.r, 0.85f));
    });
    return true;
}

namespace {

// Midpoint displacement between two points, appending the inner points and the end.
void Bolt(std::vector<Vec2>& path, Vec2 a, Vec2 b, float spread, dsp::Rng& rng, int depth) {
    if (depth == 0) {
        path.push_back(b);
        return;
    }
    const Vec2 d = b - a;
    const Vec2 normal{-d.y, d.x};
    const Vec2 mid = (a + b) * 0.5f + normal * (spread * static_cast<float>(rng.Bipolar()));
    Bolt(path, a, mid, spread * 0.55f, rng, depth - 1);
    Bolt(path, mid, b, spread * 0.55f, rng, depth - 1);
}

} // namespace

bool SpriteLightning(const Context&, Picture& out, std::string&) {
    const int w = out.Width(), h = out.Height();
    Mask core(w, h), glow(w, h);
    dsp::Rng rng(251);
    std::vector<Vec2> path{{0.0f, h * 0.5f}};
    Bolt(path, path[0], {static_cast<float>(w), h * 0.5f}, 0.22f, rng, 7);
    for (std::size_t i = 1; i < path.size(); ++i) {
        core.Segment(path[i - 1], path[i], 1.8f, 1.0f, false);
        glow.Segment(path[i - 1], path[i], 5.0f, 1.0f, false);
    }
    // Two forks that leave the main bolt and die away.
    for (int f = 0; f < 2; ++f) {
        const Vec2 from = path[path.size() / 3 + static_cast<std::size_t>(f) * path.size() / 3];
        const Vec2 to =
            from + Vec2{static_cast<float>(rng.Range(30, 60)), static_cast<float>(rng.Range(-1, 1) * h * 0.35)};
        std::vector<Vec2> fork{from};
        Bolt(fork, from, to, 0.3f, rng, 5);
        for (std::size_t i = 1; i < fork.size(); ++i) {
            const float fade = 1.0f - static_cast<float>(i) / fork.size();
            core.Segment(fork[i - 1], fork[i], 1.2f, 0.8f * fade, false);
            glow.Segment(fork[i - 1], fork[i], 4.0f, 0.7f * fade, false);
        }
    }
    glow.Blur(6, false);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float edge = 1.0f - SmoothStep(0.8f, 1.0f, std::fabs((y + 0.5f) / h * 2.0f - 1.0f));
            const Rgb light = Rgb{0.55f, 0.7f, 1.0f} * (glow.At(x, y) * 1.3f) + Rgb{1, 1, 1} * core.At(x, y);
            const float a = Clamp01(std::max({light.r, light.g, light.b}) * edge);
            const Rgb c = light * (edge / std::max(a, 1e-4f));
            out.At(x, y) = Rgba{Clamp01(c.r) * a, Clamp01(c.g) * a, Clamp01(c.b) * a, a};
        }
    return true;
}

} // namespace texgen

namespace texgen {

// A ball of fire seen from any side: a hot, nearly white core, billows of brighter and darker
// gas towards the rim. Grey-white, so the blast's tint gives it its colour; additive.
bool SpriteFireball(const Context&, Picture& out, std::string&) {
    out.Fill([](float u, float v) {
        const Centred c = Centre(u, v);
        const float billow = 0.5f + 0.5f * Fbm3(Vec3{c.x * 3.0f, c.y * 3.0f, 0.7f}, 4, 271);
        const float body = 1.0f - SmoothStep(0.35f + 0.35f * billow, 0.95f, c.r);
        const float core = std::exp(-c.r * c.r * 6.0f);
        const float light = Clamp01(0.55f * body * (0.6f + 0.8f * billow) + 0.6f * core);
        return Additive({1.0f, 0.97f, 0.9f}, light * Border(c.r, 0.85f));
    });
    return true;
}

// The flash where a ball strikes a wall: a bright point with a wide horizontal streak and a
// shorter vertical one, so the wall seems to light up along its length; additive.
bool SpriteWallFlash(const Context&, Picture& out, std::string&) {
    out.Fill([](float u, float v) {
        const Centred c = Centre(u, v);
        const float ax = std::fabs(c.x), ay = std::fabs(c.y);
        const float core = std::exp(-c.r * c.r * 25.0f) + 0.4f * std::exp(-c.r * c.r * 5.0f);
        const float wide = std::exp(-ay * ay * 120.0f) * std::pow(Clamp01(1.0f - ax), 1.5f);
        const float tall = 0.5f * std::exp(-ax * ax * 200.0f) * std::pow(Clamp01(1.0f - ay), 2.0f);
        return Additive({1, 1, 1}, (core + 0.8f * wide + tall) * Border(c.r, 0.75f));
    });
    return true;
}

} // namespace texgen
