#pragma once
// The grenade: a supply of light grenades with a 3-second fuse, handed to the racket by the
// grenade bonus (5 of them). Each throw flies at the racket's launch elevation (10 degrees in
// lowBall game modes) and puts the next grenade of the supply into the hero's hand.
#include "world/weapons/thrown_weapon.h"

class YGrenade : public YThrownWeapon {
public:
    static constexpr float FUSE = 3.0f;
    static constexpr float THROW_TIME = 0.2f;

    // `count` throws left, this one included.
    explicit YGrenade(int count);

    // Only while held and not yet thrown: one throw less (keepSupply) or none left; the throw
    // starts with a 3-second fuse.
    void Release(bool keepSupply) override;
    void Update(float dt) override;

    // fuse := min(fuse, 0.05).
    void ShortenFuse() override;
    // The blast (2.75, 500, 25 sparks), "grenade", deletion at the next tick.
    void Explode();

    int grenadesLeft;
};
