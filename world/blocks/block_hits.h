#pragma once
// What hitting blocks does, for the balls, the weapons and the block specials: damage by a hit's
// strength, the super hit that dooms a block outright, and the electro ball's lightning targets.
#include "math/vector.h"

class YBlock;
class YBlockSingle;
class YBlockSet;
class YBlockItem;

// A block's damage by a hit of this strength; true when the hit destroyed or doomed it.
bool DamageSingle(YBlockSingle* block, float strength, const YVector* position, const YVector* normal);
bool DamageSetItem(YBlockSet* set, YBlockItem* item, float strength, const YVector* position, const YVector* normal);

// The super hit rule: a block (or set item) whose health is not negative gets health 0 and is
// scheduled for deletion after 0.15 +- 0.0125 s; true when so doomed. A set of one item is doomed
// whole; an item of a larger set is detached first and the new single block is doomed.
bool DoomSingle(YBlockSingle* block);
bool DoomSetItem(YBlockSet* set, YBlockItem* item);

// Electro targets: a random block within reach (marked targeted), or null; whether a block is
// still alive; its position; its deletion at the next tick.
YBlock* PickLightningTarget(const YVector* position, float reach);
bool IsTargetAlive(const YBlock* block);
YVector TargetPosition(YBlock* block);
void DoomTarget(YBlock* block);
// A strike that ends early (its ball changed mode or died) lets the block be targeted again.
void ReleaseTarget(YBlock* block);
