#pragma once
// The textured rectangles widgets draw: four corners top left, top right, bottom right, bottom
// left (a triangle fan), in the widget's own coordinates.
#include "render/render_values.h"

inline void SetUIQuad(YTexVertex q[4], float x0, float y0, float x1, float y1, float u0 = 0.0f, float v0 = 0.0f,
                      float u1 = 1.0f, float v1 = 1.0f) {
    const float xs[4] = {x0, x1, x1, x0};
    const float ys[4] = {y0, y0, y1, y1};
    const float us[4] = {u0, u1, u1, u0};
    const float vs[4] = {v0, v0, v1, v1};
    for (int i = 0; i < 4; ++i) {
        q[i].pos = YVector(xs[i], ys[i], 0.0f);
        q[i].uv = YVector2(us[i], vs[i]);
        q[i].uv2 = YVector2(us[i], vs[i]);
    }
}
