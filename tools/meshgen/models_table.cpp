// The table's two models, made for a 20 x 20 table centred on the origin with z up and the floor
// at z = 0. When a level resizes the table, every position with x >= 0 moves out by the change of
// the half width and every one with x < 0 the other way (the same for y), so no point lies on the
// x = 0 or y = 0 lines. The table then rewrites some texture coordinates by subset (the subsets
// are the material ids in ascending order):
//   pyramid: 4 u rounded to whole repeats, 6 u stretched, 7 the floor (planar, 0.11 per unit);
//   border:  0 u rounded to whole repeats.
// The pyramid is drawn with nine shaders; below the table it steps down to the ground at -61.3,
// the depth down to which the background pass casts shadows.
#include <vector>

#include "tools/meshgen/models.h"
#include "tools/meshgen/shapes.h"

namespace meshgen {

namespace {

constexpr float HALF = 10.0f; // half the modelled table
constexpr float GROUND = -61.3f;

enum PyramidMaterial {
    DECK = 0,       // the walk around the table
    DECK_EDGE = 1,  // its front edge
    STEP1 = 2,      // first step's tread
    STEP1_FACE = 3, // its riser, above the frieze
    FRIEZE = 4,     // the band of whole repeats below it
    STEP2 = 5,      // second step, tread and riser
    SLOPE = 6,      // the long slopes, stretched with the table
    FLOOR = 7,      // the playing floor
    BASE = 8,       // the plinth and the ground
};

// A frame (the area between two centred rectangles) facing up.
void Frame(MeshBuilder& b, float inner, float outer, float z, int material) {
    BandStyle s;
    s.closed = true;
    s.bottom = s.innerWall = s.outerWall = false;
    s.material = material;
    s.planarScale = 0.1f;
    Band(b, Rect(inner, inner, z), Rect(outer, outer, z), z - 1, z, s);
}

} // namespace

MeshBuilder TablePyramid() {
    MeshBuilder b;
    // The floor: a grid whose lines keep off the centre lines, textured 0.11 per unit.
    const float lines[] = {-HALF, -7, -4, -1, 1, 4, 7, HALF};
    for (int i = 0; i + 1 < 8; ++i)
        for (int j = 0; j + 1 < 8; ++j) {
            auto c = [](float x, float y) { return Corner{{x, y, 0}, x * 0.11f, y * 0.11f}; };
            const float x0 = lines[i], x1 = lines[i + 1], y0 = lines[j], y1 = lines[j + 1];
            b.Quad(c(x0, y0), c(x1, y0), c(x1, y1), c(x0, y1), FLOOR, 0);
        }
    // The deck round the table and its edge.
    Frame(b, HALF, 12, 0, DECK);
    Wall(b, Rect(12, 12, 0), -1, 0, 0.25f, 0, 0.25f, true, DECK_EDGE, 0);
    // First step: tread, plain riser, frieze of whole repeats (7 per side at 20 x 20).
    Frame(b, 12, 14, -1, STEP1);
    Wall(b, Rect(14, 14, 0), -2, -1, 0.25f, 0, 1.0f, true, STEP1_FACE, 0);
    Wall(b, Rect(14, 14, 0), -5, -2, 0.25f, 0, 1.0f / 3.0f, true, FRIEZE, 0, true);
    // Second step.
    Frame(b, 14, 17, -5, STEP2);
    Wall(b, Rect(17, 17, 0), -9, -5, 0.25f, 0, 0.25f, true, STEP2, 0);
    // The slopes down to the plinth.
    SlopedFrame(b, 17, 17, -9, 40, 40, -50, 3.0f, SLOPE);
    // The plinth and the ground it stands on.
    Wall(b, Rect(40, 40, 0), GROUND, -50, 0.1f, 0, 0.1f, true, BASE, 0);
    Frame(b, 40, 90, GROUND, BASE);
    return b;
}

// Low walls on the left, far and right sides; the near side (the racket's) stays open. Inside
// faces stand on the table's edge.
MeshBuilder TableBorder() {
    MeshBuilder b;
    const float thick = 0.4f, height = 1.0f;
    // Travelling from the near right corner round to the near left, the table lies to the left.
    const std::vector<YVector> inside = {{HALF, -HALF, 0}, {HALF, HALF, 0}, {-HALF, HALF, 0}, {-HALF, -HALF, 0}};
    const std::vector<YVector> outside = {{HALF + thick, -HALF, 0},
                                          {HALF + thick, HALF + thick, 0},
                                          {-HALF - thick, HALF + thick, 0},
                                          {-HALF - thick, -HALF, 0}};
    BandStyle s;
    s.bottom = false;
    s.uPerUnit = 0.5f;
    s.vPerUnit = 1.0f;
    s.planarScale = 0.5f;
    s.roundU = true;
    Band(b, inside, outside, 0, height, s);
    return b;
}

} // namespace meshgen
