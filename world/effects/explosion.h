#pragma once
// The one blast of the game: pushes the movable bodies within a radius away from the centre,
// tells each body's listener it was hit (OnContact with other == the listener itself, zero torque,
// depth 0), and shows a fireball, two burn decals on the table and a burst of sparks.
// Callers: the explosive ball (2.75, 500, 25), the grenade (2.75, 500, 25), the bomb (5, 1500,
// 50) and the "tnt" block special. Main thread, outside the physics step.
#include <ode/ode.h>

#include <cstddef>

#include "math/vector.h"

// The probe sphere of the physics world meets only block boxes (category 1): balls, bombs and
// grenades are never pushed. A body whose contact point lies at distance d < radius gets
// (1 - d / radius)^2 x strength along the direction from the centre (the contact normal, negated,
// when d < 0.01). A listener may destroy bodies while it is told: their later contacts are
// skipped.
//
// Many blasts at once (a chain of "tnt" blocks) would lay hundreds of large decals over the table,
// each drawn over the whole of its square: the table keeps at most BLAST_DECAL_LIMIT of them, a
// new one taking the place of the one furthest through its life. The particles have a budget of
// their own (render/scene/particles.h).
void SpawnExplosion(const YVector* centre, float radius, float strength, int sparkCount);

// Burn decals the table holds at most (four explosions' worth).
constexpr std::size_t BLAST_DECAL_LIMIT = 8;

// The destroy hook the blast installs while it walks its contacts: forgets every contact with the
// geom being destroyed.
void ForgetBlastGeom(dGeomID geom);
