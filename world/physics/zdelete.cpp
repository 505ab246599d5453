#include "world/physics/zdelete.h"

#include <algorithm>
#include <cmath>

#include "platform/sys/crt_rand.h"
#include "world/physics/table_size.h"

namespace {

std::vector<YZDelete*> pendingDeletes;
bool tickWalking = false;

// During the walk a deleted object's entry is nulled instead of moved, so the walk's index stays
// valid; TickAll drops the holes.
void TakeOff(YZDelete* object) {
    auto it = std::find(pendingDeletes.begin(), pendingDeletes.end(), object);
    if (it == pendingDeletes.end()) return;
    if (tickWalking) {
        *it = nullptr;
        return;
    }
    *it = pendingDeletes.back();
    pendingDeletes.pop_back();
}

} // namespace

YZDelete::~YZDelete() {
    if (scheduled) TakeOff(this);
}

void YZDelete::Schedule(float delay) {
    if (scheduled) return;
    countdown = delay;
    scheduled = true;
    pendingDeletes.push_back(this);
}

void YZDelete::TickAll(float dt) {
    if (tickWalking) return; // a destructor that ticks again waits for the next frame
    tickWalking = true;
    std::size_t i = 0;
    while (i < pendingDeletes.size()) {
        YZDelete* p = pendingDeletes[i];
        if (p) {
            p->countdown -= dt;
            if (!(p->countdown > 0.0f)) {
                // Off the list first, so its own destructor does not look for it.
                pendingDeletes[i] = nullptr;
                p->scheduled = false;
                delete p;
            }
        }
        if (pendingDeletes[i] == nullptr) {
            pendingDeletes[i] = pendingDeletes.back();
            pendingDeletes.pop_back();
            // The moved entry is handled in this pass, at this index. An entry moved here that
            // was already handled cannot exist: entries past i have not been visited.
            continue;
        }
        ++i;
    }
    // Holes left by destructors that deleted objects already walked past.
    std::erase(pendingDeletes, nullptr);
    tickWalking = false;
}

bool YZDelete::IsOutOfBounds(const YVector* position, float margin) {
    if (!std::isfinite(position->x) || !std::isfinite(position->y) || !std::isfinite(position->z)) {
        Schedule(0.0f);
        return false;
    }
    return position->z < -margin || position->z > 100.0f || std::fabs(position->x) > g_TableSize.halfWidth + margin ||
           std::fabs(position->y) > g_TableSize.halfDepth + margin;
}

const std::vector<YZDelete*>& YZDelete::Pending() { return pendingDeletes; }

float YZDelete::UsualDelay() { return 0.1375f + plat::CrtRand() / 32767.0f * 0.025f; }
