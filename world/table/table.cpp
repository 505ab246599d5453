#include "world/table/table.h"

#include <cmath>

#include "render/mesh/mesh.h"
#include "render/render.h"
#include "render/shader.h"
#include "world/physics/arena.h"
#include "world/physics/racket_link.h"
#include "world/physics/table_size.h"
#include "world/physics/wall_contacts.h"
#include "world/table/table_materials.h"

YTable* g_Table = nullptr;

namespace {

// The models are made for a 20 x 20 table.
constexpr float MODEL_HALF = 10.0f;

// Subsets the reshape rewrites texture coordinates of.
constexpr int PYRAMID_FRIEZE = 4; // u rounded to whole repeats
constexpr int PYRAMID_SLOPE = 6;  // u stretched
constexpr int PYRAMID_FLOOR = 7;  // planar 0.11 per unit
constexpr int BORDER_RIM = 0;     // u rounded to whole repeats

void Lerp4(float out[4], const float a[4], const float b[4], float t) {
    for (int i = 0; i < 4; ++i) out[i] = a[i] + (b[i] - a[i]) * t;
}

// Calls f(vertex index) for every corner of every face of subset `index`; nothing when the mesh
// has no such subset or the subset runs past the index list.
template <class F>
void ForSubsetVertices(const YMesh* mesh, int index, F f) {
    if (index < 0 || static_cast<std::size_t>(index) >= mesh->subsets.size()) return;
    const YMeshSubset& s = mesh->subsets[static_cast<std::size_t>(index)];
    const std::size_t first = static_cast<std::size_t>(s.startIndex);
    const std::size_t count = static_cast<std::size_t>(s.primitiveCount) * 3;
    if (s.startIndex < 0 || s.primitiveCount < 0 || first + count > mesh->indices.size()) return;
    for (std::size_t i = first; i < first + count; ++i) f(mesh->indices[i]);
}

} // namespace

YTable::YTable() {
    g_Table = this;
    pyramid = std::make_unique<YPyramid>(GetMesh("mesh\\pyramid.mes"));
    for (const char* name : {"pyr1", "pyr2", "pyr2", "pyr4", "pyr5", "pyr6", "pyr7", "pyr2", "pyr9"})
        pyramid->shaders.push_back(FindShader(name));
    border = std::make_unique<YBorder>(GetMesh("mesh\\border.mes"));
    border->shaders.push_back(FindShader("border"));
    spots.reserve(256);
    decals.reserve(64);
    BuildDefault();
}

YTable::~YTable() {
    if (g_Table == this) g_Table = nullptr;
}

void YTable::Build(float w, float d, const char* materialName) {
    decals.clear();
    width = w;
    depth = d;
    halfWidth = w * 0.5f;
    halfDepth = d * 0.5f;
    g_TableSize.Set(w, d);
    floor[0] = YVector(-halfWidth, -halfDepth, 0.0f);
    floor[1] = YVector(halfWidth, -halfDepth, 0.0f);
    floor[2] = YVector(halfWidth, halfDepth, 0.0f);
    floor[3] = YVector(-halfWidth, halfDepth, 0.0f);

    if (g_RacketLink) {
        PhysicsSetArena(&frontPlane, w, d, g_RacketLink->Width() + 1.0f);
        g_RacketLink->SetLine((2.0f - d) * 0.5f);
    }

    Reshape(pyramid.get(), true);
    Reshape(border.get(), false);

    if (materialName) {
        if (const YTableMaterial* m = FindTableMaterial(materialName)) {
            pyramid->shaders.assign(m->shaders.begin(), m->shaders.end());
            border->shaders.clear();
            if (!m->shaders.empty()) border->shaders.push_back(m->shaders.back());
        }
    }
}

