#include "render/render_resource.h"

#include <algorithm>

namespace {

// Made on first use, so resources built by static initialisers find it; never freed, so
// resources that live until the process ends (shared textures) stay reachable to the end.
std::vector<YRenderResource*>& Registry() {
    static auto* registry = new std::vector<YRenderResource*>();
    return *registry;
}

} // namespace

YRenderResource::YRenderResource() { Registry().push_back(this); }

YRenderResource::~YRenderResource() {
    std::vector<YRenderResource*>& reg = Registry();
    auto it = std::find(reg.begin(), reg.end(), this);
    if (it != reg.end()) {
        *it = reg.back();
        reg.pop_back();
    }
}

// By index, re-reading the size: a resource that makes or drops another while it is restored must
// not invalidate the walk.
void RestoreRenderResources(uint32_t typeMask) {
    std::vector<YRenderResource*>& reg = Registry();
    for (size_t i = 0; i < reg.size(); ++i)
        if (reg[i]->typeMask & typeMask) reg[i]->Restore();
}

void ReleaseRenderResources(uint32_t typeMask) {
    std::vector<YRenderResource*>& reg = Registry();
    for (size_t i = 0; i < reg.size(); ++i)
        if (reg[i]->typeMask & typeMask) reg[i]->Release();
}

YRenderResource* FindRenderResource(const std::string& name, uint32_t typeMask) {
    for (YRenderResource* r : Registry())
        if ((r->typeMask & typeMask) && r->name == name) return r;
    return nullptr;
}

const std::vector<YRenderResource*>& RenderResources() { return Registry(); }
