#include "render/mesh/mesh_instance.h"

#include <cmath>

#include "render/camera.h"
#include "render/mesh/mesh_shadow.h"
#include "render/render.h"

// ---------------------------------------------------------------- YMeshInstanceBase

YMeshInstanceBase::YMeshInstanceBase(YMesh* mesh_, float scale) : source_(mesh_) {
    typeMask = RESOURCE_MESH_INSTANCE;
    mesh = mesh_;
    if (mesh_) {
        vertices = mesh_->vertices;
        if (scale != 1.0f)
            for (const YPositionGroup& g : mesh_->positionGroups)
                for (int i = 0; i < g.vertexCount; ++i) vertices[g.vertices[i]].pos = g.pos * scale;
    }
    Restore();
}

YMeshInstanceBase::~YMeshInstanceBase() { YMeshInstanceBase::Release(); }

void YMeshInstanceBase::Restore() {
    if (!g_Render) return;
    if (vertexBuffer) g_Render->ReleaseBuffer(vertexBuffer);
    vertexBuffer = g_Render->CreateVertexBuffer(vertices);
}

void YMeshInstanceBase::Release() {
    if (g_Render && vertexBuffer) g_Render->ReleaseBuffer(vertexBuffer);
}

void YMeshInstanceBase::Upload() {
    if (!verticesChanged) return;
    // Without a buffer there is nothing to refresh: the next Restore makes it from the copy.
    if (g_Render && vertexBuffer) g_Render->UpdateVertexBuffer(vertexBuffer, vertices);
    verticesChanged = 0;
}

// ---------------------------------------------------------------- drawing

void DrawMeshInstance(YMeshInstanceBase* instance, const YMeshDraw& how) {
    if (!instance || !how.visible || !g_Render) return;
    instance->Upload();
    // Row vectors: the object's matrix first, then the camera's view.
    const YMatrix m = g_Camera.view * how.world;
    g_Render->SetWorldMatrix(&m);
    g_Render->DrawMeshShaded(instance, how.shaders);
    if (how.shadowMode == SHADOW_VOLUME && MeshShadowsEnabled()) AddMeshShadowEdges(instance, &how.world);
}

void DrawMeshInstanceWithMatrix(YMeshInstanceBase* instance, const YMeshDraw& how, const YMatrix* parent) {
    if (!instance || !how.visible || !g_Render || !parent) return;
    const YMatrix m = *parent * how.world;
    g_Render->SetWorldMatrix(&m);
    g_Render->DrawMesh(instance);
}

// ---------------------------------------------------------------- YMeshInstance

YMeshInstance::YMeshInstance(YMesh* mesh_, float scale, int drawFlags_)
    : YMeshDraw(drawFlags_), YMeshInstanceBase(mesh_, scale) {}

void YMeshInstance::Draw() { DrawMeshInstance(this, *this); }

void YMeshInstance::DrawWithMatrix(const YMatrix* parent) { DrawMeshInstanceWithMatrix(this, *this, parent); }

// ---------------------------------------------------------------- YMeshInstanceRef

void YMeshInstanceRef::Draw() { DrawMeshInstance(instance, *this); }

void YMeshInstanceRef::DrawWithMatrix(const YMatrix* parent) { DrawMeshInstanceWithMatrix(instance, *this, parent); }

// ---------------------------------------------------------------- YMeshInstanceCover

YMeshInstanceCover::YMeshInstanceCover(YMeshInstanceBase* covered_, float scale, float thickness_, int drawFlags_)
    : YMeshDraw(drawFlags_),
      YMeshInstanceBase(covered_ ? covered_->Mesh() : nullptr, scale),
      covered(covered_),
      thickness(thickness_) {}

void YMeshInstanceCover::Draw() { DrawMeshInstance(this, *this); }

void YMeshInstanceCover::DrawWithMatrix(const YMatrix* parent) { DrawMeshInstanceWithMatrix(this, *this, parent); }

void YMeshInstanceCover::Rebuild() {
    const YMesh* m = Mesh();
    if (!covered || !m || covered->Mesh() != m || covered->vertices.size() != m->vertices.size()) return;
    vertices = covered->vertices; // same size: the storage is reused
    for (const YPositionGroup& g : m->positionGroups) {
        if (g.vertexCount <= 0) continue;
        YVector n(0, 0, 0);
        for (int i = 0; i < g.faceCount; ++i) n = n + m->faces[g.faces[i]].normal;
        const float len = std::sqrt(n.Dot(n));
        n = len >= 0.000001f ? n * (1.0f / len) : YVector(0, 0, 1);
        const YVector p = vertices[g.vertices[0]].pos + n * thickness;
        for (int i = 0; i < g.vertexCount; ++i) vertices[g.vertices[i]].pos = p;
    }
    verticesChanged = 1;
}
