#include "render/scene/shadow_volume.h"

#include <cmath>

#include "core/init.h"
#include "render/camera.h"
#include "render/mesh/mesh_draw.h"
#include "render/mesh/mesh_shadow.h"
#include "render/render.h"
#include "render/shader.h"

namespace {

// The receiving plane of the planar shadows, z = 0.01, as (a, b, c, d) with ax + by + cz + d = 0.
constexpr double kPlanarPlane[4] = {0.0, 0.0, 1.0, -0.01};
// How far along the light direction the planar projection's light point lies: far enough to stand
// for a directional light.
constexpr double kPlanarLightDistance = 10000.0;
// Edges reaching further below the receiving plane than this cast nothing.
constexpr float kBelowPlaneLimit = 0.5f;
// Light directions closer to horizontal than this cast no volumes.
constexpr float kMinLightZ = 1e-6f;
// Room made at the start in each list (six corners per edge): a table, its blocks and the hero
// fit, so frames do not grow the lists one by one as the camera turns.
constexpr std::size_t kReservedCorners = 6 * 2048;

// The pass shaders, looked up by the volume's constructor.
YShader* g_ShadowPass1 = nullptr;
YShader* g_ShadowPass2 = nullptr;
YShader* g_ShadowPass3 = nullptr;

// The planar projection, built at its first use.
bool g_PlanarBuilt = false;
YMatrix g_Planar;

YVector Cross(const YVector& a, const YVector& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// Where `p` lands when moved along `light` to the height `planeZ`.
YVector ProjectToPlane(const YVector& p, const YVector& light, float planeZ) {
    return p - light * ((p.z - planeZ) / light.z);
}

} // namespace

YShadowVolume g_ShadowVolume;

bool ShadowsEnabled() { return GetInit().shadows && g_Render && g_Render->HasStencilBuffer(); }

YShadowVolume::YShadowVolume() {
    g_ShadowPass1 = FindShader("shadowPass1");
    g_ShadowPass2 = FindShader("shadowPass2");
    g_ShadowPass3 = FindShader("shadowPass3");
    front.reserve(kReservedCorners);
    back.reserve(kReservedCorners);
    // Mesh drawables of shadow mode 1 hand their silhouette edges to the volume while they draw.
    SetMeshShadowSink(ShadowsEnabled, AddShadowEdge);
}

void YShadowVolume::Begin(float planeZ) {
    front.clear();
    back.clear();
    planeHeight = planeZ;
}

bool YShadowVolume::ProjectEdge(const YVector& a, const YVector& b, const YVector& light, float planeZ, YVector* b2,
                                YVector* a2) {
    const float lowest = planeZ - kBelowPlaneLimit;
    if (a.z < lowest || b.z < lowest) return false;
    // A horizontal light never reaches the plane: such an edge casts nothing (and no division by 0).
    if (std::fabs(light.z) < kMinLightZ) return false;
    *a2 = ProjectToPlane(a, light, planeZ);
    *b2 = ProjectToPlane(b, light, planeZ);
    return true;
}

void YShadowVolume::AddQuad(const YVector& a, const YVector& b, const YVector& b2, const YVector& a2, bool toFront) {
    std::vector<YVector>& list = toFront ? front : back;
    list.push_back(a);
    list.push_back(b);
    list.push_back(b2);
    list.push_back(a);
    list.push_back(b2);
    list.push_back(a2);
}

void YShadowVolume::AddEdge(const YVector* a, const YVector* b) {
    const YVector& light = g_Camera.lightDir;
    YVector a2, b2;
    if (!ProjectEdge(*a, *b, light, planeHeight, &b2, &a2)) return;
    const YVector n = Cross(*b - *a, light);
    AddQuad(*a, *b, b2, a2, n.Dot(g_Camera.Position() - *a) > 0.0f);
}

void YShadowVolume::Draw(bool planar) {
    if (!ShadowsEnabled()) return;

    // The volumes are in world coordinates: seen through the camera, whatever the drawers before
    // left as the world transform (a mesh drawer leaves the identity).
    g_Render->SetWorldMatrix(&g_Camera.view);

    // Whether anything marks the stencil buffer; without a mark the darkening changes no pixel.
    bool marked = !back.empty() || !front.empty();
    g_Render->SetShader(g_ShadowPass1, true);
    if (!back.empty()) g_Render->DrawTriangles(back.data(), static_cast<int>(back.size() / 3));
    g_Render->SetShader(g_ShadowPass2, true);
    if (!front.empty()) g_Render->DrawTriangles(front.data(), static_cast<int>(front.size() / 3));

    if (planar) {
        if (!g_PlanarBuilt) {
            g_Planar = PlanarShadowMatrix(g_Camera.lightDir);
            g_PlanarBuilt = true;
        }
        // The flattening first, then the camera's view.
        const YMatrix m = g_Camera.view * g_Planar;
        for (YMeshDraw* draw : MeshDrawRegistry())
            if (draw->shadowMode == SHADOW_PLANAR) {
                draw->DrawWithMatrix(&m);
                marked = true;
            }
    }

    if (!marked) return;
    g_Render->SetShader(g_ShadowPass3, true);
    g_Render->DrawFullScreenQuad();
}

void AddShadowEdge(const YVector* a, const YVector* b, bool flip) {
    if (flip)
        g_ShadowVolume.AddEdge(a, b);
    else
        g_ShadowVolume.AddEdge(b, a);
}

YMatrix PlanarShadowMatrix(const YVector& lightDir) {
    // In double: the diagonal element of z is the difference of two numbers near 10000 x L.z that
    // single precision would leave with no correct digit.
    const double l[4] = {kPlanarLightDistance * lightDir.x, kPlanarLightDistance * lightDir.y,
                         kPlanarLightDistance * lightDir.z, 1.0};
    const double* p = kPlanarPlane;
    const double k = p[0] * l[0] + p[1] * l[1] + p[2] * l[2] + p[3] * l[3];
    YMatrix s;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) s.m[4 * i + j] = static_cast<float>(p[i] * l[j] - (i == j ? k : 0.0));
    return s;
}
