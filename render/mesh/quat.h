#pragma once
// Rotations of the skeleton as quaternions (x, y, z, w), and the matrix the skinning builds from a
// rotation and a translation. The matrix follows the table the skeleton files are authored
// against (rows as stored, points as row vectors):
//
//   1 - 2(y² + z²)   2(xy - zw)       2(xz + yw)       0
//   2(xy + zw)       1 - 2(x² + z²)   2(yz - xw)       0
//   2(xz - yw)       2(yz + xw)       1 - 2(x² + y²)   0
//   t.x              t.y              t.z              1
//
// The quaternion is not normalised first.
#include "math/matrix.h"
#include "math/vector.h"

struct YQuat {
    float x, y, z, w;
};

YMatrix QuatToMatrix(const YQuat& q, const YVector& t);
