#pragma once
// The bomb: one heavy ball with a 10-second fuse and a large blast, handed to the racket by the
// bomb bonus. Held on the racket until the player throws it; flies flat along the hero's facing;
// explodes when its fuse burns down, soon after it touches a block or the far wall; a bomb that
// comes back to the racket is caught again (thrown off while the racket is frozen).
#include "world/weapons/thrown_weapon.h"

class YBomb : public YThrownWeapon {
public:
    static constexpr float FUSE = 10.0f;
    static constexpr float THROW_TIME = 0.15f;

    // Held-ready: body and geom disabled, identity placement.
    YBomb();
    // Unless it exploded, with block effects on: a small blast and "destroy_ball".
    ~YBomb() override;

    // The throw starts: 0.15 s of the hero's gesture, then the flight; a fresh 10-second fuse.
    void Release(bool byPlayer) override;
    void Update(float dt) override;

    // fuse := min(fuse, 0.1).
    void ShortenFuse() override;
    // The blast (5, 1500, 50 sparks), "bomb", deletion at the next tick.
    void Explode();

    bool exploded = false;

private:
    // Launch along the hero's facing from where the bomb is, with a random spin.
    void Throw();
};
