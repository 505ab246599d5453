// Widget skins of the menu pages: white shapes cut out by their alpha, tinted by the widget's
// colour (the shader's material), so one picture serves every colour.
#include <algorithm>
#include <cmath>

#include "tools/texgen/recipes.h"

namespace texgen {

namespace {

// Coverage of a soft edge: 1 inside (d < 0), 0 beyond `soft` outside.
float Inside(float d, float soft) { return Clamp01(0.5f - d / soft); }

// Signed distance to the box |x|, |y| <= half (negative inside).
float BoxDistance(float x, float y, float half) {
    const float dx = std::fabs(x) - half, dy = std::fabs(y) - half;
    const float ox = std::max(dx, 0.0f), oy = std::max(dy, 0.0f);
    return std::sqrt(ox * ox + oy * oy) + std::min(std::max(dx, dy), 0.0f);
}

// Distance from (x, y) to the segment a-b.
float SegmentDistance(float x, float y, float ax, float ay, float bx, float by) {
    const float vx = bx - ax, vy = by - ay;
    const float t = Clamp01(((x - ax) * vx + (y - ay) * vy) / (vx * vx + vy * vy));
    const float dx = x - ax - vx * t, dy = y - ay - vy * t;
    return std::sqrt(dx * dx + dy * dy);
}

} // namespace

// A triangle pointing right (to +u), centred, with a soft rim; the left arrow is its mirror.
bool UiArrow(const Context&, Picture& out, std::string&) {
    const float soft = 2.0f / static_cast<float>(out.Width());
    out.Fill([soft](float u, float v) {
        // Edges of the triangle (0.25, 0.2) - (0.8, 0.5) - (0.25, 0.8), as distances (negative inside).
        const float left = 0.25f - u;
        const float nx = 0.3f, ny = 0.55f, len = std::sqrt(nx * nx + ny * ny);
        const float top = ((u - 0.25f) * nx - (v - 0.2f) * ny) / len;
        const float bottom = ((u - 0.25f) * nx + (v - 0.8f) * ny) / len;
        const float d = std::max({left, top, bottom});
        return Rgba{1, 1, 1, Inside(d, soft)};
    });
    return true;
}

// Two check boxes side by side: empty on the left half, ticked on the right half.
bool UiCheckbox(const Context&, Picture& out, std::string&) {
    const float soft = 2.0f / static_cast<float>(out.Height());
    out.Fill([soft](float u, float v) {
        const bool ticked = u >= 0.5f;
        const float x = (ticked ? u - 0.5f : u) * 2.0f - 0.5f; // -0.5..0.5 across one box
        const float y = v - 0.5f;
        const float d = BoxDistance(x, y, 0.36f);
        float a = Inside(std::fabs(d) - 0.05f, soft); // the frame
        a = std::max(a, 0.25f * Inside(d, soft));     // a faint fill
        if (ticked) {
            const float t = std::min(SegmentDistance(x, y, -0.22f, 0.0f, -0.06f, 0.18f),
                                     SegmentDistance(x, y, -0.06f, 0.18f, 0.24f, -0.2f));
            a = std::max(a, Inside(t - 0.07f, soft));
        }
        return Rgba{1, 1, 1, a};
    });
    return true;
}

// The mouse pointer: an arrow whose tip is the picture's top-left corner, since the cursor quad
// starts at the mouse position. A white body inside a dark rim, so that it shows on light and dark
// scenes alike; alpha-blended.
bool UiPointer(const Context&, Picture& out, std::string&) {
    const float soft = 2.0f / static_cast<float>(out.Width());
    out.Fill([soft](float u, float v) {
        // The head: the triangle tip - lower left - right wing, distances negative inside.
        const float head[][2] = {{0.02f, 0.02f}, {0.02f, 0.75f}, {0.55f, 0.55f}};
        float d = -1.0f;
        for (int i = 0; i < 3; ++i) {
            const float* a = head[i];
            const float* b = head[(i + 1) % 3];
            const float ex = b[0] - a[0], ey = b[1] - a[1], len = std::sqrt(ex * ex + ey * ey);
            d = std::max(d, ((v - a[1]) * ex - (u - a[0]) * ey) / len);
        }
        // The tail: a bar from the notch down and to the right.
        const float tail = SegmentDistance(u, v, 0.28f, 0.58f, 0.46f, 0.92f) - 0.07f;
        d = std::min(d, tail);
        const float shape = Inside(d, soft);
        const float body = Inside(d + 0.05f, soft); // the rim is what lies between
        return Rgba{body, body, body, std::max(shape * 0.9f, body)};
    });
    return true;
}

} // namespace texgen
