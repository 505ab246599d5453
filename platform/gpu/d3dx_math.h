#pragma once
// Projection matrices in the device's convention: row vectors, depth 0..1 after the divide.
#include "platform/gpu/d3d_types.h"

namespace gpu {

// Right-handed perspective (the camera looks down -z): ys = cot(fovY / 2), xs = ys / aspect; rows
// (xs,0,0,0), (0,ys,0,0), (0,0,zf/(zn-zf),-1), (0,0,zn*zf/(zn-zf),0). fovY in radians.
Matrix* MatrixPerspectiveFovRH(Matrix* out, float fovY, float aspect, float zn, float zf);

// Left-handed orthographic projection of the box l..r, b..t, zn..zf: rows (2/(r-l),0,0,0),
// (0,2/(t-b),0,0), (0,0,1/(zf-zn),0), ((l+r)/(l-r),(t+b)/(b-t),zn/(zn-zf),1).
Matrix* MatrixOrthoOffCenterLH(Matrix* out, float l, float r, float b, float t, float zn, float zf);

// out = a x b (a applies first to a row vector). out may alias a or b.
Matrix* MatrixMultiply(Matrix* out, const Matrix* a, const Matrix* b);

} // namespace gpu
