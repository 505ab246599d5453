#include "tools/texgen/cube_faces.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace texgen {

namespace {

constexpr std::string_view FACE_NAMES[6] = {"front", "back", "right", "left", "down", "up"};

float Shoulder(float v) {
    constexpr float KNEE = 0.8f;
    if (v <= KNEE) return std::max(v, 0.0f);
    return KNEE + (1.0f - KNEE) * (1.0f - std::exp(-(v - KNEE) / (1.0f - KNEE)));
}

} // namespace

int FaceIndex(std::string_view name) {
    for (int i = 0; i < 6; ++i)
        if (FACE_NAMES[i] == name) return i;
    return -1;
}

Vec3 FaceDirection(int face, float u, float v) {
    const float a = 2.0f * u - 1.0f; // left to right
    const float b = 1.0f - 2.0f * v; // bottom to top
    switch (face) {
        case 0: return {a, 1.0f, b};   // front
        case 1: return {-a, -1.0f, b}; // back
        case 2: return {1.0f, -a, b};  // right
        case 3: return {-1.0f, a, b};  // left
        case 4: return {a, b, -1.0f};  // down
        default: return {a, -b, 1.0f}; // up
    }
}

Rgb ToneMap(Rgb c) { return {Shoulder(c.r), Shoulder(c.g), Shoulder(c.b)}; }

Picture RenderSkyFace(SkyFunction sky, int face, int side, float threshold) {
    // The sky is sampled at the pixel corners (shared by neighbours, and lying exactly on the face's
    // edges, which neighbouring faces sample too); a pixel whose corners disagree by more than the
    // threshold is refined with its centre and edge midpoints.
    const int n = side + 1;
    std::vector<Rgb> corner(static_cast<std::size_t>(n) * n);
    const float inv = 1.0f / static_cast<float>(side);
    auto at = [&](float u, float v) { return ToneMap(sky(Normalize(FaceDirection(face, u, v)))); };
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) corner[static_cast<std::size_t>(y) * n + x] = at(x * inv, y * inv);
    Picture pic(side, side);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const Rgb c[4] = {
                corner[static_cast<std::size_t>(y) * n + x], corner[static_cast<std::size_t>(y) * n + x + 1],
                corner[static_cast<std::size_t>(y + 1) * n + x], corner[static_cast<std::size_t>(y + 1) * n + x + 1]};
            Rgb sum = c[0] + c[1] + c[2] + c[3];
            Rgb lo = c[0], hi = c[0];
            for (const Rgb& k : c) {
                lo = {std::min(lo.r, k.r), std::min(lo.g, k.g), std::min(lo.b, k.b)};
                hi = {std::max(hi.r, k.r), std::max(hi.g, k.g), std::max(hi.b, k.b)};
            }
            int count = 4;
            if (std::max({hi.r - lo.r, hi.g - lo.g, hi.b - lo.b}) > threshold) {
                const float u0 = x * inv, v0 = y * inv, h = 0.5f * inv;
                sum = sum + at(u0 + h, v0 + h) * 2.0f + at(u0 + h, v0) + at(u0 + h, v0 + 2 * h) + at(u0, v0 + h) +
                      at(u0 + 2 * h, v0 + h);
                count = 10;
            }
            pic.At(x, y) = WithAlpha(sum * (1.0f / static_cast<float>(count)), 1.0f);
        }
    return pic;
}

} // namespace texgen
