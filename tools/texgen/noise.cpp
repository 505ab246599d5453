#include "tools/texgen/noise.h"

#include <cmath>

namespace texgen {

uint32_t Hash32(uint32_t x) {
    // A well-mixed 32-bit finaliser (two multiply-xorshift rounds).
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

uint32_t HashInts(int x, int y, int z, uint32_t seed) {
    // Spread each coordinate by its own odd constant, then mix once; enough for lattice noise and
    // cheap, since the noise asks for eight of these per sample.
    const uint32_t h = static_cast<uint32_t>(x) * 0x8da6b343U ^ static_cast<uint32_t>(y) * 0xd8163841U ^
                       static_cast<uint32_t>(z) * 0xcb1ab31fU ^ (seed * 0x9e3779b9U + 0x7f4a7c15U);
    return Hash32(h);
}

namespace {

inline float Fade(float t) { return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f); }

// One of the twelve cube-edge directions (and four repeats), as in improved Perlin noise.
inline float Grad3(uint32_t h, float x, float y, float z) {
    switch (h & 15u) {
        case 0: return x + y;
        case 1: return -x + y;
        case 2: return x - y;
        case 3: return -x - y;
        case 4: return x + z;
        case 5: return -x + z;
        case 6: return x - z;
        case 7: return -x - z;
        case 8: return y + z;
        case 9: return -y + z;
        case 10: return y - z;
        case 11: return -y - z;
        case 12: return x + y;
        case 13: return -y + z;
        case 14: return -x + y;
        default: return -y - z;
    }
}

inline float Grad2(uint32_t h, float x, float y) {
    // Eight directions around the circle.
    constexpr float D = 0.70710678f;
    static constexpr float GX[8] = {1, D, 0, -D, -1, -D, 0, D};
    static constexpr float GY[8] = {0, D, 1, D, 0, -D, -1, -D};
    const unsigned i = (h >> 4) & 7u;
    return GX[i] * x + GY[i] * y;
}

inline int WrapInt(int v, int period) {
    const int m = v % period;
    return m < 0 ? m + period : m;
}

} // namespace

float Noise3(Vec3 p, uint32_t seed) {
    const float fx = std::floor(p.x), fy = std::floor(p.y), fz = std::floor(p.z);
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy), z0 = static_cast<int>(fz);
    const float x = p.x - fx, y = p.y - fy, z = p.z - fz;
    const float u = Fade(x), v = Fade(y), w = Fade(z);
    float c[2][2][2];
    for (int k = 0; k < 2; ++k)
        for (int j = 0; j < 2; ++j)
            for (int i = 0; i < 2; ++i) c[k][j][i] = Grad3(HashInts(x0 + i, y0 + j, z0 + k, seed), x - i, y - j, z - k);
    const float a = Mix(Mix(c[0][0][0], c[0][0][1], u), Mix(c[0][1][0], c[0][1][1], u), v);
    const float b = Mix(Mix(c[1][0][0], c[1][0][1], u), Mix(c[1][1][0], c[1][1][1], u), v);
    return Mix(a, b, w);
}

float Fbm3(Vec3 p, int octaves, uint32_t seed, float gain) {
    float sum = 0, amp = 1, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * Noise3(p, seed + static_cast<uint32_t>(o) * 1013u);
        norm += amp;
        amp *= gain;
        // Not exactly 2, and shifted, so the octaves' lattices never line up.
        p = p * 2.03f + Vec3{17.1f, -9.7f, 5.3f};
    }
    return sum / norm * 1.6f;
}

float NoisePeriodic(float x, float y, int periodX, int periodY, uint32_t seed) {
    const float fx = std::floor(x), fy = std::floor(y);
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    const float tx = x - fx, ty = y - fy;
    const int xa = WrapInt(x0, periodX), xb = WrapInt(x0 + 1, periodX);
    const int ya = WrapInt(y0, periodY), yb = WrapInt(y0 + 1, periodY);
    const float c00 = Grad2(HashInts(xa, ya, 0, seed), tx, ty);
    const float c10 = Grad2(HashInts(xb, ya, 0, seed), tx - 1, ty);
    const float c01 = Grad2(HashInts(xa, yb, 0, seed), tx, ty - 1);
    const float c11 = Grad2(HashInts(xb, yb, 0, seed), tx - 1, ty - 1);
    const float u = Fade(tx), v = Fade(ty);
    return Mix(Mix(c00, c10, u), Mix(c01, c11, u), v) * 1.41f;
}

float FbmTile2(float u, float v, int cellsX, int cellsY, int octaves, uint32_t seed, float gain) {
    float sum = 0, amp = 1, norm = 0;
    int cx = cellsX, cy = cellsY;
    // Octaves finer than a lattice of 65536 cells add nothing a picture could show.
    for (int o = 0; o < octaves && cx <= 65536 && cy <= 65536; ++o) {
        sum += amp * NoisePeriodic(u * cx, v * cy, cx, cy, seed + static_cast<uint32_t>(o) * 7919u);
        norm += amp;
        amp *= gain;
        cx *= 2;
        cy *= 2;
    }
    return sum / norm * 1.5f;
}

float FbmTile(float u, float v, int cells, int octaves, uint32_t seed, float gain) {
    return FbmTile2(u, v, cells, cells, octaves, seed, gain);
}

Cell WorleyTile(float u, float v, int cells, uint32_t seed) {
    const float x = u * cells, y = v * cells;
    const int cx = static_cast<int>(std::floor(x)), cy = static_cast<int>(std::floor(y));
    Cell best;
    best.f1 = best.f2 = 1e9f;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
            const int gx = cx + i, gy = cy + j;
            const uint32_t h = HashInts(WrapInt(gx, cells), WrapInt(gy, cells), 7, seed);
            const float px = gx + 0.1f + 0.8f * HashUnit(h);
            const float py = gy + 0.1f + 0.8f * HashUnit(Hash32(h));
            const float d = std::hypot(px - x, py - y);
            if (d < best.f1) {
                best.f2 = best.f1;
                best.f1 = d;
                best.id = h;
                best.centre = {px / cells, py / cells};
            } else if (d < best.f2) {
                best.f2 = d;
            }
        }
    best.f1 /= cells;
    best.f2 /= cells;
    return best;
}

Cell Worley2(Vec2 p, uint32_t seed) {
    const int cx = static_cast<int>(std::floor(p.x)), cy = static_cast<int>(std::floor(p.y));
    Cell best;
    best.f1 = best.f2 = 1e9f;
    for (int j = -1; j <= 1; ++j)
        for (int i = -1; i <= 1; ++i) {
            const uint32_t h = HashInts(cx + i, cy + j, 9, seed);
            const Vec2 q{cx + i + 0.1f + 0.8f * HashUnit(h), cy + j + 0.1f + 0.8f * HashUnit(Hash32(h))};
            const float d = Length(q - p);
            if (d < best.f1) {
                best.f2 = best.f1;
                best.f1 = d;
                best.id = h;
                best.centre = q;
            } else if (d < best.f2) {
                best.f2 = d;
            }
        }
    return best;
}

} // namespace texgen
