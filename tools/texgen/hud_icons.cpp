// The pictures of the in-game overlay (alpha-blended, tinted by nothing: their colours are their
// own) and the menu comets' star (additive, premultiplied, near white so its tint colours it).
#include <cmath>

#include "tools/texgen/recipes.h"

namespace texgen {

namespace {

// Distance from p to the segment a-b.
float SegmentDistance(Vec2 p, Vec2 a, Vec2 b) {
    const Vec2 ab = b - a;
    const float t = Clamp01(Dot(p - a, ab) / Dot(ab, ab));
    return Length(p - (a + ab * t));
}

// Coverage of an edge at signed distance d (negative inside), about one pixel wide at `px`.
float Cover(float d, float px) { return Clamp01(0.5f - d / px); }

} // namespace

// The panel strip: u runs across it, v along it. v 0..0.25 and 0.75..1 are the two rounded ends,
// v 0.25..0.75 the body, which is stretched over any length. A dark glassy fill with a warm rim.
bool HudBar(const Context&, Picture& out, std::string&) {
    const float px = 1.0f / out.Width();
    out.Fill([px](float u, float v) {
        const float across = u * 2.0f - 1.0f; // -1..1
        // Along the ends: 1 at the tip, 0 where the body starts.
        const float end = v < 0.25f ? 1.0f - v / 0.25f : (v > 0.75f ? (v - 0.75f) / 0.25f : 0.0f);
        const float radius = std::sqrt(across * across + end * end); // 1 on the outline
        const float inside = Cover((radius - 0.94f) * 0.5f, px);
        const float rim = std::exp(-std::pow((radius - 0.86f) / 0.05f, 2.0f));
        const float shine = 0.25f * std::exp(-std::pow((across + 0.45f) / 0.2f, 2.0f));
        const Rgb fill{0.07f, 0.09f, 0.15f};
        const Rgb rimColour{1.0f, 0.62f, 0.25f};
        const Rgb c = Mix(fill + Rgb{shine, shine, shine * 1.2f}, rimColour, Clamp01(rim));
        return WithAlpha(c, inside * Mix(0.72f, 1.0f, Clamp01(rim)));
    });
    return true;
}

// A red heart with a soft highlight and a dark outline.
bool HudHeart(const Context&, Picture& out, std::string&) {
    const float px = 2.6f / out.Width();
    out.Fill([px](float u, float v) {
        // The classic heart curve (x^2 + y^2 - 1)^3 = x^2 y^3, y up, scaled to fill the square.
        const float x = (u * 2.0f - 1.0f) * 1.5f;
        const float y = -(v * 2.0f - 1.0f) * 1.5f + 0.2f;
        const float q = x * x + y * y - 1.0f;
        const float f = q * q * q - x * x * y * y * y;
        // f grows about cubically near the outline; its cube root is close to a distance.
        const float d = std::cbrt(f) * 0.55f;
        const float inside = Cover(d, px);
        const float outline = Cover(d + 0.08f, px); // 1 in the inner part, 0 on the outline
        const float highlight = std::exp(-((x + 0.45f) * (x + 0.45f) + (y - 0.35f) * (y - 0.35f)) * 9.0f);
        Rgb c = Mix(Rgb{0.35f, 0.02f, 0.04f}, Rgb{0.92f, 0.1f, 0.14f}, outline);
        c = Mix(c, Rgb{1.0f, 0.8f, 0.8f}, 0.7f * highlight * outline);
        return WithAlpha(c, inside);
    });
    return true;
}

// The launch-angle needle: from the middle to the top edge (v = 0), tapered, on a small hub.
bool HudNeedle(const Context&, Picture& out, std::string&) {
    const float px = 1.0f / out.Width();
    out.Fill([px](float u, float v) {
        const Vec2 p{u, v};
        const Vec2 hub{0.5f, 0.5f}, tip{0.5f, 0.06f};
        // Wider at the hub than at the tip.
        const float along = Clamp01((0.5f - v) / 0.44f);
        const float halfWidth = Mix(0.05f, 0.012f, along);
        const float needle = Cover(SegmentDistance(p, hub, tip) - halfWidth, px);
        const float hubDisc = Cover(Length(p - hub) - 0.085f, px);
        const float shade = std::fabs(u - 0.5f) < 0.006f ? 1.0f : 0.82f;
        const Rgb needleColour = Rgb{1.0f, 0.86f, 0.3f} * shade;
        const float ring = Cover(std::fabs(Length(p - hub) - 0.06f) - 0.012f, px);
        const Rgb c = hubDisc > 0.0f ? Mix(Rgb{0.95f, 0.5f, 0.15f}, Rgb{0.3f, 0.1f, 0.02f}, ring) : needleColour;
        return WithAlpha(c, std::fmax(needle, hubDisc));
    });
    return true;
}

// A bright star: a hot core in a soft halo with four long and four short rays; additive.
bool SpriteStar(const Context&, Picture& out, std::string&) {
    out.Fill([](float u, float v) {
        const float x = u * 2.0f - 1.0f, y = v * 2.0f - 1.0f;
        const float r = std::sqrt(x * x + y * y);
        const float a = std::atan2(y, x);
        const float core = std::exp(-r * r * 60.0f);
        const float halo = 0.45f * std::exp(-r * r * 7.0f);
        const float longRays = std::pow(std::fabs(std::cos(2.0f * a)), 60.0f) * std::pow(Clamp01(1.0f - r), 2.0f);
        const float shortRays =
            0.5f * std::pow(std::fabs(std::sin(2.0f * a)), 80.0f) * std::pow(Clamp01(1.0f - r * 1.8f), 2.0f);
        const float g = Clamp01((core + halo + longRays + shortRays) * (1.0f - SmoothStep(0.85f, 1.0f, r)));
        return Rgba{g, g, g, g};
    });
    return true;
}

} // namespace texgen