// Every position group of the model moves out by the change of the half sizes, away from the
// centre lines (the models keep their points off x = 0 and y = 0); then the texture coordinates of
// the stretched subsets are made again from the model's own.
void YTable::Reshape(YMeshInstanceBase* instance, bool isPyramid) {
    const YMesh* mesh = instance->Mesh();
    if (!mesh || instance->vertices.size() != mesh->vertices.size()) return;
    const float dx = halfWidth - MODEL_HALF;
    const float dy = halfDepth - MODEL_HALF;
    const float k = dx + dy;
    std::vector<YVertex>& verts = instance->vertices;
    for (const YPositionGroup& g : mesh->positionGroups) {
        const YVector p(g.pos.x + (g.pos.x >= 0.0f ? dx : -dx), g.pos.y + (g.pos.y >= 0.0f ? dy : -dy), g.pos.z);
        for (int i = 0; i < g.vertexCount && i < MAX_VERT_IDX; ++i) {
            const int v = g.vertices[i];
            if (v >= 0 && static_cast<std::size_t>(v) < verts.size()) verts[static_cast<std::size_t>(v)].pos = p;
        }
    }
    const auto& source = mesh->vertices;
    auto inRange = [&](int v) { return v >= 0 && static_cast<std::size_t>(v) < verts.size(); };
    if (isPyramid) {
        ForSubsetVertices(mesh, PYRAMID_FRIEZE, [&](int v) {
            if (inRange(v)) verts[v].uv1.u = std::floor(source[v].uv1.u * (1.0f + k * 0.05f) + 0.5f);
        });
        ForSubsetVertices(mesh, PYRAMID_SLOPE, [&](int v) {
            if (inRange(v)) verts[v].uv1.u = source[v].uv1.u * (1.0f + k / 18.0f);
        });
        ForSubsetVertices(mesh, PYRAMID_FLOOR, [&](int v) {
            if (inRange(v)) verts[v].uv1 = YVector2(verts[v].pos.x * 0.11f, verts[v].pos.y * 0.11f);
        });
    } else {
        ForSubsetVertices(mesh, BORDER_RIM, [&](int v) {
            if (inRange(v)) verts[v].uv1.u = std::floor(source[v].uv1.u * (1.0f + k * 0.05f) + 0.5f);
        });
    }
    instance->verticesChanged = 1;
}

bool YTable::IsInside(const YVector* p) const {
    return p->z >= 0.0f && std::fabs(p->x) < halfWidth && std::fabs(p->y) < halfDepth;
}

void YTable::AddSpot(const YVector* position, YShader* shader, const float colour[4], float height) {
    if (!(position->z >= 0.0f && position->z < height)) return;
    if (!(std::fabs(position->x) < height + halfWidth && std::fabs(position->y) < height + halfDepth)) return;
    const float f = 1.0f - position->z / height;
    YLightSpot s;
    s.x = position->x;
    s.y = position->y;
    s.halfSize = height + position->z;
    for (int i = 0; i < 4; ++i) s.colour[i] = colour[i] * f;
    s.shader = shader;
    spots.push_back(s);
}

void YTable::AddDecal(float lifetime, float sizeStart, float sizeEnd, const YVector* position, YShader* shader,
                      const float colourStart[4], const float colourEnd[4]) {
    const float m = sizeStart > sizeEnd ? sizeStart : sizeEnd;
    if (!(position->z >= 0.0f && position->z < m)) return;
    if (!(std::fabs(position->x) < m + halfWidth && std::fabs(position->y) < m + halfDepth)) return;
    YTableDecal d;
    d.lifetime = lifetime;
    d.age = 0.0f;
    d.sizeStart = sizeStart;
    d.sizeEnd = sizeEnd;
    d.position = *position;
    for (int i = 0; i < 4; ++i) {
        d.colourStart[i] = colourStart[i];
        d.colourEnd[i] = colourEnd[i];
    }
    d.shader = shader;
    decals.push_back(d);
}

