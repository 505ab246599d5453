#pragma once
// The effects of the falling bonuses, one YBonusType subclass per falling kind.
// Most effects call one operation of the racket, which keeps the timer; every
// catch ends with a particle burst. Timed effects last the time-out of their
// kind's bonus record.
#include <optional>

#include "world/bonus/bonus_type.h"

// The eight ball-mode kinds: every ball takes the mode of the kind for the
// time-out.
class YBonusBall : public YBonusType {
public:
    explicit YBonusBall(BonusKind kind) : YBonusType(kind, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};

class YBonusBallNormal : public YBonusBall {
public:
    YBonusBallNormal() : YBonusBall(BonusKind::BallNormal) {}
};
class YBonusBallHeavy : public YBonusBall {
public:
    YBonusBallHeavy() : YBonusBall(BonusKind::BallHeavy) {}
};
class YBonusBallPhantom : public YBonusBall {
public:
    YBonusBallPhantom() : YBonusBall(BonusKind::BallPhantom) {}
};
class YBonusBallFire : public YBonusBall {
public:
    YBonusBallFire() : YBonusBall(BonusKind::BallFire) {}
};
class YBonusBallExplosive : public YBonusBall {
public:
    YBonusBallExplosive() : YBonusBall(BonusKind::BallExplosive) {}
};
class YBonusBallElectro : public YBonusBall {
public:
    YBonusBallElectro() : YBonusBall(BonusKind::BallElectro) {}
};
class YBonusBallGenerative : public YBonusBall {
public:
    YBonusBallGenerative() : YBonusBall(BonusKind::BallGenerative) {}
};
class YBonusBallUniversal : public YBonusBall {
public:
    YBonusBallUniversal() : YBonusBall(BonusKind::BallUniversal) {}
};

// The racket's gloves for the kind's time-out: it catches balls.
class YBonusGloves : public YBonusType {
public:
    YBonusGloves() : YBonusType(BonusKind::Gloves, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// Lets go of what the racket holds and puts a boomerang in its hand.
class YBonusBoomer : public YBonusType {
public:
    YBonusBoomer() : YBonusType(BonusKind::Boomer, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// Lets go of what the racket holds and puts a bomb in its hand.
class YBonusBomb : public YBonusType {
public:
    YBonusBomb() : YBonusType(BonusKind::Bomb, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// Lets go of what the racket holds and puts five grenades in its hand.
class YBonusGrenade : public YBonusType {
public:
    YBonusGrenade() : YBonusType(BonusKind::Grenade, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// Balls back to their slowest speed.
class YBonusMinSpeedup : public YBonusType {
public:
    YBonusMinSpeedup() : YBonusType(BonusKind::MinSpeedup, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// Balls at their fastest speed.
class YBonusMaxSpeedup : public YBonusType {
public:
    YBonusMaxSpeedup() : YBonusType(BonusKind::MaxSpeedup, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// One life more, with the life burst.
class YBonusLife : public YBonusType {
public:
    YBonusLife() : YBonusType(BonusKind::Life, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// One life less, with the death burst; the last life ends the game.
class YBonusDeath : public YBonusType {
public:
    YBonusDeath() : YBonusType(BonusKind::Death, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The hero slows down for the time-out.
class YBonusSlumber : public YBonusType {
public:
    YBonusSlumber() : YBonusType(BonusKind::Slumber, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The hero speeds up for the time-out.
class YBonusVivacity : public YBonusType {
public:
    YBonusVivacity() : YBonusType(BonusKind::Vivacity, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The back wall behind the racket stands for the time-out.
class YBonusBackWall : public YBonusType {
public:
    YBonusBackWall() : YBonusType(BonusKind::BackWall, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The hero is frozen for the time-out, with the cold burst.
class YBonusFrost : public YBonusType {
public:
    YBonusFrost() : YBonusType(BonusKind::Frost, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The hero slips for the time-out, with the cold burst.
class YBonusSlip : public YBonusType {
public:
    YBonusSlip() : YBonusType(BonusKind::Slip, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// Every timed effect ends.
class YBonusReset : public YBonusType {
public:
    YBonusReset() : YBonusType(BonusKind::Reset, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The effect of a random kind 0..21 that the game mode allows; the catch then
// sounds and shows as that kind (the score stays this kind's).
class YBonusRandom : public YBonusType {
public:
    YBonusRandom() : YBonusType(BonusKind::Random, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The level is complete.
class YBonusNext : public YBonusType {
public:
    YBonusNext() : YBonusType(BonusKind::Next, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};

// How many tries the random kind gets before it looks for an allowed kind in
// order.
constexpr int RANDOM_BONUS_DRAWS = 64;
// The kind the Random bonus applies: one of the kinds before Random
// (rand() mod their number) drawn until the game mode gives the kind a
// probability above 0; after RANDOM_BONUS_DRAWS misses the next allowed kind
// from the last draw. None when the mode allows none of those kinds.
std::optional<BonusKind> DrawRandomBonusKind();

// Drops a Next bonus from high above the far half of the table.
void DropNextBonus();
