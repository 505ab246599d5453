#pragma once
// The table's static collision geometry and the two ray tests.
//
// PhysicsSetArena rebuilds, never patches, the arena for a table of width W and depth D (x across,
// y along with the racket at -D/2, z up) in a simple space inside the world space:
//   floor        box (W + 0.2) x (D + 0.2) x 4, top at z = 0.02              category 4
//   catch floor  box (W + 12) x (D + 12) x 6, top at z = -3.656               category 4
//   borders      far, right, left boxes 1.25 high (game mode perimeterBorder) category 16
//   far wall     plane y = D/2 facing -y                                      category 8
//   side walls   planes leaning 0.05 in: x = -W/2 + 0.05 y, x = W/2 - 0.05 y  category 8
//   stop plane   y = -D/2 + nearOffset facing +y (holds blocks, balls pass)  category 16
//   back wall    y = -D/2 facing +y, created disabled (the racket's shield)  category 512
#include <ode/ode.h>

#include "math/vector.h"

// Builds the arena (see above) and stores the back-wall plane in *backWall.
void PhysicsSetArena(dGeomID* backWall, float width, float depth, float nearOffset);
// Switches the back-wall plane on or off; nothing for a null plane.
void SetBackWallEnabled(dGeomID backWall, bool on);
// The arena's space, or null before the first build.
dSpaceID PhysicsArenaSpace();
// The world space is going (with the arena in it): forget the arena.
void PhysicsArenaForget();

// Whether the occlusion ray from origin along direction (unit) meets anything within length: it
// meets only opaque blocks and the floors (blocks hiding a ball from the camera).
bool PhysicsRayCast(const YVector* origin, const YVector* direction, float length);
// Whether the nearest block geom on the reach ray is `target` (with no block on the ray at all:
// whether target is null). When the target is met as the nearest so far, *hitPosition gets its
// contact point.
bool PhysicsRayReaches(const YVector* origin, const YVector* direction, float length, dGeomID target,
                       YVector* hitPosition);
