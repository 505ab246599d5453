#pragma once
// Checks shared by the mesh fuzz targets: a model that a reader accepted must be safe for every
// operation that walks it by index.
#include <cstddef>
#include <cstdlib>
#include <vector>

#include "render/mesh/mesh_data.h"
#include "render/mesh/skel_data.h"

namespace meshfuzz {

inline bool Within(int v, std::size_t n) { return v >= 0 && static_cast<std::size_t>(v) < n; }

inline void CheckAccepted(YMeshData& m) {
    const std::size_t nv = m.vertices.size(), nf = m.faces.size();
    for (const YMeshFace& f : m.faces)
        if (!Within(f.a, nv) || !Within(f.b, nv) || !Within(f.c, nv)) std::abort();
    for (const YNormalGroup& g : m.normalGroups) {
        if (g.faceCount < 0 || g.faceCount > MAX_FACES_PER_NORMAL) std::abort();
        if (g.vertexCount < 0 || g.vertexCount > MAX_VERT_IDX) std::abort();
        for (int i = 0; i < g.faceCount; ++i)
            if (!Within(g.faces[i], nf)) std::abort();
        for (int i = 0; i < g.vertexCount; ++i)
            if (!Within(g.vertices[i], nv)) std::abort();
    }
    for (const YPositionGroup& g : m.positionGroups) {
        if (g.faceCount < 0 || g.faceCount > MAX_FACES_PER_NORMAL) std::abort();
        if (g.vertexCount < 0 || g.vertexCount > MAX_VERT_IDX) std::abort();
        for (int i = 0; i < g.faceCount; ++i)
            if (!Within(g.faces[i], nf)) std::abort();
        for (int i = 0; i < g.vertexCount; ++i)
            if (!Within(g.vertices[i], nv)) std::abort();
    }
    for (const YMeshEdge& e : m.edges)
        if (!Within(e.a, nv) || !Within(e.b, nv) || !Within(e.f, nf) || !Within(e.g, nf)) std::abort();
    for (uint16_t i : m.indices)
        if (i >= nv) std::abort();
    for (const YMeshSubset& s : m.subsets) {
        if (s.startIndex < 0 || s.primitiveCount < 0 ||
            static_cast<long long>(s.startIndex) + 3ll * s.primitiveCount > static_cast<long long>(m.indices.size()))
            std::abort();
        if (s.minIndex < 0 || s.vertexSpan < 0 ||
            static_cast<long long>(s.minIndex) + s.vertexSpan > static_cast<long long>(nv))
            std::abort();
    }
    // What the mesh and its instances do with it.
    m.ComputeFaceNormals(m.vertices);
    m.ComputeVertexNormals(m.vertices);
    m.ScalePositions(0.5f);
}

// A skeleton a reader accepted for a mesh of `positionGroups` positions.
inline void CheckSkeleton(YSkelData& s, std::size_t positionGroups) {
    for (std::size_t i = 0; i < s.bones.size(); ++i) {
        if (s.bones[i].parent >= static_cast<long long>(i)) std::abort();
        for (const YBoneInfluence& inf : s.bones[i].influences)
            if (!Within(inf.group, positionGroups)) std::abort();
    }
    for (const YSkelPose& p : s.poses)
        if (p.rotations.size() != s.bones.size()) std::abort();
    for (const auto& list : s.poseLists)
        for (int p : list)
            if (!Within(p, s.poses.size())) std::abort();
    for (const YSkelAttachment& a : s.attachments)
        if (!Within(a.bone, s.bones.size())) std::abort();
    s.BuildBindPose();
}

} // namespace meshfuzz
