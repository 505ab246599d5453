#include "platform/gpu/d3dx_math.h"

#include <cmath>

namespace gpu {

Matrix* MatrixPerspectiveFovRH(Matrix* out, float fovY, float aspect, float zn, float zf) {
    float ys = 1.0f / std::tan(fovY * 0.5f);
    float xs = ys / aspect;
    Matrix m;
    m.m[0] = xs;
    m.m[5] = ys;
    m.m[10] = zf / (zn - zf);
    m.m[11] = -1.0f;
    m.m[14] = zn * zf / (zn - zf);
    *out = m;
    return out;
}

Matrix* MatrixOrthoOffCenterLH(Matrix* out, float l, float r, float b, float t, float zn, float zf) {
    Matrix m;
    m.m[0] = 2.0f / (r - l);
    m.m[5] = 2.0f / (t - b);
    m.m[10] = 1.0f / (zf - zn);
    m.m[12] = (l + r) / (l - r);
    m.m[13] = (t + b) / (b - t);
    m.m[14] = zn / (zn - zf);
    m.m[15] = 1.0f;
    *out = m;
    return out;
}

Matrix* MatrixMultiply(Matrix* out, const Matrix* a, const Matrix* b) {
    Matrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float s = 0.0f;
            for (int k = 0; k < 4; ++k) s += a->m[i * 4 + k] * b->m[k * 4 + j];
            r.m[i * 4 + j] = s;
        }
    *out = r;
    return out;
}

} // namespace gpu
