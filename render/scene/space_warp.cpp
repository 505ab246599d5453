#include "render/scene/space_warp.h"

#include "render/scene/particles.h"

YSpaceGravity ParticleGravity(YVector(0.0f, 0.0f, -4.0f));

void YSpaceGravity::Apply(YParticle* particle, float dt) { particle->velocity = particle->velocity + g * dt; }
