#pragma once
// Pixel layouts of the colour formats a surface or texture can have, and conversion of single
// pixels to and from A8R8G8B8 (0xAARRGGBB). Pixels are little-endian words, so an A8R8G8B8 pixel
// lies in memory as the bytes B, G, R, A.
#include <cstdint>

namespace gpu {

// Bytes per pixel of a colour format we can hold in memory, 0 for any other format.
uint32_t BytesPerPixel(uint32_t format);
// True for colour formats with stored alpha; the others read alpha as 1.
bool FormatHasAlpha(uint32_t format);

// `pixel` points at one pixel of `format` (BytesPerPixel(format) != 0).
uint32_t ReadPixelARGB(uint32_t format, const uint8_t* pixel);
void WritePixelARGB(uint32_t format, uint8_t* pixel, uint32_t argb);

// Vertex layout of a flexible vertex format: offsets in bytes, -1 when absent.
struct VertexLayout {
    int position = -1;
    int normal = -1;
    int diffuse = -1; // a 0xAARRGGBB word: the bytes B, G, R, A
    int texCoord[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    uint32_t texCount = 0;
    uint32_t size = 0;
};
VertexLayout DescribeFvf(uint32_t fvf);

// Vertices used by `primitiveCount` primitives of `type`; 0 for an unknown type and for counts
// above INT32_MAX vertices (more than one draw can take).
uint32_t VertexCountOf(uint32_t type, uint32_t primitiveCount);

} // namespace gpu
