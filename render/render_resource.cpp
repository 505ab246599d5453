#include "render/render_resource.h"

#include <algorithm>

namespace {

// Made on first use, so resources built by static initialisers find it; never freed, so
// resources that live until the process ends (shared textures) stay reachable to the end.
std::vector<YRenderResource*>& Registry() {
    static auto* registry = new std::vector<YRenderResource*>();
    return *registry;
}

// The cursor of the registry walk in progress, or null: the entries below it have been visited.
// A resource that joins the registry during a walk is appended and visited by it; one that leaves
// it keeps the visited entries below the cursor and the others above (see the destructor), so a
// Restore or Release that makes or drops resources neither skips nor repeats any.
std::size_t* g_WalkCursor = nullptr;

// Calls `step` on every registered resource whose type mask shares a bit with `typeMask`.
void Walk(uint32_t typeMask, void (YRenderResource::*step)()) {
    std::vector<YRenderResource*>& reg = Registry();
    std::size_t next = 0;
    // Put back however the walk ends. A walk started by a step: only the inner one is kept whole.
    struct Cursor {
        std::size_t* const outer = g_WalkCursor;
        explicit Cursor(std::size_t* c) { g_WalkCursor = c; }
        ~Cursor() { g_WalkCursor = outer; }
    } cursor(&next);
    while (next < reg.size()) {
        YRenderResource* r = reg[next++];
        if (r->typeMask & typeMask) (r->*step)();
    }
}

} // namespace

YRenderResource::YRenderResource() { Registry().push_back(this); }

YRenderResource::~YRenderResource() {
    std::vector<YRenderResource*>& reg = Registry();
    auto it = std::find(reg.begin(), reg.end(), this);
    if (it == reg.end()) return;
    const std::size_t hole = static_cast<std::size_t>(it - reg.begin());
    if (g_WalkCursor && hole < *g_WalkCursor) {
        // An entry the walk has passed: the last visited entry fills the hole, and the last entry
        // of all (not visited yet, unless the walk has passed them all) takes its place, where the
        // walk goes on.
        std::size_t& next = *g_WalkCursor;
        reg[hole] = reg[next - 1];
        reg[next - 1] = reg.back();
        reg.pop_back();
        --next;
        return;
    }
    *it = reg.back();
    reg.pop_back();
}

void RestoreRenderResources(uint32_t typeMask) { Walk(typeMask, &YRenderResource::Restore); }

void ReleaseRenderResources(uint32_t typeMask) { Walk(typeMask, &YRenderResource::Release); }

YRenderResource* FindRenderResource(const std::string& name, uint32_t typeMask) {
    for (YRenderResource* r : Registry())
        if ((r->typeMask & typeMask) && r->name == name) return r;
    return nullptr;
}

const std::vector<YRenderResource*>& RenderResources() { return Registry(); }
