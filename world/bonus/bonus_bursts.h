#pragma once
// The particle bursts that mark a catch, and the two force fields that draw
// them around the racket: the catch sparks whirl round it, the life sparks fly
// into it.
#include "math/vector.h"
#include "render/scene/space_warp.h"

// Particles circle the racket (tangent), are pulled back by half their offset,
// and rise a little.
class YSpaceRacketVortex : public YSpaceWarp {
public:
    void Apply(YParticle* particle, float dt) override;
};

// Particles fly towards the point 2.5 above the racket.
class YSpaceRacketIn : public YSpaceWarp {
public:
    void Apply(YParticle* particle, float dt) override;
};

extern YSpaceRacketVortex g_SpaceRacketVortex;
extern YSpaceRacketIn g_SpaceRacketIn;

// The racket's place on the table (0, 0 without a racket).
YVector RacketPlace();

// A unit vector of random direction (drawn again while it is too short to
// normalise).
YVector RandomUnitVector();

// 20 sparks of random bright colours 2 units around `at`, whirling round the
// racket.
void SpawnBonusCatchSparks(const YVector* at);
// 20 pale blue sparks around `at`, whirling round the racket (frost and slip).
void SpawnBonusColdSparks(const YVector* at);
// 30 green sparks from a sphere around the racket flying into it (life).
void SpawnBonusLifeBurst();
// 30 red sparks flying out of the racket (death).
void SpawnBonusDeathBurst();
