#pragma once
// Hash-based noise for the picture generators: no tables, so every function is pure and safe to
// call from any number of threads. The 3D kinds feed the sky boxes (a sky is a function of the
// viewing direction, which is what makes the cube's faces meet without seams); the periodic 2D
// kinds feed the tileable textures (the lattice wraps, so the picture's edges meet).
#include <cstdint>

#include "tools/texgen/vec.h"

namespace texgen {

uint32_t Hash32(uint32_t x);
uint32_t HashInts(int x, int y, int z, uint32_t seed);
// Uniform in [0, 1) from a hash.
inline float HashUnit(uint32_t h) { return static_cast<float>(h >> 8) * (1.0f / 16777216.0f); }

// Gradient noise of a 3D point, about -1..1 (0 on the lattice points).
float Noise3(Vec3 p, uint32_t seed);
// Fractal sum of `octaves` layers, each twice the frequency and `gain` times the amplitude of the
// last; scaled back to about -1..1.
float Fbm3(Vec3 p, int octaves, uint32_t seed, float gain = 0.5f);

// Gradient noise on a lattice that repeats every `periodX` x `periodY` units.
float NoisePeriodic(float x, float y, int periodX, int periodY, uint32_t seed);
// Fractal sum over a tile: (u, v) in texture units (one repeat = 1), `cells` lattice cells across
// the tile at the first octave; about -1..1.
float FbmTile(float u, float v, int cells, int octaves, uint32_t seed, float gain = 0.5f);
// As FbmTile with separate cell counts across and down (stretched grain).
float FbmTile2(float u, float v, int cellsX, int cellsY, int octaves, uint32_t seed, float gain = 0.5f);

// Cellular noise over a tile of `cells` x `cells` jittered points: the distances (in tile units)
// to the nearest and second-nearest point, and the nearest point's cell hash and position.
struct Cell {
    float f1 = 0, f2 = 0;
    uint32_t id = 0;
    Vec2 centre; // unwrapped position of the nearest point, near (u, v)
};
Cell WorleyTile(float u, float v, int cells, uint32_t seed);
// The same over the unbounded plane, in cell units (no wrapping; `centre` in cell units too).
Cell Worley2(Vec2 p, uint32_t seed);

} // namespace texgen
