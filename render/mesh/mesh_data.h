#pragma once
// The device-independent content of a mesh: render vertices, triangles, the two kinds of vertex
// groups the importer builds, the shared edges used for shadow silhouettes, the 16-bit index list
// and the material subsets (with the index buffer, in YMeshBase: what the renderer draws from).
// YMesh is one; the file readers and writers work on this alone, so they run without a renderer.
#include <cstdint>
#include <vector>

#include "math/vector.h"
#include "math/vertex.h"
#include "render/render_objects.h"

// Fixed sizes of the group arrays. The text importer refuses models that would overflow them
// (at most 14 face corners share one position; at most 15 vertices per group).
constexpr int MAX_VERT_IDX = 15;
constexpr int MAX_FACES_PER_NORMAL = 15;

// A triangle: three indices into the vertices and its normal.
struct YMeshFace {
    int32_t a, b, c;
    YVector normal;
};

// A smoothing group: every vertex listed takes the normalised sum of the listed faces' normals.
struct YNormalGroup {
    int32_t faceCount;
    int32_t vertexCount;
    int32_t faces[MAX_FACES_PER_NORMAL];
    int32_t vertices[MAX_VERT_IDX];
};

// All vertices split from one imported position. `pos` is the position as imported (unscaled).
struct YPositionGroup {
    YVector pos;
    int32_t faceCount;
    int32_t vertexCount;
    int32_t faces[MAX_FACES_PER_NORMAL];
    int32_t vertices[MAX_VERT_IDX];
};

// The edge from vertex a to vertex b of face f, which face g shares in the opposite direction.
struct YMeshEdge {
    int32_t a, b, f, g;
};

static_assert(sizeof(YMeshFace) == 24);
static_assert(sizeof(YMeshEdge) == 16);
static_assert(sizeof(YMeshSubset) == 20);

struct YMeshData : YMeshBase {
    std::vector<YVertex> vertices;
    std::vector<YMeshFace> faces;
    std::vector<YNormalGroup> normalGroups;
    std::vector<YPositionGroup> positionGroups;
    std::vector<YMeshEdge> edges;
    std::vector<uint16_t> indices; // three per face, in face order
    // subsets (YMeshBase): runs of faces with one material id, in ascending id order.

    // Empties every list.
    void ClearGeometry();
    bool IsEmpty() const { return vertices.empty() && faces.empty() && indices.empty(); }

    // Face normal := normalise((A - B) x (B - C)) of the face's corners in `verts`, which may be this
    // mesh's own vertices or a transformed copy of them. A face without area (cross product
    // shorter than 1e-6) gets the zero normal, so it adds nothing to its vertices' normals.
    void ComputeFaceNormals(const std::vector<YVertex>& verts);
    // For every normal group: the sum of its faces' normals, normalised, or (0, 0, 1) when the sum
    // is shorter than 1e-6, written into the normal of each of the group's vertices in `verts`.
    void ComputeVertexNormals(std::vector<YVertex>& verts) const;
    // Every vertex of a position group moves to s x the group's position. The group positions stay,
    // so the scale is absolute: scaling by 2 and then by 3 leaves three times the imported size.
    void ScalePositions(float s);
};
