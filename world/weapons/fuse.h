#pragma once
// The pieces that bombs and grenades share: their throw directions, the fuse sparks at the tip of
// the fuse, and the fuse that a touch cuts short.
#include "math/matrix.h"
#include "math/vector.h"

// A bomb flies flat along the hero's facing: +y turned about z by `yaw` degrees.
YVector BombThrowDirection(float yaw);
// A grenade flies along +y turned up by `pitch` and then about z by `yaw` (degrees):
// (-sin yaw, cos yaw cos pitch, cos yaw sin pitch).
YVector GrenadeThrowDirection(float yaw, float pitch);
// A touch cuts the fuse to at most `limit`; a shorter fuse stays.
inline float CutFuse(float fuse, float limit) { return fuse < limit ? fuse : limit; }

// Sparks at the fuse's tip, `rate` per second: tip = the matrix's translation + row 2 x up -
// row 0 x back (the tip in the object's own frame).
class YFuseSparks {
public:
    void Emit(float dt, const YMatrix& m, float rate, float up, float back);
    float accumulator = 0.0f;
};
