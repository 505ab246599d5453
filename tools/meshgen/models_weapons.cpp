// What the racket carries and throws: the bomb and the grenade (drawn at scale 1.0 over bodies of
// radius 0.5 and 0.25; their second shader is the glowing fuse), and the boomerang and the pipe,
// which are drawn at scale 0.02 and so are modelled 50 times larger than they appear.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/meshgen/models.h"
#include "tools/meshgen/shapes.h"

namespace meshgen {

namespace {
constexpr float PI = 3.14159265f;
constexpr int BODY = 0;
constexpr int FUSE = 1;
} // namespace

// A round iron shell with a collar on top and a curled fuse cord.
MeshBuilder Bomb() {
    MeshBuilder b;
    Icosphere(b, {0, 0, -0.03f}, {0.46f, 0.46f, 0.46f}, 2, BODY, 1);
    // The collar: a short cylinder rising out of the shell, its foot hidden inside.
    Lathe(b, {0, 0, 0}, {{0, 0.50f}, {0.13f, 0.50f}}, 12, BODY, 2);
    Lathe(b, {0, 0, 0}, {{0.13f, 0.50f}, {0.13f, 0.36f}}, 12, BODY, 4);
    std::vector<YVector> cord;
    for (int i = 0; i <= 8; ++i) {
        const float t = float(i) / 8.0f;
        cord.push_back({0.1f * std::sin(t * 2.2f), 0.05f * t, 0.45f + 0.2f * t - 0.06f * t * t});
    }
    Tube(b, cord, 0.025f, 6, FUSE, 8);
    return b;
}

// A ribbed egg with a lever cap and the ring of its pin.
MeshBuilder Grenade() {
    MeshBuilder b;
    // The body: a lathe whose radius swells and shrinks in ribs.
    std::vector<ProfilePoint> body;
    const int steps = 12;
    for (int i = 0; i <= steps; ++i) {
        const float a = PI * float(i) / float(steps);
        const float rib = (i > 0 && i < steps && i % 2 == 0) ? 1.06f : 1.0f;
        body.push_back({i == 0 || i == steps ? 0.0f : 0.2f * std::sin(a) * rib, 0.21f * std::cos(a)});
    }
    Lathe(b, {0, 0, -0.02f}, body, 12, BODY, 1);
    // The cap, then the lever along one side.
    Lathe(b, {0, 0, 0}, {{0, 0.25f}, {0.07f, 0.25f}}, 10, FUSE, 2);
    Lathe(b, {0, 0, 0}, {{0.07f, 0.25f}, {0.07f, 0.16f}}, 10, FUSE, 4);
    Tube(b, {{0.05f, 0, 0.24f}, {0.12f, 0, 0.22f}, {0.2f, 0, 0.12f}, {0.21f, 0, 0.0f}}, 0.018f, 5, FUSE, 8);
    // The pin's ring.
    std::vector<YVector> ring;
    for (int i = 0; i <= 10; ++i) {
        const float a = 2 * PI * float(i) / 10.0f;
        ring.push_back({-0.08f - 0.05f * std::cos(a), 0.0f, 0.22f + 0.05f * std::sin(a)});
    }
    Tube(b, ring, 0.01f, 5, FUSE, 16);
    return b;
}

// A boomerang lying in the xy plane (it spins about z), 1.2 units across and 0.07 thick when
// drawn: two arms meeting at a rounded elbow, tapering towards their tips.
MeshBuilder Boomerang() {
    MeshBuilder b;
    const int points = 21;
    std::vector<YVector> centre, left, right;
    std::vector<float> width;
    for (int i = 0; i < points; ++i) {
        // From the tip at +x over the elbow to the tip at -x.
        const float t = float(i) / float(points - 1) * 2.0f - 1.0f;
        centre.push_back({-27.0f * t, 13.6f - 18.0f * std::sqrt(t * t + 0.04f), 0});
        width.push_back(11.0f - 5.5f * t * t);
    }
    float lowest = 1e9f, highest = -1e9f;
    for (int i = 0; i < points; ++i) {
        const YVector d = centre[std::min(i + 1, points - 1)] - centre[std::max(i - 1, 0)];
        const float len = std::sqrt(d.Dot(d));
        const YVector toLeft{-d.y / len, d.x / len, 0};
        left.push_back(centre[i] + toLeft * (width[i] * 0.5f));
        right.push_back(centre[i] - toLeft * (width[i] * 0.5f));
        lowest = std::fmin(lowest, std::fmin(left.back().y, right.back().y));
        highest = std::fmax(highest, std::fmax(left.back().y, right.back().y));
    }
    // Centred on the origin, about which it spins.
    const YVector shift{0, -(lowest + highest) * 0.5f, 0};
    for (int i = 0; i < points; ++i) {
        left[i] = left[i] + shift;
        right[i] = right[i] + shift;
    }
    BandStyle style;
    style.topSmooth = 1;
    style.bottomSmooth = 2;
    style.innerSmooth = 4;
    style.outerSmooth = 4;
    style.planarScale = 1.0f / 60.0f;
    style.uPerUnit = 1.0f / 60.0f;
    style.vPerUnit = 1.0f / 3.5f;
    Band(b, left, right, -1.75f, 1.75f, style);
    return b;
}

// A tobacco pipe held at its mouthpiece (the model's origin): the stem runs along +x to the bowl.
MeshBuilder Pipe() {
    MeshBuilder b;
    Tube(b, {{0, 0, 0}, {4, 0, 0.3f}, {8, 0, 0.5f}, {10.5f, 0, 0.8f}}, 0.6f, 8, 0, 1);
    const YVector bowl{11.5f, 0, 0.2f};
    // The tobacco's surface, then the bowl from its rim down and round underneath.
    Lathe(b, bowl, {{0, 3.4f}, {1.25f, 3.4f}}, 12, 0, 2);
    const std::vector<ProfilePoint> outside = {{1.25f, 3.4f}, {1.7f, 3.9f},   {1.95f, 3.6f}, {1.9f, 1.6f},
                                               {1.5f, 0.3f},  {0.8f, -0.05f}, {0, -0.1f}};
    Lathe(b, bowl, outside, 12, 0, 4);
    return b;
}

} // namespace meshgen
