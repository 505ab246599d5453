#pragma once
// Stars as a function of the viewing direction. Space is cut into cubes of 1/cellsPerRadian; each
// cube may hold one star, kept only when the star's own direction falls back into that cube, so
// every star is found exactly once from whichever direction looks at it.
#include <cstdint>

#include "tools/texgen/vec.h"

namespace texgen {

struct StarLayer {
    float cellsPerRadian; // about the inverse of the typical distance between candidates
    float probability;    // share of cells that hold a star
    float brightness;     // scale of the brightest stars
    float sharpness;      // higher: fewer bright stars
    float halo;           // strength of the soft halo around bright stars (0: none)
    uint32_t seed;
};

// `density` (0..) scales the probability for this direction (e.g. more stars in the galaxy band).
Rgb StarLight(Vec3 unitDirection, const StarLayer& layer, float density = 1.0f);

} // namespace texgen
