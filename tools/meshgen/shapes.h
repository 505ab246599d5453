#pragma once
// Building blocks of the game's models, each adding triangles to a MeshBuilder. Every shape stays
// within the importer's limit of 14 face corners per position: closed round shapes take at most
// 14 segments where they meet their axis, and flat caps are triangulated without a centre point.
#include <cstdint>
#include <vector>

#include "tools/meshgen/mesh_builder.h"

namespace meshgen {

// A sphere (an ellipsoid with `radii`) from an icosahedron subdivided `level` times, smoothed
// with `smooth`. Texture coordinates wrap once around z (u) and run from the top to the bottom
// (v), with the seam split.
void Icosphere(MeshBuilder& b, const YVector& centre, const YVector& radii, int level, int material, uint32_t smooth);

// A surface of revolution about the z axis through `centre`: the profile points (r, z) in order,
// turned `segments` times (at most 14 when the profile touches the axis). Normals face away from
// the axis when the profile runs downward in z. u goes once around, v along the profile.
struct ProfilePoint {
    float r, z;
};
void Lathe(MeshBuilder& b, const YVector& centre, const std::vector<ProfilePoint>& profile, int segments, int material,
           uint32_t smooth);

// A flat polygon (convex, counter-clockwise seen from above) at its own height, facing up, or
// down when `down`; triangulated as a zig-zag strip, so no point is shared by many triangles.
// Texture coordinates: u = x * uScale + u0, v = y * vScale + v0.
void FlatPolygon(MeshBuilder& b, const std::vector<YVector>& points, bool down, float uScale, float vScale, float u0,
                 float v0, int material);

// A ring of `segments` points of radius r about z at height z around `centre`, counter-clockwise.
std::vector<YVector> Circle(const YVector& centre, float r, float z, int segments);

// A solid between two polylines of equal length in the plane (`inner` and `outer`, both in the
// same direction), extruded from z0 to z1: the top and bottom faces between them, the walls
// along both, and, unless the polylines are closed loops, the two end walls. Texture
// coordinates: walls u along the length (uPerUnit), v down the height; top and bottom planar.
struct BandStyle {
    bool closed = false;
    bool top = true, bottom = true, innerWall = true, outerWall = true, ends = true;
    int material = 0;
    // Materials of the parts, when they differ from `material` (-1: the same).
    int wallMaterial = -1;
    uint32_t topSmooth = FLAT, bottomSmooth = FLAT, innerSmooth = FLAT, outerSmooth = FLAT;
    float uPerUnit = 0.1f;    // wall texture repeats along the length
    float vPerUnit = 0.1f;    // and down the height
    float planarScale = 0.1f; // top and bottom faces: (x, y) x scale
    bool roundU = false;      // wall u rounded to whole repeats at each polyline point
};
void Band(MeshBuilder& b, const std::vector<YVector>& inner, const std::vector<YVector>& outer, float z0, float z1,
          const BandStyle& style);

// An upright wall strip along a polyline from z0 (bottom) to z1 (top), facing to the right of the
// direction of travel. u along the length x uPerUnit (+ u0), v from the top (0) down.
void Wall(MeshBuilder& b, const std::vector<YVector>& line, float z0, float z1, float uPerUnit, float u0,
          float vPerUnit, bool closed, int material, uint32_t smooth, bool roundU = false);

// A tube of `radius` along a polyline (at least two points), `segments` around, closed by flat
// caps at both ends. u goes around, v along the length.
void Tube(MeshBuilder& b, const std::vector<YVector>& path, float radius, int segments, int material, uint32_t smooth);

// Four sloping sides from the rectangle (hx0, hy0) at height z0 out and down to (hx1, hy1) at z1,
// facing outward; u along each side from 0 to uPerSide, v down the slope from 0 to 1.
void SlopedFrame(MeshBuilder& b, float hx0, float hy0, float z0, float hx1, float hy1, float z1, float uPerSide,
                 int material);

// A rectangle's corners, counter-clockwise from (-hx, -hy), at height z.
std::vector<YVector> Rect(float hx, float hy, float z);

} // namespace meshgen
