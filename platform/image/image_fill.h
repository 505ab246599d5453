#pragma once
// Filling a picture texel by texel from a function of the texel's centre, as textures whose
// content is computed (filtered copies of another texture) are made.
#include "platform/image/image.h"

namespace plat {

// Called once per texel. (u, v) is the texel's centre in 0..1 texture coordinates: u = (x + 0.5) /
// width, v = (y + 0.5) / height. (x, y) is the texel itself: mapping u back to a column by
// truncating width * u - 0.5 in float arithmetic lands one column short for some sizes that are not
// powers of two, so callers that need the exact texel should use x and y. The function writes r, g,
// b, a in 0..1 to out; values are clamped and rounded to 8 bits.
using ImageFillFn = void (*)(float out[4], float u, float v, int x, int y, void* data);

void FillImage(Image& image, ImageFillFn fn, void* data);

// A channel value in 0..1 as a byte, as FillImage stores it: clamped (NaN gives 0) and rounded.
uint8_t UnitToByte(float value);

} // namespace plat
