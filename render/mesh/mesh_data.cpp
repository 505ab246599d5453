#include "render/mesh/mesh_data.h"

#include <cmath>

namespace {

YVector Cross(const YVector& a, const YVector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

constexpr float MIN_LENGTH = 0.000001f;

} // namespace

void YMeshData::ClearGeometry() {
    vertices.clear();
    faces.clear();
    normalGroups.clear();
    positionGroups.clear();
    edges.clear();
    indices.clear();
    subsets.clear();
}

void YMeshData::ComputeFaceNormals(const std::vector<YVertex>& verts) {
    for (YMeshFace& f : faces) {
        const YVector& a = verts[f.a].pos;
        const YVector& b = verts[f.b].pos;
        const YVector& c = verts[f.c].pos;
        YVector n = Cross(a - b, b - c);
        const float len = std::sqrt(n.Dot(n));
        f.normal = len >= MIN_LENGTH ? n * (1.0f / len) : YVector(0, 0, 0);
    }
}

void YMeshData::ComputeVertexNormals(std::vector<YVertex>& verts) const {
    for (const YNormalGroup& g : normalGroups) {
        YVector n(0, 0, 0);
        for (int i = 0; i < g.faceCount; ++i) n = n + faces[g.faces[i]].normal;
        const float len = std::sqrt(n.Dot(n));
        n = len >= MIN_LENGTH ? n * (1.0f / len) : YVector(0, 0, 1);
        for (int i = 0; i < g.vertexCount; ++i) verts[g.vertices[i]].normal = n;
    }
}

void YMeshData::ScalePositions(float s) {
    for (const YPositionGroup& g : positionGroups)
        for (int i = 0; i < g.vertexCount; ++i) vertices[g.vertices[i]].pos = g.pos * s;
}
