#pragma once
// Shadows cast onto the table, in two ways.
//
// Stencil volumes: shadow casters (blocks, splinters, meshes of shadow mode 1) hand their
// silhouette edges to the one YShadowVolume while they draw. Each edge is extruded along the
// light direction down to the receiving plane, and the quad is kept in one of two lists by which
// way it faces the eye. At the end of the pass the lists go into the stencil buffer with the
// shaders "shadowPass1" (faces turned away) and "shadowPass2" (faces towards the eye), and a
// screen-covering quad with "shadowPass3" darkens the pixels the stencil marks as inside a volume.
// The stencil operations, depth and colour writes, culling and the darkening colour are all data
// of those shaders; the code only decides which list goes with which pass.
//
// Planar shadows: meshes of shadow mode 2 are drawn flattened onto the plane z = 0.01 by a
// projection from a point far along the light direction, while "shadowPass2" is current.
//
// None of this happens unless ShadowsEnabled: the configuration's shadows switch is on and the
// device has a stencil buffer. Main thread only.
#include <vector>

#include "math/matrix.h"
#include "math/vector.h"

// The configuration's "shadows" flag is set and the renderer's device has a stencil buffer. False
// without a renderer. Casters test it before collecting edges.
bool ShadowsEnabled();

class YShadowVolume {
public:
    // Empty lists, plane height 0; looks up the three pass shaders (empty until a shader file
    // defines them).
    YShadowVolume();

    // Forgets the volumes collected so far (the lists keep their storage) and sets the height of
    // the receiving plane for the next edges.
    void Begin(float planeZ);

    // The volume quad of the edge a -> b: both ends projected along the camera's light direction
    // onto the plane z = planeHeight, written as the triangles (a, b, b') and (a, b', a'). It goes
    // to the front list when ((b - a) x L) . (E - a) > 0 (E the eye), else to the back list, so
    // the edge's direction decides which side of the quad faces outward. An edge with an end
    // below planeHeight - 0.5 casts nothing, and so does every edge while the light is horizontal
    // (|L.z| below 1e-6), which never reaches the plane.
    void AddEdge(const YVector* a, const YVector* b);

    // The far ends of the edge a -> b's quad, projected along `light` onto the plane z = planeZ;
    // false when the edge casts nothing there (an end below planeZ - 0.5, or a horizontal light).
    static bool ProjectEdge(const YVector& a, const YVector& b, const YVector& light, float planeZ, YVector* b2,
                            YVector* a2);
    // The quad (a, b, b2, a2) as the triangles (a, b, b2) and (a, b2, a2) into the front or the back
    // list.
    void AddQuad(const YVector& a, const YVector& b, const YVector& b2, const YVector& a2, bool front);

    // With ShadowsEnabled: the back list with "shadowPass1", the front list with "shadowPass2",
    // when `planar` every registered mesh drawable of shadow mode 2 flattened onto the table,
    // then the darkening quad with "shadowPass3" (only when something was drawn into the stencil
    // buffer: with nothing marked it would change no pixel). The volumes are in world coordinates, drawn
    // with the world transform the caller left (the camera's view).
    void Draw(bool planar);

    std::vector<YVector> front; // triangle corners, three per triangle, of quads facing the eye
    std::vector<YVector> back;  // those facing away
    float planeHeight = 0.0f;
};

// The one shadow volume, built at start-up.
extern YShadowVolume g_ShadowVolume;

// g_ShadowVolume.AddEdge(a, b) when flip is set, AddEdge(b, a) otherwise: casters pass the edge in
// the direction of its lit face.
void AddShadowEdge(const YVector* a, const YVector* b, bool flip);

// The projection of every point, along the line through it and a point 10000 units along
// `lightDir`, onto the plane z = 0.01 (row vectors; the result needs the division by w).
// S[i][j] = p_i l_j - (p . l) when i = j, else p_i l_j, with the plane p = (0, 0, 1, -0.01) and
// l = (10000 x lightDir, 1). The planar shadows use the one built from the light direction at
// their first use, for the rest of the run.
YMatrix PlanarShadowMatrix(const YVector& lightDir);
