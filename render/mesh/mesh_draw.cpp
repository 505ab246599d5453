#include "render/mesh/mesh_draw.h"

#include <algorithm>
#include <cstring>

#include "render/camera.h"
#include "render/render.h"

namespace {

// Made on first use and never freed, so drawables that are statics themselves may leave it at
// any point of the exit.
std::vector<YMeshDraw*>& Registry() {
    static auto* registry = new std::vector<YMeshDraw*>();
    return *registry;
}

const YMatrix IDENTITY{{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};

} // namespace

YMeshDraw::YMeshDraw(int drawFlags_) : world(IDENTITY), drawFlags(drawFlags_) { Registry().push_back(this); }

YMeshDraw::~YMeshDraw() {
    std::vector<YMeshDraw*>& registry = Registry();
    auto it = std::find(registry.begin(), registry.end(), this);
    if (it != registry.end()) {
        *it = registry.back();
        registry.pop_back();
    }
}

void YMeshDraw::SetTransform(const float m[16]) { std::memcpy(world.m, m, sizeof world.m); }

bool YMeshDraw::IsBlended() const { return !shaders.empty() && shaders[0] && shaders[0]->IsBlended(); }

const std::vector<YMeshDraw*>& MeshDrawRegistry() { return Registry(); }

void QueueMeshDraws() {
    for (YMeshDraw* d : Registry()) {
        if (!d->visible || (d->drawFlags & MESH_DRAW_QUEUED) == 0) continue;
        const YVector pos = d->Position();
        if (d->IsBlended())
            QueueBlendedDraw(d, &pos, MeshDrawer());
        else
            QueueOpaqueDraw(d, &pos, MeshDrawer());
    }
}

void YMeshDrawer::Draw(void* item) {
    static_cast<YMeshDraw*>(item)->Draw();
    // The object's transform does not outlive its draw: the world transform goes back to identity.
    static const YMatrix identity = {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    if (g_Render) g_Render->SetWorldMatrix(&identity);
}

YMeshDrawer* MeshDrawer() {
    static YMeshDrawer drawer;
    return &drawer;
}
