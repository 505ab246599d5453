#include "world/balls/racket_contact.h"

#include <algorithm>
#include <cmath>

bool RacketContact(const YVector& p, float rx, float ry, float width, float rb, float tableWidth, YVector* hit,
                   YVector* normal) {
    const float r = width * 0.5f + rb;
    const float dx = p.x - rx;
    const float dy = p.y - ry;
    const float len = std::sqrt(dx * dx + dy * dy);
    if (!(len >= 1e-6f) || !(len <= r)) return false;
    float px = rx + dx / len * r;
    float py = ry + dy / len * r;
    const float lim = std::max(0.0f, tableWidth * 0.5f - rb);
    if (px < -lim || px > lim) {
        px = std::clamp(px, -lim, lim);
        const float front = r * r - width * width * 0.25f;
        py = std::max(py, ry + std::sqrt(std::max(0.0f, front)));
    }
    float nx = px - rx;
    float ny = py - ry;
    const float nlen = std::sqrt(nx * nx + ny * ny);
    if (nlen < 1e-6f) {
        nx = 0.0f;
        ny = 1.0f;
    } else {
        nx /= nlen;
        ny /= nlen;
    }
    *hit = YVector(px, py, p.z);
    *normal = YVector(nx, ny, 0.0f);
    return true;
}
