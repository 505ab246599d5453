#include "platform/gpu/pixel_format.h"

#include <cstdint>
#include <cstring>

#include "platform/gpu/d3d_types.h"

namespace gpu {

uint32_t BytesPerPixel(uint32_t format) {
    switch (format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8: return 4;
        case D3DFMT_R8G8B8: return 3;
        case D3DFMT_R5G6B5:
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5:
        case D3DFMT_A4R4G4B4: return 2;
        default: return 0;
    }
}

bool FormatHasAlpha(uint32_t format) {
    return format == D3DFMT_A8R8G8B8 || format == D3DFMT_A1R5G5B5 || format == D3DFMT_A4R4G4B4;
}

namespace {

// Widens an n-bit channel value to 8 bits by repeating its high bits.
uint32_t Widen(uint32_t v, int bits) {
    v &= (1u << bits) - 1;
    uint32_t r = v << (8 - bits);
    for (int have = bits; have < 8; have += bits) r |= r >> have;
    return r & 0xFF;
}

uint16_t Load16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
void Store16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}

} // namespace

uint32_t ReadPixelARGB(uint32_t format, const uint8_t* p) {
    switch (format) {
        case D3DFMT_A8R8G8B8: return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        case D3DFMT_X8R8G8B8: return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | 0xFF000000u;
        case D3DFMT_R8G8B8: return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | 0xFF000000u;
        case D3DFMT_R5G6B5: {
            uint32_t v = Load16(p);
            return 0xFF000000u | Widen(v >> 11, 5) << 16 | Widen(v >> 5, 6) << 8 | Widen(v, 5);
        }
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5: {
            uint32_t v = Load16(p);
            uint32_t a = (format == D3DFMT_X1R5G5B5 || (v & 0x8000)) ? 0xFFu : 0u;
            return a << 24 | Widen(v >> 10, 5) << 16 | Widen(v >> 5, 5) << 8 | Widen(v, 5);
        }
        case D3DFMT_A4R4G4B4: {
            uint32_t v = Load16(p);
            return Widen(v >> 12, 4) << 24 | Widen(v >> 8, 4) << 16 | Widen(v >> 4, 4) << 8 | Widen(v, 4);
        }
        default: return 0;
    }
}

void WritePixelARGB(uint32_t format, uint8_t* p, uint32_t argb) {
    uint32_t a = argb >> 24, r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    switch (format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
            p[0] = static_cast<uint8_t>(b);
            p[1] = static_cast<uint8_t>(g);
            p[2] = static_cast<uint8_t>(r);
            p[3] = static_cast<uint8_t>(format == D3DFMT_X8R8G8B8 ? 0xFF : a);
            break;
        case D3DFMT_R8G8B8:
            p[0] = static_cast<uint8_t>(b);
            p[1] = static_cast<uint8_t>(g);
            p[2] = static_cast<uint8_t>(r);
            break;
        case D3DFMT_R5G6B5: Store16(p, (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3)); break;
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5:
            Store16(p, ((format == D3DFMT_X1R5G5B5 || a >= 128) ? 0x8000u : 0u) | (r >> 3) << 10 | (g >> 3) << 5 |
                           (b >> 3));
            break;
        case D3DFMT_A4R4G4B4: Store16(p, (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | (b >> 4)); break;
        default: break;
    }
}

VertexLayout DescribeFvf(uint32_t fvf) {
    VertexLayout l;
    uint32_t offset = 0;
    if (fvf & D3DFVF_XYZ) {
        l.position = 0;
        offset += 12;
    }
    if (fvf & D3DFVF_NORMAL) {
        l.normal = static_cast<int>(offset);
        offset += 12;
    }
    if (fvf & D3DFVF_DIFFUSE) {
        l.diffuse = static_cast<int>(offset);
        offset += 4;
    }
    l.texCount = (fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT;
    if (l.texCount > 8) l.texCount = 8;
    for (uint32_t i = 0; i < l.texCount; ++i) {
        l.texCoord[i] = static_cast<int>(offset);
        offset += 8;
    }
    l.size = offset;
    return l;
}

uint32_t VertexCountOf(uint32_t type, uint32_t n) {
    const uint64_t count = n;
    uint64_t vertices;
    switch (type) {
        case D3DPT_POINTLIST: vertices = count; break;
        case D3DPT_LINELIST: vertices = count * 2; break;
        case D3DPT_LINESTRIP: vertices = n ? count + 1 : 0; break;
        case D3DPT_TRIANGLELIST: vertices = count * 3; break;
        case D3DPT_TRIANGLESTRIP:
        case D3DPT_TRIANGLEFAN: vertices = n ? count + 2 : 0; break;
        default: return 0;
    }
    // Counted in 64 bits: a count that wrapped round would pass the buffer checks as a small one.
    return vertices <= static_cast<uint64_t>(INT32_MAX) ? static_cast<uint32_t>(vertices) : 0;
}

} // namespace gpu
