#include "world/blocks/block_hits.h"

#include "platform/sys/crt_rand.h"
#include "world/blocks/block.h"
#include "world/blocks/block_set.h"
#include "world/blocks/block_single.h"

bool DamageSingle(YBlockSingle* block, float strength, const YVector* position, const YVector* normal) {
    return block && block->Damage(strength, *position);
}

bool DamageSetItem(YBlockSet* set, YBlockItem* item, float strength, const YVector* position, const YVector* normal) {
    return set && set->DamageItem(item, strength, *position);
}

bool DoomSingle(YBlockSingle* block) {
    if (!block || block->health < 0.0f) return false;
    block->health = 0.0f;
    block->ScheduleDeath();
    return true;
}

bool DoomSetItem(YBlockSet* set, YBlockItem* item) {
    if (!set || !set->Contains(item) || item->health < 0.0f) return false;
    if (set->items.size() == 1) {
        item->health = 0.0f;
        set->ScheduleDeath();
        return true;
    }
    YBlockSingle* single = DetachItem(set, item, true);
    if (!single) return true;
    return DoomSingle(single);
}

YBlock* PickLightningTarget(const YVector* position, float reach) {
    YBlock* target = PickRandomBlockInReach(static_cast<uint32_t>(plat::CrtRand()), *position, reach);
    if (target) target->targeted = true;
    return target;
}

bool IsTargetAlive(const YBlock* block) { return block && IsBlockAlive(block); }

YVector TargetPosition(YBlock* block) {
    YMatrix m;
    block->GetMatrix(&m);
    return YVector(m.m[12], m.m[13], m.m[14]);
}

void DoomTarget(YBlock* block) { block->Schedule(0.0f); }

void ReleaseTarget(YBlock* block) {
    if (IsTargetAlive(block)) block->targeted = false;
}
