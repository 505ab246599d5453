#pragma once
// The effects of the falling bonuses, one YBonusType subclass per kind 0..23.
// Most effects call one operation of the racket, which keeps the timer; every
// catch ends with a particle burst. Timed effects last the time-out of their
// kind's bonus record.
#include "world/bonus/bonus_type.h"

// The eight ball-mode kinds: every ball takes the mode of the kind for the
// time-out.
class YBonusBall : public YBonusType {
public:
    explicit YBonusBall(int32_t kind) : YBonusType(kind, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};

class YBonusBallNormal : public YBonusBall {
public:
    YBonusBallNormal() : YBonusBall(0) {}
};
class YBonusBallHeavy : public YBonusBall {
public:
    YBonusBallHeavy() : YBonusBall(1) {}
};
class YBonusBallPhantom : public YBonusBall {
public:
    YBonusBallPhantom() : YBonusBall(2) {}
};
class YBonusBallFire : public YBonusBall {
public:
    YBonusBallFire() : YBonusBall(3) {}
};
class YBonusBallExplosive : public YBonusBall {
public:
    YBonusBallExplosive() : YBonusBall(4) {}
};
class YBonusBallElectro : public YBonusBall {
public:
    YBonusBallElectro() : YBonusBall(5) {}
};
class YBonusBallGenerative : public YBonusBall {
public:
    YBonusBallGenerative() : YBonusBall(6) {}
};
class YBonusBallUniversal : public YBonusBall {
public:
    YBonusBallUniversal() : YBonusBall(7) {}
};

// The racket's gloves for the kind's time-out: it catches balls.
class YBonusGloves : public YBonusType {
public:
    YBonusGloves() : YBonusType(8, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// Lets go of what the racket holds and puts a boomerang in its hand.
class YBonusBoomer : public YBonusType {
public:
    YBonusBoomer() : YBonusType(9, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// Lets go of what the racket holds and puts a bomb in its hand.
class YBonusBomb : public YBonusType {
public:
    YBonusBomb() : YBonusType(10, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// Lets go of what the racket holds and puts five grenades in its hand.
class YBonusGrenade : public YBonusType {
public:
    YBonusGrenade() : YBonusType(11, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// Balls back to their slowest speed.
class YBonusMinSpeedup : public YBonusType {
public:
    YBonusMinSpeedup() : YBonusType(12, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// Balls at their fastest speed.
class YBonusMaxSpeedup : public YBonusType {
public:
    YBonusMaxSpeedup() : YBonusType(13, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// One life more, with the life burst.
class YBonusLife : public YBonusType {
public:
    YBonusLife() : YBonusType(14, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// One life less, with the death burst; the last life ends the game.
class YBonusDeath : public YBonusType {
public:
    YBonusDeath() : YBonusType(15, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The hero slows down for the time-out.
class YBonusSlumber : public YBonusType {
public:
    YBonusSlumber() : YBonusType(16, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The hero speeds up for the time-out.
class YBonusVivacity : public YBonusType {
public:
    YBonusVivacity() : YBonusType(17, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The back wall behind the racket stands for the time-out.
class YBonusBackWall : public YBonusType {
public:
    YBonusBackWall() : YBonusType(18, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The hero is frozen for the time-out, with the cold burst.
class YBonusFrost : public YBonusType {
public:
    YBonusFrost() : YBonusType(19, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The hero slips for the time-out, with the cold burst.
class YBonusSlip : public YBonusType {
public:
    YBonusSlip() : YBonusType(20, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// Every timed effect ends.
class YBonusReset : public YBonusType {
public:
    YBonusReset() : YBonusType(21, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The effect of a random kind 0..21 that the game mode allows; the catch then
// sounds and shows as that kind (the score stays this kind's).
class YBonusRandom : public YBonusType {
public:
    YBonusRandom() : YBonusType(22, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};
// The level is complete.
class YBonusNext : public YBonusType {
public:
    YBonusNext() : YBonusType(23, BONUS_RADIUS) {}
    void Apply(const YVector* caughtAt) override;
};

// How many tries the random kind gets before it looks for an allowed kind in
// order.
constexpr int RANDOM_BONUS_DRAWS = 64;
// The kind the Random bonus applies: rand() mod 22 drawn until the game mode
// gives the kind a probability above 0; after RANDOM_BONUS_DRAWS misses the
// next allowed kind from the last draw. -1 when the mode allows none of the
// kinds 0..21.
int DrawRandomBonusKind();

// Drops a Next bonus from high above the far half of the table.
void DropNextBonus();
