#pragma once
// Box filtering: resizing a picture (textures larger than the renderer's limit are brought down to
// it) and building the chain of mip levels, each half the size of the one above, down to 1 x 1.
#include <vector>

#include "platform/image/image.h"

namespace plat {

// Resizes `src` to width x height (each 1..IMAGE_MAX_SIDE) by area averaging: every output pixel is
// the mean of the source area it covers, partly covered source pixels weighted by the part covered.
// Channels are averaged independently and rounded to nearest. Halving is the plain 2 x 2 mean.
// `dst` may be `src`. False (dst untouched) for an empty source or a size out of range.
bool ResizeImage(const Image& src, int width, int height, Image& dst);

// Levels in a full chain for a top level of width x height: 1 + log2 of the larger side, rounded
// down (512 x 128 has 10). 0 for sizes below 1.
int MipLevelCount(int width, int height);

// Side of mip level `level` of a top-level side `size`: size >> level, at least 1.
int MipLevelSide(int size, int level);

// levels[0] is the top level; the vector is resized to the full chain and every further level is
// box-filtered from the one above it. False (levels untouched) when there is no valid top level.
bool BuildMipChain(std::vector<Image>& levels);

} // namespace plat
