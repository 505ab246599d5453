#pragma once
// Force fields for particles. A particle may name one field; the particle system applies it every
// update, before the particle moves, and the field changes the particle's velocity (or any other
// field of it) for that time step. Fields are not owned by the particles that name them, so they
// are globals or live as long as any particle using them.
#include "math/vector.h"

struct YParticle;

class YSpaceWarp {
public:
    virtual void Apply(YParticle* particle, float dt) = 0;

protected:
    ~YSpaceWarp() = default;
};

// A constant acceleration: Apply adds g x dt to the velocity.
class YSpaceGravity : public YSpaceWarp {
public:
    explicit YSpaceGravity(const YVector& g_) : g(g_) {}
    void Apply(YParticle* particle, float dt) override;

    YVector g;
};

// The sparks' gravity, (0, 0, -4): sparks fall more slowly than the bodies of the physics world,
// so a burst stays on screen for its whole life.
extern YSpaceGravity ParticleGravity;
