#include "tools/texgen/picture.h"

#include <algorithm>
#include <cmath>

#include "tools/texgen/noise.h"

namespace texgen {

Picture::Picture(int width, int height)
    : width_(width), height_(height), px_(static_cast<std::size_t>(width) * height) {}

plat::Image Picture::ToImage(uint32_t seed) const {
    plat::Image img;
    img.Allocate(width_, height_);
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) {
            const Rgba& c = At(x, y);
            const float dither = HashUnit(HashInts(x, y, 0, seed)) - 0.5f;
            uint8_t* p = img.Pixel(x, y);
            const float ch[4] = {c.r, c.g, c.b, c.a};
            for (int k = 0; k < 4; ++k) {
                const float v =
                    std::isfinite(ch[k]) ? std::clamp(ch[k] * 255.0f + (k < 3 ? dither : 0.0f), 0.0f, 255.0f) : 0.0f;
                p[k] = static_cast<uint8_t>(std::lround(v));
            }
        }
    return img;
}

namespace {

inline int Wrap(int v, int n) {
    const int m = v % n;
    return m < 0 ? m + n : m;
}

// One running-sum box pass of radius r over n values `stride` apart.
void BoxPass(float* data, int n, int stride, int r, bool wrap, std::vector<float>& tmp) {
    tmp.resize(static_cast<std::size_t>(n));
    auto get = [&](int i) {
        return data[static_cast<std::size_t>(wrap ? Wrap(i, n) : std::clamp(i, 0, n - 1)) * stride];
    };
    float sum = 0;
    for (int i = -r; i <= r; ++i) sum += get(i);
    const float inv = 1.0f / static_cast<float>(2 * r + 1);
    for (int i = 0; i < n; ++i) {
        tmp[static_cast<std::size_t>(i)] = sum * inv;
        sum += get(i + r + 1) - get(i - r);
    }
    for (int i = 0; i < n; ++i) data[static_cast<std::size_t>(i) * stride] = tmp[static_cast<std::size_t>(i)];
}

} // namespace

float Mask::Get(int x, int y, bool wrap) const {
    if (wrap) return At(Wrap(x, width_), Wrap(y, height_));
    return At(std::clamp(x, 0, width_ - 1), std::clamp(y, 0, height_ - 1));
}

void Mask::Blur(int radius, bool wrap) {
    if (radius <= 0) return;
    const int r = std::max(1, (radius + 1) / 2);
    std::vector<float> tmp;
    for (int pass = 0; pass < 3; ++pass) {
        for (int y = 0; y < height_; ++y) BoxPass(&At(0, y), width_, 1, r, wrap, tmp);
        for (int x = 0; x < width_; ++x) BoxPass(&At(x, 0), height_, width_, r, wrap, tmp);
    }
}

void Mask::Segment(Vec2 a, Vec2 b, float width, float value, bool wrap) {
    const float reach = width * 0.5f + 1.0f;
    const int x0 = static_cast<int>(std::floor(std::min(a.x, b.x) - reach));
    const int x1 = static_cast<int>(std::ceil(std::max(a.x, b.x) + reach));
    const int y0 = static_cast<int>(std::floor(std::min(a.y, b.y) - reach));
    const int y1 = static_cast<int>(std::ceil(std::max(a.y, b.y) + reach));
    const Vec2 ab = b - a;
    const float len2 = std::max(Dot(ab, ab), 1e-9f);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            if (!wrap && (x < 0 || y < 0 || x >= width_ || y >= height_)) continue;
            const Vec2 p{x + 0.5f, y + 0.5f};
            const float t = std::clamp(Dot(p - a, ab) / len2, 0.0f, 1.0f);
            const float d = Length(p - (a + ab * t));
            // Coverage of a pixel by a band of this width (linear over one pixel at the edge).
            const float cover = Clamp01(width * 0.5f + 0.5f - d) * std::min(1.0f, width);
            if (cover <= 0) continue;
            float& m = wrap ? At(Wrap(x, width_), Wrap(y, height_)) : At(x, y);
            m = std::max(m, cover * value);
        }
}

} // namespace texgen
