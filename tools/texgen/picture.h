#pragma once
// A picture being made: linear float RGBA, rows top first, plus the few drawing helpers the
// generators share (blur and anti-aliased segments, optionally wrapping at the edges).
#include <cstdint>
#include <vector>

#include "platform/image/image.h"
#include "tools/texgen/vec.h"

namespace texgen {

struct Rgba {
    float r = 0, g = 0, b = 0, a = 1;
};
inline Rgba WithAlpha(Rgb c, float a) { return {c.r, c.g, c.b, a}; }

class Picture {
public:
    Picture(int width, int height);

    int Width() const { return width_; }
    int Height() const { return height_; }
    Rgba& At(int x, int y) { return px_[static_cast<std::size_t>(y) * width_ + x]; }
    const Rgba& At(int x, int y) const { return px_[static_cast<std::size_t>(y) * width_ + x]; }

    // Calls f(u, v) for every pixel with (u, v) the pixel's centre in 0..1 and stores the result.
    template <class F>
    void Fill(F f) {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) At(x, y) = f((x + 0.5f) / width_, (y + 0.5f) / height_);
    }

    // To 8-bit RGBA with a small seeded dither, which keeps smooth gradients from banding.
    plat::Image ToImage(uint32_t seed) const;

private:
    int width_, height_;
    std::vector<Rgba> px_;
};

// One float per pixel: masks, heights, densities.
class Mask {
public:
    Mask(int width, int height) : width_(width), height_(height), v_(static_cast<std::size_t>(width) * height, 0.0f) {}
    int Width() const { return width_; }
    int Height() const { return height_; }
    float& At(int x, int y) { return v_[static_cast<std::size_t>(y) * width_ + x]; }
    float At(int x, int y) const { return v_[static_cast<std::size_t>(y) * width_ + x]; }
    // Clamped at the borders, or wrapped.
    float Get(int x, int y, bool wrap) const;

    // Three box passes per axis (close to a Gaussian of about `radius` pixels).
    void Blur(int radius, bool wrap);
    // Draws a segment of the given width with soft edges, keeping the larger of old and new value.
    void Segment(Vec2 a, Vec2 b, float width, float value, bool wrap);

private:
    int width_, height_;
    std::vector<float> v_;
};

} // namespace texgen
