#include "tools/fontbake/glyph_effects.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace fontbake {
namespace {

// A float picture with a border of zeros outside it.
struct Plane {
    int w = 0, h = 0;
    std::vector<float> v;

    Plane(int width, int height) : w(width), h(height), v(static_cast<std::size_t>(width) * height, 0.0f) {}
    float At(int x, int y) const {
        return (x < 0 || y < 0 || x >= w || y >= h) ? 0.0f : v[static_cast<std::size_t>(y) * w + x];
    }
    float& Ref(int x, int y) { return v[static_cast<std::size_t>(y) * w + x]; }
};

// Box blur of radius r along x, then along y.
void BoxBlur(Plane& p, int r) {
    const float norm = 1.0f / static_cast<float>(2 * r + 1);
    Plane tmp(p.w, p.h);
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            float sum = 0;
            for (int d = -r; d <= r; ++d) sum += p.At(x + d, y);
            tmp.Ref(x, y) = sum * norm;
        }
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            float sum = 0;
            for (int d = -r; d <= r; ++d) sum += tmp.At(x, y + d);
            p.Ref(x, y) = sum * norm;
        }
}

// Two box passes: a soft, tent-shaped spread of up to 2 r pixels.
void Blur(Plane& p, int r) {
    if (r <= 0) return;
    BoxBlur(p, r);
    BoxBlur(p, r);
}

// Grows the shape by `radius` pixels with an antialiased rim: each texel takes the strongest
// coverage within the disc, weakened by how far past the radius that coverage lies.
Plane Dilate(const Plane& src, float radius) {
    Plane out(src.w, src.h);
    const int reach = static_cast<int>(std::ceil(radius + 0.5f));
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x) {
            float best = 0;
            for (int dy = -reach; dy <= reach; ++dy)
                for (int dx = -reach; dx <= reach; ++dx) {
                    const float c = src.At(x + dx, y + dy);
                    if (c <= best) continue;
                    const float dist = std::sqrt(static_cast<float>(dx * dx + dy * dy));
                    const float weight = std::clamp(radius + 0.5f - dist, 0.0f, 1.0f);
                    best = std::max(best, c * weight);
                }
            out.Ref(x, y) = best;
        }
    return out;
}

unsigned char ToByte(float v) { return static_cast<unsigned char>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

} // namespace

int EffectPadding(const GlyphEffects& fx) {
    int pad = 0;
    if (fx.outlineRadius > 0) pad = std::max(pad, static_cast<int>(std::ceil(fx.outlineRadius + 0.5f)));
    if (fx.shadowOffset > 0) pad = std::max(pad, fx.shadowOffset);
    if (fx.HasDarkParts()) pad += 2 * std::max(fx.blur, 0); // the blur's two passes
    return pad;
}

void EmptyTexel(const GlyphEffects& fx, unsigned char rgba[4]) {
    const unsigned char c = fx.HasDarkParts() ? 0 : 255;
    rgba[0] = rgba[1] = rgba[2] = c;
    rgba[3] = 0;
}

void ComposeGlyph(const std::vector<float>& coverage, int width, int height, const GlyphEffects& fx, plat::Image& out) {
    const int pad = EffectPadding(fx);
    const int w = width + 2 * pad, h = height + 2 * pad;
    out.Allocate(w, h);
    if (out.Empty()) return;

    Plane fill(w, h);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) fill.Ref(x + pad, y + pad) = coverage[static_cast<std::size_t>(y) * width + x];

    Plane dark(w, h);
    if (fx.outlineRadius > 0) {
        Plane outline = Dilate(fill, fx.outlineRadius);
        Blur(outline, fx.blur);
        for (std::size_t i = 0; i < dark.v.size(); ++i) dark.v[i] = outline.v[i] * fx.outlineOpacity;
    }
    if (fx.shadowOffset > 0) {
        Plane shadow(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) shadow.Ref(x, y) = fill.At(x - fx.shadowOffset, y - fx.shadowOffset);
        Blur(shadow, fx.blur);
        for (std::size_t i = 0; i < dark.v.size(); ++i) dark.v[i] = std::max(dark.v[i], shadow.v[i] * fx.shadowOpacity);
    }

    unsigned char empty[4];
    EmptyTexel(fx, empty);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            // White glyph over the black dark layer: alpha = f + (1 - f) d, colour = f / alpha.
            const float f = fill.At(x, y), d = dark.At(x, y);
            const float a = f + (1.0f - f) * d;
            unsigned char* px = out.Pixel(x, y);
            if (a <= 0.0f) {
                std::copy(empty, empty + 4, px);
                continue;
            }
            const unsigned char c = fx.HasDarkParts() ? ToByte(f / a) : 255;
            px[0] = px[1] = px[2] = c;
            px[3] = ToByte(a);
        }
}

} // namespace fontbake
