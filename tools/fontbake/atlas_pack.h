#pragma once
// Placing glyph pictures in one texture. Every slot starts on a multiple of `align` texels and
// spans a whole number of `align` steps, so the first mip levels of the texture (box-filtered
// halvings) never mix texels of two glyphs.
#include <vector>

namespace fontbake {

struct PackSlot {
    int w = 0, h = 0; // wanted size in texels, before alignment
    int x = 0, y = 0; // placed position (top-left)
};

// Shelf packing, tallest first, left to right. False when the slots do not fit width x height.
bool PackShelves(std::vector<PackSlot>& slots, int width, int height, int align);

// Tries power-of-two textures from small to large (width equal to height or twice it), up to
// maxSide per side, and packs into the first that holds every slot. False when none does.
bool PackSmallestPowerOfTwo(std::vector<PackSlot>& slots, int maxSide, int align, int& width, int& height);

} // namespace fontbake
