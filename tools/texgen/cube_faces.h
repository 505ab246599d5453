#pragma once
// Where each sky-box picture sits in the world. The box is drawn around the eye with z up; seen
// from inside, every face is upright and unmirrored:
//
//   face   plane    image u (left to right) toward   image top toward
//   front  y = +1   +x                               +z
//   back   y = -1   -x                               +z
//   right  x = +1   -y                               +z
//   left   x = -1   +y                               +z
//   down   z = -1   +x                               +y (the front)
//   up     z = +1   +x                               -y (its bottom edge meets the front)
//
// A sky is a function of the viewing direction, and every face pixel is made from the direction
// through its centre, so neighbouring faces agree along their shared edges.
#include <string_view>

#include "tools/texgen/picture.h"
#include "tools/texgen/vec.h"

namespace texgen {

// Index of a face name above, or -1.
int FaceIndex(std::string_view name);
// The (unnormalised) direction through the point (u, v) of a face, u and v in 0..1.
Vec3 FaceDirection(int face, float u, float v);

using SkyFunction = Rgb (*)(Vec3 direction);

// One face picture of `side` x `side` pixels. Pixels whose corners differ by more than
// `threshold` (in displayed brightness) take more directions.
Picture RenderSkyFace(SkyFunction sky, int face, int side, float threshold);

// Brightness above 1 rolls off softly instead of clipping hard.
Rgb ToneMap(Rgb c);

} // namespace texgen
