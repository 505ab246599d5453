#pragma once
// The flames of a fire block: 10 particles per second per unit of the block's volume, anywhere in
// the block (kept 0.25 inside its faces), rising on the fire updraft.
#include "math/matrix.h"
#include "math/vector.h"
#include "render/scene/space_warp.h"

// The updraft that lifts fire particles: (0, 0, 3).
extern YSpaceGravity FireUpdraft;

// Emits the flames due for dt into the particle pool; `accumulator` keeps the part of a particle
// still owed. Returns how many were emitted.
int EmitBlockFlames(float* accumulator, float dt, const YMatrix& world, const YVector& size);