void YTable::UpdateDecals(float dt) {
    UpdateWallContacts(dt);
    for (std::size_t i = 0; i < decals.size();) {
        YTableDecal& d = decals[i];
        d.age += dt;
        if (d.age < d.lifetime) {
            const float t = d.age / d.lifetime;
            float colour[4];
            Lerp4(colour, d.colourStart, d.colourEnd, t);
            AddSpot(&d.position, d.shader, colour, d.sizeStart + (d.sizeEnd - d.sizeStart) * t);
            ++i;
        } else {
            decals[i] = decals.back();
            decals.pop_back();
        }
    }
}

bool SpotQuad(const YLightSpot& spot, float hw, float hd, YTexVertex out[4]) {
    const float s = spot.halfSize;
    const float span = 2.0f * s;
    float x0 = spot.x - s, x1 = spot.x + s, y0 = spot.y - s, y1 = spot.y + s;
    float u0 = 0.0f, u1 = 1.0f, v0 = 0.0f, v1 = 1.0f;
    if (x0 < -hw) {
        u0 = (-hw - x0) / span;
        x0 = -hw;
    }
    if (x1 > hw) {
        u1 = 1.0f - (x1 - hw) / span;
        x1 = hw;
    }
    if (y0 < -hd) {
        v0 = (-hd - y0) / span;
        y0 = -hd;
    }
    if (y1 > hd) {
        v1 = 1.0f - (y1 - hd) / span;
        y1 = hd;
    }
    if (!(x1 > x0) || !(y1 > y0)) return false;
    const float z = 0.01f;
    out[0] = {{x0, y0, z}, {u0, v0}, {1.0f, 0.0f}};
    out[1] = {{x1, y0, z}, {u1, v0}, {1.0f, 1.0f}};
    out[2] = {{x1, y1, z}, {u1, v1}, {0.0f, 1.0f}};
    out[3] = {{x0, y1, z}, {u0, v1}, {0.0f, 0.0f}};
    return true;
}

void YTable::Draw(int flags) {
    if (!g_Render) return;
    if (flags & TABLE_DRAW_FULL) {
        DrawMeshInstance(pyramid.get(), *pyramid);
        if (flags & TABLE_DRAW_BORDER) DrawMeshInstance(border.get(), *border);
    } else {
        static YShader* zonly = FindShader("zonly");
        g_Render->SetShader(zonly, true);
        g_Render->DrawQuad(floor);
        if (flags & TABLE_DRAW_BORDER) {
            border->Upload();
            g_Render->DrawMesh(border.get());
        }
    }
    if (!(flags & TABLE_DRAW_OVERLAYS)) return;

    if (frostLevel > 0.0f) {
        static YShader* ice = FindShader("ice-cover");
        const YVector up(0.0f, 0.0f, 1.0f);
        const float z = 0.05f;
        const YVertex quad[4] = {YVertex(YVector(-halfWidth, -halfDepth, z), up, YVector2(0.0f, 0.0f)),
                                 YVertex(YVector(halfWidth, -halfDepth, z), up, YVector2(1.0f, 0.0f)),
                                 YVertex(YVector(halfWidth, halfDepth, z), up, YVector2(1.0f, 1.0f)),
                                 YVertex(YVector(-halfWidth, halfDepth, z), up, YVector2(0.0f, 1.0f))};
        ice->material.diffuse[3] = frostLevel;
        g_Render->SetShader(ice, true);
        g_Render->SetMaterial(&ice->material, false);
        g_Render->DrawLitQuad(quad);
    }
    frostLevel = 0.0f;

    for (const YLightSpot& spot : spots) {
        YTexVertex quad[4];
        if (!SpotQuad(spot, halfWidth, halfDepth, quad)) continue;
        g_Render->SetShader(spot.shader, true);
        YMaterial m;
        for (int i = 0; i < 4; ++i) m.emissive[i] = spot.colour[i];
        m.diffuse[3] = spot.colour[3];
        g_Render->SetMaterial(&m, false);
        g_Render->DrawTexQuad(quad);
    }
    spots.clear();
}

void AddLightSpot(const YVector* position, const float colour[4], float height) {
    static YShader* lmap = FindShader("lmap");
    if (g_Table) g_Table->AddSpot(position, lmap, colour, height);
}
