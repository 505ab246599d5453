#pragma once
// The racket seen from a ball: the circle around the racket that a ball touches, and where.
#include "math/vector.h"

// Where a ball at p touches the racket circle of radius W / 2 + rb around R: the contact point H
// (at the ball's height p.z) and the normal N in the table plane. False when the ball is outside
// the circle or exactly at its centre. A contact beyond the table's side (|x| > T / 2 - rb) is
// pulled back inside and at least sqrt(r^2 - W^2 / 4) in front of the racket.
bool RacketContact(const YVector& p, float rx, float ry, float width, float rb, float tableWidth, YVector* hit,
                   YVector* normal);
