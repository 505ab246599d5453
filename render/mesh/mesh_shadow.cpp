#include "render/mesh/mesh_shadow.h"

#include <cstdint>
#include <vector>

#include "render/camera.h"
#include "render/mesh/mesh_instance.h"

namespace {

MeshShadowsEnabledFn g_enabled = nullptr;
MeshShadowEdgeFn g_addEdge = nullptr;

// d x M for a direction (no translation).
YVector TransformDirection(const YVector& d, const YMatrix& m) {
    return {d.x * m.m[0] + d.y * m.m[4] + d.z * m.m[8], d.x * m.m[1] + d.y * m.m[5] + d.z * m.m[9],
            d.x * m.m[2] + d.y * m.m[6] + d.z * m.m[10]};
}

} // namespace

void SetMeshShadowSink(MeshShadowsEnabledFn enabled, MeshShadowEdgeFn addEdge) {
    g_enabled = enabled;
    g_addEdge = addEdge;
}

void GetMeshShadowSink(MeshShadowsEnabledFn* enabled, MeshShadowEdgeFn* addEdge) {
    if (enabled) *enabled = g_enabled;
    if (addEdge) *addEdge = g_addEdge;
}

bool MeshShadowsEnabled() { return g_enabled && g_addEdge && g_enabled(); }

void AddMeshShadowEdges(const YMeshInstanceBase* instance, const YMatrix* world) {
    if (!g_addEdge || !instance || !world || !instance->Mesh()) return;
    const YMesh& mesh = *instance->Mesh();
    const std::vector<YVertex>& verts = instance->vertices;

    // Only the signs of the products below matter, so the direction is not normalised.
    const YVector light = TransformDirection(g_Camera.lightDir, world->GetRotation().InverseAffine());

    // Reused from call to call; grows to the largest face count met.
    static std::vector<uint8_t> lit;
    if (lit.size() < mesh.faces.size()) lit.resize(mesh.faces.size());
    for (std::size_t f = 0; f < mesh.faces.size(); ++f) lit[f] = light.Dot(mesh.faces[f].normal) > 0 ? 1 : 0;

    const std::size_t faceCount = mesh.faces.size();
    const std::size_t vertexCount = verts.size();
    for (const YMeshEdge& e : mesh.edges) {
        if (static_cast<std::size_t>(e.f) >= faceCount || static_cast<std::size_t>(e.g) >= faceCount ||
            static_cast<std::size_t>(e.a) >= vertexCount || static_cast<std::size_t>(e.b) >= vertexCount)
            continue;
        if (lit[e.f] == lit[e.g]) continue;
        const YVector a = world->TransformPoint(verts[e.a].pos);
        const YVector b = world->TransformPoint(verts[e.b].pos);
        g_addEdge(&a, &b, lit[e.f] != 0);
    }
}
