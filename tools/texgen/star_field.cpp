#include "tools/texgen/star_field.h"

#include <cmath>

#include "tools/texgen/noise.h"

namespace texgen {

namespace {

// Star colours from hot to cool.
constexpr Rgb STAR_COLOURS[] = {Hex(0xb4c8ff), Hex(0xdce6ff), Hex(0xffffff),
                                Hex(0xfff2d8), Hex(0xffd8a8), Hex(0xffb888)};

// Angular radius of a star's core, in radians (a little over half a pixel of a 512 face).
constexpr float CORE = 0.0017f;

} // namespace

Rgb StarLight(Vec3 d, const StarLayer& layer, float density) {
    const float k = layer.cellsPerRadian;
    const Vec3 p = d * k;
    const int cx = static_cast<int>(std::floor(p.x)), cy = static_cast<int>(std::floor(p.y)),
              cz = static_cast<int>(std::floor(p.z));
    const float reach = 1.0f / k; // farther stars may sit outside the cells looked at
    const float chance = layer.probability * density;
    Rgb sum;
    for (int k3 = -1; k3 <= 1; ++k3)
        for (int j = -1; j <= 1; ++j)
            for (int i = -1; i <= 1; ++i) {
                const int x = cx + i, y = cy + j, z = cz + k3;
                const uint32_t h = HashInts(x, y, z, layer.seed);
                if (HashUnit(h) >= chance) continue;
                const uint32_t h2 = Hash32(h), h3 = Hash32(h2), h4 = Hash32(h3), h5 = Hash32(h4);
                const Vec3 s = Normalize(Vec3{x + HashUnit(h2), y + HashUnit(h3), z + HashUnit(h4)});
                const Vec3 owner = s * k;
                if (static_cast<int>(std::floor(owner.x)) != x || static_cast<int>(std::floor(owner.y)) != y ||
                    static_cast<int>(std::floor(owner.z)) != z)
                    continue;
                const float a = Length(d - s);
                if (a >= reach) continue;
                const float mag = std::pow(HashUnit(h5), layer.sharpness);
                const float lum = layer.brightness * (0.08f + mag);
                float light = std::exp(-a * a / (2.0f * CORE * CORE));
                if (layer.halo > 0) light += layer.halo * mag * std::exp(-a / (2.5f * CORE));
                light *= 1.0f - SmoothStep(0.6f * reach, reach, a);
                const Rgb colour = Ramp(STAR_COLOURS, HashUnit(Hash32(h5)));
                sum = sum + colour * (lum * light);
            }
    return sum;
}

} // namespace texgen
