#pragma once
// The sky boxes, each a function of the unit viewing direction (z up) returning linear colour.
#include "tools/texgen/vec.h"

namespace texgen {

// Bright day above a sea of clouds: blue sky with the sun high in front, thin high veils, and
// the lit cloud tops below the horizon.
Rgb SkyClouds(Vec3 d);
// Dusk over a still lake: the sun just above a range of hills, a red-violet sky with soft lit
// clouds and the first stars, all mirrored in the water.
Rgb SkyDusk(Vec3 d);
// Deep space: a starfield around a band of the galaxy with dust lanes and coloured nebulae.
Rgb SkyStars(Vec3 d);

} // namespace texgen
