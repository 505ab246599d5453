#pragma once
// The bonus kinds. A kind is what a block carries and what a caught bonus does; files store it by
// number (level files per block, the n-th "bonus" record of data\bonuses.yml and of each game
// mode in data\modes.yml), so the numbers below are a file format and never change order.
//
// The kinds are named here, beneath every layer that counts or stores them (game modes, level
// files, the editor); what each kind is called in the data files, its icon and the builder that
// makes it are the world's kind table (world/bonus/bonus_kinds.h), which has one row per kind in
// this order.
#include <cstdint>

enum class BonusKind : int32_t {
    // Falling bonuses: caught by the racket, their effect applies then.
    BallNormal,
    BallHeavy,
    BallPhantom,
    BallFire,
    BallExplosive,
    BallElectro,
    BallGenerative,
    BallUniversal,
    Gloves,
    Boomer,
    Bomb,
    Grenade,
    MinSpeedup,
    MaxSpeedup,
    Life,
    Death,
    Slumber,
    Vivacity,
    BackWall,
    Frost,
    Slip,
    Reset,
    Random,
    Next,
    // Balls put into play at once where the block was.
    SmallBall,
    FourSmallBalls,
    NewBallNormal,
    NewBallHeavy,
    NewBallPhantom,
    NewBallFire,
    NewBallExplosive,
    NewBallElectro,
    NewBallGenerative,
    NewBallUniversal,
    Count
};

// How many kinds there are: the size of every per-kind list.
constexpr int BONUS_KIND_COUNT = static_cast<int>(BonusKind::Count);

// The kind's number as files and per-kind lists index it.
constexpr int BonusKindIndex(BonusKind kind) { return static_cast<int>(kind); }
// Whether `index` names a kind.
constexpr bool IsBonusKind(int64_t index) { return index >= 0 && index < BONUS_KIND_COUNT; }
// The kind of a stored number; only for numbers IsBonusKind accepts.
constexpr BonusKind BonusKindAt(int index) { return static_cast<BonusKind>(index); }

// Whether the kind falls towards the racket (the kinds before SmallBall).
constexpr bool IsFallingBonus(BonusKind kind) { return kind >= BonusKind::BallNormal && kind < BonusKind::SmallBall; }
// The eight ball-mode bonuses BallNormal..BallUniversal give every ball mode 0..7 in their order.
constexpr bool IsBallModeBonus(BonusKind kind) {
    return kind >= BonusKind::BallNormal && kind <= BonusKind::BallUniversal;
}
