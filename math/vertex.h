#pragma once
// The renderer's mesh vertex: position, normal and two texture-coordinate sets, ten floats.
#include "math/vector.h"

struct YVertex {
    YVector pos;
    YVector normal;
    YVector2 uv1;
    YVector2 uv2;

    YVertex() = default;
    // Both texture-coordinate sets get `uv`.
    YVertex(const YVector& p, const YVector& n, const YVector2& uv) : pos(p), normal(n), uv1(uv), uv2(uv) {}
};

static_assert(sizeof(YVertex) == 10 * sizeof(float));
