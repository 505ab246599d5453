#pragma once
// Texture and surface utilities over any device: textures from image files with a full mip chain,
// texture creation, filling a texture from a function, rebuilding mip levels, copying between
// surfaces with format conversion, and saving a surface as a BMP file. Image files are read and
// written through platform/image (format told by content; writes are atomic).
//
// Nothing here logs; every function answers with a result code and, where a file is involved, can
// hand back a short reason.
#include <cstdint>
#include <string>

#include "platform/gpu/device.h"

namespace gpu {

constexpr uint32_t D3DX_DEFAULT = 0xFFFFFFFFu;
// Filters (resizing and mip levels are always box-filtered; the values are accepted for the shape).
constexpr uint32_t D3DX_FILTER_NONE = 1;
constexpr uint32_t D3DX_FILTER_POINT = 2;
constexpr uint32_t D3DX_FILTER_LINEAR = 3;
constexpr uint32_t D3DX_FILTER_TRIANGLE = 4;
constexpr uint32_t D3DX_FILTER_BOX = 5;
constexpr uint32_t D3DX_FILTER_DITHER = 0x80000;
// File formats for SaveSurfaceToFile.
constexpr uint32_t D3DXIFF_BMP = 0;

struct ImageFileInfo {
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint32_t Format = D3DFMT_UNKNOWN; // A8R8G8B8 when the file stores alpha, else X8R8G8B8
};

// Size and format of an image file (BMP, JPEG or PNG).
HResult GetImageInfoFromFile(const char* file, ImageFileInfo* info, std::string* error = nullptr);

// A texture from an image file. width / height 0 or D3DX_DEFAULT keep the file's size, anything
// else resizes the picture (box filter); mipLevels 0 or D3DX_DEFAULT make the full chain, each level
// box-filtered from the one above; format D3DFMT_UNKNOWN takes the file's (A8R8G8B8 with alpha,
// X8R8G8B8 without). A non-zero colorKey (A8R8G8B8) turns pixels of exactly that colour into
// transparent black. srcInfo, when given, receives the file's own size and format.
HResult CreateTextureFromFileEx(IDevice* device, const char* file, uint32_t width, uint32_t height, uint32_t mipLevels,
                                uint32_t usage, uint32_t format, uint32_t pool, uint32_t filter, uint32_t mipFilter,
                                uint32_t colorKey, ImageFileInfo* srcInfo, TexturePtr* out,
                                std::string* error = nullptr);

// An empty texture; mipLevels 0 or D3DX_DEFAULT make the full chain, format D3DFMT_UNKNOWN means
// A8R8G8B8.
HResult CreateTexture(IDevice* device, uint32_t width, uint32_t height, uint32_t mipLevels, uint32_t usage,
                      uint32_t format, uint32_t pool, TexturePtr* out);

// Called for every texel of a level: (u, v) is the texel's centre, chosen so that truncating
// width * u - 0.5 and height * v - 0.5 in float arithmetic gives back the texel's column x and row
// y (also passed). Writes r, g, b, a in 0..1 to out; values are clamped and rounded to 8 bits, and
// formats without alpha drop it.
using FillCallback = void (*)(float out[4], float u, float v, uint32_t x, uint32_t y, void* data);
// Fills every texel of every level.
HResult FillTexture(ITexture* texture, FillCallback callback, void* data);

// Rebuilds every level below srcLevel from srcLevel with a box filter.
HResult FilterTexture(ITexture* texture, uint32_t srcLevel, uint32_t filter);

// Copies src (or srcRect of it) into dst (or dstRect of it), converting the format; sizes that
// differ are sampled at the nearest pixel. Both surfaces must be lockable.
HResult LoadSurfaceFromSurface(ISurface* dst, const Rect* dstRect, ISurface* src, const Rect* srcRect, uint32_t filter,
                               uint32_t colorKey);

// Writes a lockable surface (or srcRect of it) to a file; only D3DXIFF_BMP is written (24-bit,
// alpha dropped). The file is replaced atomically; failure leaves any old file as it was.
HResult SaveSurfaceToFile(const char* file, uint32_t fileFormat, ISurface* src, const Rect* srcRect,
                          std::string* error = nullptr);

} // namespace gpu
