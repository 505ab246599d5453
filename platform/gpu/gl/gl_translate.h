#pragma once
// Device state values to their OpenGL counterparts.
#include <cstdint>

#include "platform/gpu/gl/gl_api.h"

namespace gpu {

GLenum GlBlendFactor(uint32_t blend);
GLenum GlCompare(uint32_t cmp);
// INCR and DECR wrap; INCRSAT and DECRSAT clamp.
GLenum GlStencilOp(uint32_t op);
GLenum GlPrimitive(uint32_t type);
GLint GlMagFilter(uint32_t mag);
// The minification filter together with the mip filter; without mip levels the mip filter is moot.
GLint GlMinFilter(uint32_t min, uint32_t mip, bool hasMips);
GLint GlAddress(uint32_t address, bool mirrorClamp);

// Colour A8R8G8B8 -> r, g, b, a in 0..1.
void ArgbToFloats(uint32_t argb, float out[4]);

} // namespace gpu
