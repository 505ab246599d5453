#pragma once
// The OpenGL "Direct3D object": one adapter, the display's modes as SDL lists them, format checks
// answered as a capable device would, and devices made on the window layer's SDL window.
#include "platform/gpu/device.h"

namespace gpu {

// Null when SDL's video part cannot start.
Direct3DPtr CreateGlDirect3D();

// SDL pixel format -> display format, by storage: four bytes per pixel is X8R8G8B8 (SDL calls
// that desktop 24 bits per pixel), three bytes R8G8B8, two bytes R5G6B5 (6-bit green) or X1R5G5B5;
// anything else D3DFMT_UNKNOWN.
uint32_t DisplayFormatFromSdl(uint32_t sdlFormat);

} // namespace gpu
