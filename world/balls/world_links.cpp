#include "world/balls/world_links.h"

#include "core/init.h"
#include "platform/sys/crt_rand.h"
#include "world/blocks/block.h"
#include "world/blocks/block_set.h"
#include "world/blocks/block_single.h"
#include "world/effects/explosion.h"
#include "world/physics/unconnected.h"
#include "world/table/table.h"

float (*g_BonusModeTimeout)(int kind) = [](int) -> float { UnconnectedWorldCall("balls: bonus mode time-out"); };

bool BlockEffectsOn() { return BlockEffectsEnabled; }

void SetBlockEffects(bool on) { BlockEffectsEnabled = on; }

void BallLightSpot(const YVector* position, const float colour[4]) { AddLightSpot(position, colour, 3.0f); }

void WorldExplosion(const YVector* centre, float radius, float strength, int sparks) {
    SpawnExplosion(centre, radius, strength, sparks);
}

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

float BallModeTimeout(int kind) {
    if (kind >= 8 || kind < 0 || !GetInit().CurrentGameMode().timerBall) return -1.0f;
    return g_BonusModeTimeout(kind);
}
