#pragma once
// What the balls, bombs, grenades and block specials ask of the blocks, the table and the
// explosion, in one place: the rules of those parts stay theirs, these calls only pass through.
#include "math/matrix.h"
#include "math/vector.h"

class YBlock;
class YBlockSingle;
class YBlockSet;
class YBlockItem;

// Whether destroyed objects show their effects now (cleared during bulk deletions).
bool BlockEffectsOn();

// A light spot on the table under a glowing object, at height 3.
void BallLightSpot(const YVector* position, const float colour[4]);

// A blast at centre: pushes and reports to the bodies within radius, with fireball and sparks.
void WorldExplosion(const YVector* centre, float radius, float strength, int sparks);

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

// How long a ball mode given by a bonus of this kind lasts: -1 for kinds from 8 on or when the
// game mode runs no timed balls, otherwise the bonus configuration's time-out.
float BallModeTimeout(int kind);
// The bonus configuration's time-outs, connected by the world set-up.
extern float (*g_BonusModeTimeout)(int kind);
// Sets the effects flag (bulk deletions and tests).
void SetBlockEffects(bool on);
