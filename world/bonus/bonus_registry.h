#pragma once
// The bonus registry: a kind -> the builder a block carries, made from the kind's row of the kind
// table (world/bonus/bonus_kinds.h).
//   BallNormal..Next          a falling bonus of that kind (world/bonus/bonus_effects.h)
//   SmallBall                 one small ball
//   FourSmallBalls            four small balls
//   NewBallNormal..Universal  one ball of mode 0..7
#include <cstdint>

#include "core/bonus_kind.h"

class YBonusBuilder;
class YBonusType;

// The number of kinds (BONUS_KIND_COUNT).
int BonusRegistrySize();
// A new builder of the stored kind number `kind` (the caller owns it); null, with a log line, for
// a number that names no kind.
YBonusBuilder* CreateBonusBuilder(int32_t kind);
// A new falling-bonus type of `kind` with the bonus radius; null for a kind that does not fall.
YBonusType* CreateBonusType(BonusKind kind);
