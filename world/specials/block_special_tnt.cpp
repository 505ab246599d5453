// The tnt block: every hit, a blast's too, only arms it; 0.1 to 0.3 s later it explodes and is
// deleted like any destroyed block, so tnt blocks within a blast set each other off.
#include <cmath>

#include "platform/sys/crt_rand.h"
#include "world/blocks/special_links.h"
#include "world/effects/explosion.h"
#include "world/physics/zdelete.h"
#include "world/specials/block_specials.h"

namespace {

float Rand01() { return static_cast<float>(plat::CrtRand()) / 32767.0f; }

} // namespace

void YBlockTNT::Arm(YZDelete* what) {
    if (armed || exploded) return;
    armed = what;
    fuse = 0.1f + 0.2f * Rand01();
}

bool YBlockTNT::Hit(YBumpEvent* other, YBlockSingle* block) {
    Arm(Deletable(block));
    return false;
}

bool YBlockTNT::Hit(YBumpEvent* other, YBlockSet* set, YBlockItem* item) {
    if (SetItemCount(set) <= 1) {
        Arm(Deletable(set));
        return false;
    }
    // Detaching deletes the item and this special with it: nothing of `this` may be used after.
    YBlockSingle* single = DetachSetItem(set, item);
    if (single) {
        YBlockSpecial* special = SpecialOf(single);
        if (special) special->Hit(other, single);
    }
    return false;
}

void YBlockTNT::Tick(float dt, const YVector& centre) {
    if (!armed || exploded) return;
    fuse -= dt;
    if (fuse > 0.0f) return;
    YVector d;
    float len;
    do {
        d = YVector(Rand01() - 0.5f, Rand01() - 0.5f, Rand01() - 0.5f);
        len = std::sqrt(d.Dot(d));
    } while (len <= 1e-6f);
    const YVector p = centre + d * (0.25f / len);
    // The blast reaches this block too; once exploded it arms no more.
    exploded = true;
    SpawnExplosion(&p, 5.0f, 1500.0f, 50);
    armed->Schedule(0.0f);
}

void YBlockTNT::Update(float dt, YBlockSingle* block) {
    if (!armed) return;
    YMatrix world;
    YVector size;
    SingleBlockPlace(block, &world, &size);
    Tick(dt, YVector(world.m[12], world.m[13], world.m[14]));
}

void YBlockTNT::Update(float dt, YBlockSet* set, YBlockItem* item) {
    if (!armed) return;
    YMatrix world;
    YVector size;
    SetItemPlace(set, item, &world, &size);
    Tick(dt, YVector(world.m[12], world.m[13], world.m[14]));
}
