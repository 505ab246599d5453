// Balls and the falling bonus. All are drawn at scale 1.0 for a body of radius 0.5 (the small ball
// at 0.66 for 0.33, the bonus disk at 1.2 for 0.6), so they are modelled with radius 0.5.
#include <cmath>

#include "tools/meshgen/models.h"
#include "tools/meshgen/shapes.h"

namespace meshgen {

namespace {
constexpr float BALL_RADIUS = 0.5f;
const YVector ORIGIN{0, 0, 0};
} // namespace

// The plain ball: one smooth sphere.
MeshBuilder BallNormal() {
    MeshBuilder b;
    Icosphere(b, ORIGIN, {BALL_RADIUS, BALL_RADIUS, BALL_RADIUS}, 2, 0, 1);
    return b;
}

// The ball most modes share (heavy, fire, explosive, electro, universal, small): a finer sphere,
// so its highlights stay round at the larger scales.
MeshBuilder BallHeavy() {
    MeshBuilder b;
    Icosphere(b, ORIGIN, {BALL_RADIUS, BALL_RADIUS, BALL_RADIUS}, 3, 0, 1);
    return b;
}

// The phantom ball: a core (first shader) inside a shell (second shader, drawn blended).
MeshBuilder BallPhantom() {
    MeshBuilder b;
    Icosphere(b, ORIGIN, {0.34f, 0.34f, 0.34f}, 2, 0, 1);
    Icosphere(b, ORIGIN, {BALL_RADIUS, BALL_RADIUS, BALL_RADIUS}, 2, 1, 1);
    return b;
}

// The generative ball: a core with three small satellites on a tilted ring, all within the
// body's radius.
MeshBuilder BallSatellites() {
    MeshBuilder b;
    Icosphere(b, ORIGIN, {0.36f, 0.36f, 0.36f}, 2, 0, 1);
    const float tilt = 0.5f;
    for (int k = 0; k < 3; ++k) {
        const float a = 2.0f * 3.14159265f * k / 3.0f + 0.3f;
        const float r = 0.37f;
        const YVector c{r * std::cos(a), r * std::sin(a) * std::cos(tilt), r * std::sin(a) * std::sin(tilt)};
        Icosphere(b, c, {0.11f, 0.11f, 0.11f}, 1, 0, 2);
    }
    return b;
}

// The bonus disk: a coin facing +z (the bonus faces the viewer with the camera's rotation), its
// front showing the whole texture upright, the back the same texture mirrored so it reads from
// behind, and a rounded rim.
MeshBuilder BonusDisk() {
    MeshBuilder b;
    const float face = 0.46f, half = 0.07f, rimHalf = 0.035f;
    const int segments = 32;
    // Front: the picture upright seen from +z (its top, v = 0, at +y).
    FlatPolygon(b, Circle(ORIGIN, face, half, segments), false, 1.0f, -1.0f, 0.5f, 0.5f, 0);
    Lathe(b, ORIGIN, {{face, half}, {BALL_RADIUS, rimHalf}, {BALL_RADIUS, -rimHalf}, {face, -half}}, segments, 0, 4);
    // Back: seen from -z the viewer's right is -x.
    FlatPolygon(b, Circle(ORIGIN, face, -half, segments), true, -1.0f, -1.0f, 0.5f, 0.5f, 0);
    return b;
}

} // namespace meshgen
