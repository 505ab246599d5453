// Wood: grain along u, from the rings of a log cut lengthwise.
#include <cmath>

#include "tools/texgen/noise.h"
#include "tools/texgen/recipes.h"

namespace texgen {

namespace {

constexpr Rgb EARLY = Hex(0xc8945c);
constexpr Rgb LATE = Hex(0x7c4a24);

// Ring brightness 0 (light early wood) .. 1 (dark late wood) for a ring coordinate.
float RingProfile(float r) {
    const float f = r - std::floor(r);
    return std::pow(f, 3.0f) * 0.7f + 0.12f * SmoothStep(0.0f, 0.06f, 1.0f - f);
}

Rgb WoodColour(float ring, float fibre, float tint) {
    Rgb c = Mix(EARLY, LATE, RingProfile(ring));
    c = c * (0.9f + 0.12f * fibre);
    return c * (0.92f + 0.16f * tint);
}

} // namespace

bool Wood(const Context&, Picture& out, std::string&) {
    // One knot, where the rings bend around a small dark core.
    const Vec2 knot{0.68f, 0.37f};
    out.Fill([&](float u, float v) {
        const float warp = FbmTile2(u, v, 2, 3, 4, 11) * 1.6f;
        const float dx = WrapDelta(u - knot.x, 1.0f) * 0.35f, dy = WrapDelta(v - knot.y, 1.0f);
        const float kd = std::sqrt(dx * dx + dy * dy);
        const float bend = 0.9f * std::exp(-kd * kd / 0.0025f);
        const float ring = v * 13.0f + warp * 1.4f + FbmTile2(u, v, 1, 2, 2, 14) * 2.5f + bend * 3.0f;
        const float fibre = FbmTile2(u, v, 3, 110, 3, 12) + 0.5f * FbmTile2(u, v, 8, 200, 2, 15);
        Rgb c = WoodColour(ring, fibre, FbmTile(u, v, 2, 2, 13));
        c = c * (1.0f - 0.55f * std::exp(-kd * kd / 0.00012f));
        return WithAlpha(c, 1.0f);
    });
    return true;
}

bool Planks(const Context&, Picture& out, std::string&) {
    const int w = out.Width(), h = out.Height();
    constexpr int ROWS = 8;    // boards across v
    constexpr int PER_ROW = 2; // boards along u in one repeat
    const float rowH = static_cast<float>(h) / ROWS, boardL = static_cast<float>(w) / PER_ROW;
    // Rows start half a board down, so the picture's own edges run through boards, not joints.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float yy = std::fmod(y + 0.5f + rowH * 0.5f, static_cast<float>(h));
            const int row = static_cast<int>(yy / rowH);
            const float shift = HashUnit(HashInts(row, 0, 0, 21)) * boardL;
            float along = std::fmod(x + 0.5f - shift + w, static_cast<float>(w));
            const int board = static_cast<int>(along / boardL);
            along -= board * boardL;
            const float across = yy - row * rowH;
            const uint32_t id = HashInts(row, board, 0, 22);
            // Each board is its own piece of wood.
            const Vec3 p{along / boardL * 1.3f + HashUnit(id) * 50.0f, across / rowH * 0.4f,
                         HashUnit(Hash32(id)) * 50.0f};
            const float ring =
                across / rowH * (2.0f + 3.0f * HashUnit(Hash32(id + 1))) + Fbm3(p, 4, 23) * 1.5f + HashUnit(id);
            const float fibre = Fbm3(Vec3{p.x * 2.0f, p.y * 40.0f, p.z}, 3, 24);
            Rgb c = WoodColour(ring, fibre, HashUnit(Hash32(id + 2)) * 2.0f - 1.0f);
            // Dark joints, with a slight bevel along each board's edges.
            const float edge = std::min({along, boardL - along, across, rowH - across});
            c = c * (0.35f + 0.65f * SmoothStep(0.3f, 1.6f, edge));
            if (across < 2.0f) c = c * 1.06f;
            out.At(x, y) = WithAlpha(c * 0.95f, 1.0f);
        }
    return true;
}

} // namespace texgen
