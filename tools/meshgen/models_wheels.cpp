// The level picker's wheels, drawn at scale 0.1 (so ten model units make one unit of the scene),
// turning about z. Wheels 1 and 2 are gears 5.3303 units apart whose turns per level (27.69 and
// 18 degrees) stand as 13 to 20 teeth; wheel 3 is the great ring, 253.58 units about its hub,
// whose rim carries the level thumbnails.
#include <cmath>
#include <vector>

#include "tools/meshgen/models.h"
#include "tools/meshgen/shapes.h"

namespace meshgen {

namespace {

constexpr float PI = 3.14159265f;

// A spur gear with an axle hole: teeth of the given count on the pitch radius, thickness in z.
MeshBuilder Gear(int teeth, float pitchRadius, float holeRadius, float thickness) {
    const float module = 2 * pitchRadius / float(teeth);
    const float tip = pitchRadius + module, root = pitchRadius - 1.25f * module;
    const float pitch = 2 * PI / float(teeth);
    // Four outline points per tooth: foot, tip, tip, foot.
    const float offsets[4] = {-0.3f, -0.12f, 0.12f, 0.3f};
    const float radii[4] = {root, tip, tip, root};
    std::vector<YVector> outline, hole;
    for (int t = 0; t < teeth; ++t)
        for (int k = 0; k < 4; ++k) {
            const float a = pitch * (float(t) + offsets[k]);
            outline.push_back({radii[k] * std::cos(a), radii[k] * std::sin(a), 0});
            hole.push_back({holeRadius * std::cos(a), holeRadius * std::sin(a), 0});
        }
    MeshBuilder b;
    BandStyle s;
    s.closed = true;
    s.topSmooth = 1;
    s.bottomSmooth = 2;
    s.innerSmooth = 4;
    s.planarScale = 0.5f / tip;
    s.uPerUnit = 0.05f;
    s.vPerUnit = 1.0f / thickness;
    Band(b, hole, outline, -thickness * 0.5f, thickness * 0.5f, s);
    return b;
}

} // namespace

MeshBuilder PickerWheel(int which) {
    if (which == 1) return Gear(13, 21.0f, 5.0f, 6.0f);
    if (which == 2) return Gear(20, 32.3f, 6.0f, 6.0f);
    // The great ring, lying just under the thumbnails on its rim.
    MeshBuilder b;
    BandStyle s;
    s.closed = true;
    s.topSmooth = 1;
    s.bottomSmooth = 2;
    s.innerSmooth = 4;
    s.outerSmooth = 8;
    s.planarScale = 1.0f / 300.0f;
    s.uPerUnit = 1.0f / 60.0f;
    s.vPerUnit = 1.0f / 35.0f;
    const int segments = 520; // two per thumbnail place
    Band(b, Circle({0, 0, 0}, 2540.0f, 0, segments), Circle({0, 0, 0}, 2830.0f, 0, segments), -15.0f, 20.0f, s);
    return b;
}

} // namespace meshgen
