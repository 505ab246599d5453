#pragma once
// Matrix helpers of the editor: a diagonal matrix and the rotations about the coordinate axes, with
// angles in degrees. Rows (c = cos, s = sin): about x (1,0,0), (0,c,s), (0,-s,c); about y
// (c,0,-s), (0,1,0), (s,0,c); about z (c,s,0), (-s,c,0), (0,0,1); the fourth row and column as in
// the identity.
#include "math/matrix.h"

// `v` on the diagonal (all four elements), 0 elsewhere; 1 gives the identity.
YMatrix MatrixDiagonal(float v);
YMatrix MatrixRotationXDeg(float degrees);
YMatrix MatrixRotationYDeg(float degrees);
YMatrix MatrixRotationZDeg(float degrees);
