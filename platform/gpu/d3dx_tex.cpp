#include "platform/gpu/d3dx_tex.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "platform/gpu/pixel_format.h"
#include "platform/image/image.h"
#include "platform/image/image_fill.h"
#include "platform/image/image_write.h"
#include "platform/image/resample.h"

namespace gpu {

namespace {

uint32_t RgbaToArgb(const uint8_t* p) {
    return uint32_t(p[3]) << 24 | uint32_t(p[0]) << 16 | uint32_t(p[1]) << 8 | uint32_t(p[2]);
}

void ArgbToRgba(uint32_t argb, uint8_t* p) {
    p[0] = static_cast<uint8_t>(argb >> 16);
    p[1] = static_cast<uint8_t>(argb >> 8);
    p[2] = static_cast<uint8_t>(argb);
    p[3] = static_cast<uint8_t>(argb >> 24);
}

// Writes `img` (same size as the locked area) into a locked rectangle of `format`.
void StoreImage(const plat::Image& img, const LockedRect& lr, uint32_t format) {
    uint32_t bpp = BytesPerPixel(format);
    for (int y = 0; y < img.height; ++y) {
        uint8_t* row = static_cast<uint8_t*>(lr.pBits) + static_cast<size_t>(y) * lr.Pitch;
        for (int x = 0; x < img.width; ++x) WritePixelARGB(format, row + x * bpp, RgbaToArgb(img.Pixel(x, y)));
    }
}

// Reads a locked area of width x height in `format` into `img`.
bool LoadImageFrom(const LockedRect& lr, uint32_t format, uint32_t width, uint32_t height, plat::Image& img) {
    img.Allocate(static_cast<int>(width), static_cast<int>(height));
    if (img.Empty()) return false;
    uint32_t bpp = BytesPerPixel(format);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = static_cast<const uint8_t*>(lr.pBits) + static_cast<size_t>(y) * lr.Pitch;
        for (uint32_t x = 0; x < width; ++x)
            ArgbToRgba(ReadPixelARGB(format, row + x * bpp), img.Pixel(static_cast<int>(x), static_cast<int>(y)));
    }
    return true;
}

// The texel centre (x + 0.5) / size, nudged up where float rounding would make
// trunc(size * u - 0.5) land on the texel before.
float TexelCentre(uint32_t x, uint32_t size) {
    float fs = static_cast<float>(size);
    float u = (static_cast<float>(x) + 0.5f) / fs;
    while (static_cast<int64_t>(fs * u - 0.5f) < static_cast<int64_t>(x)) u = std::nextafter(u, 2.0f);
    return u;
}

bool ValidRect(const Rect* r, const SurfaceDesc& d) {
    return !r || (r->left >= 0 && r->top >= 0 && r->right > r->left && r->bottom > r->top &&
                  static_cast<uint32_t>(r->right) <= d.Width && static_cast<uint32_t>(r->bottom) <= d.Height);
}

} // namespace

HResult GetImageInfoFromFile(const char* file, ImageFileInfo* info, std::string* error) {
    if (!file || !info) return D3DERR_INVALIDCALL;
    plat::ImageInfo ii;
    if (!plat::GetImageInfo(file, ii, error)) return D3DERR_INVALIDCALL;
    info->Width = static_cast<uint32_t>(ii.width);
    info->Height = static_cast<uint32_t>(ii.height);
    info->Format = ii.hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    return D3D_OK;
}

HResult CreateTexture(IDevice* device, uint32_t width, uint32_t height, uint32_t mipLevels, uint32_t usage,
                      uint32_t format, uint32_t pool, TexturePtr* out) {
    if (!device || !out || width == 0 || height == 0) return D3DERR_INVALIDCALL;
    if (mipLevels == D3DX_DEFAULT) mipLevels = 0;
    if (format == D3DFMT_UNKNOWN) format = D3DFMT_A8R8G8B8;
    return device->CreateTexture(width, height, mipLevels, usage, format, pool, out);
}

HResult CreateTextureFromFileEx(IDevice* device, const char* file, uint32_t width, uint32_t height, uint32_t mipLevels,
                                uint32_t usage, uint32_t format, uint32_t pool, uint32_t, uint32_t, uint32_t colorKey,
                                ImageFileInfo* srcInfo, TexturePtr* out, std::string* error) {
    if (!out) return D3DERR_INVALIDCALL;
    out->reset();
    if (!device || !file) return D3DERR_INVALIDCALL;
    plat::Image image;
    plat::ImageInfo info;
    if (!plat::LoadImage(file, image, &info, error)) return D3DERR_INVALIDCALL;
    if (srcInfo) {
        srcInfo->Width = static_cast<uint32_t>(info.width);
        srcInfo->Height = static_cast<uint32_t>(info.height);
        srcInfo->Format = info.hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    }
    if (width == 0 || width == D3DX_DEFAULT) width = static_cast<uint32_t>(image.width);
    if (height == 0 || height == D3DX_DEFAULT) height = static_cast<uint32_t>(image.height);
    if (format == D3DFMT_UNKNOWN) format = info.hasAlpha ? D3DFMT_A8R8G8B8 : D3DFMT_X8R8G8B8;
    if (width > static_cast<uint32_t>(plat::IMAGE_MAX_SIDE) || height > static_cast<uint32_t>(plat::IMAGE_MAX_SIDE)) {
        if (error) *error = "size too large";
        return D3DERR_INVALIDCALL;
    }
    if (colorKey) {
        for (int y = 0; y < image.height; ++y)
            for (int x = 0; x < image.width; ++x)
                if (RgbaToArgb(image.Pixel(x, y)) == colorKey) ArgbToRgba(0, image.Pixel(x, y));
    }
    std::vector<plat::Image> levels(1);
    try {
        if (static_cast<uint32_t>(image.width) != width || static_cast<uint32_t>(image.height) != height) {
            if (!plat::ResizeImage(image, static_cast<int>(width), static_cast<int>(height), levels[0])) {
                if (error) *error = "resize failed";
                return D3DERR_INVALIDCALL;
            }
        } else {
            levels[0] = std::move(image);
        }
    } catch (const std::bad_alloc&) {
        if (error) *error = "out of memory";
        return E_OUTOFMEMORY;
    }
    TexturePtr texture;
    HResult r =
        device->CreateTexture(width, height, mipLevels == D3DX_DEFAULT ? 0 : mipLevels, usage, format, pool, &texture);
    if (Failed(r)) {
        if (error) *error = "texture creation failed";
        return r;
    }
    try {
        if (texture->GetLevelCount() > 1 && !plat::BuildMipChain(levels)) {
            if (error) *error = "mip levels failed";
            return D3DERR_INVALIDCALL;
        }
    } catch (const std::bad_alloc&) {
        if (error) *error = "out of memory";
        return E_OUTOFMEMORY;
    }
    for (uint32_t i = 0; i < texture->GetLevelCount() && i < levels.size(); ++i) {
        LockedRect lr;
        if (Failed(texture->LockRect(i, &lr, nullptr, 0))) return D3DERR_INVALIDCALL;
        StoreImage(levels[i], lr, format);
        texture->UnlockRect(i);
    }
    *out = texture;
    return D3D_OK;
}

HResult FillTexture(ITexture* texture, FillCallback callback, void* data) {
    if (!texture || !callback) return D3DERR_INVALIDCALL;
    for (uint32_t level = 0; level < texture->GetLevelCount(); ++level) {
        SurfaceDesc desc;
        LockedRect lr;
        if (Failed(texture->GetLevelDesc(level, &desc)) || Failed(texture->LockRect(level, &lr, nullptr, 0)))
            return D3DERR_INVALIDCALL;
        uint32_t bpp = BytesPerPixel(desc.Format);
        for (uint32_t y = 0; y < desc.Height; ++y) {
            float v = TexelCentre(y, desc.Height);
            uint8_t* row = static_cast<uint8_t*>(lr.pBits) + static_cast<size_t>(y) * lr.Pitch;
            for (uint32_t x = 0; x < desc.Width; ++x) {
                float c[4] = {0, 0, 0, 1};
                callback(c, TexelCentre(x, desc.Width), v, x, y, data);
                uint32_t argb = uint32_t(plat::UnitToByte(c[3])) << 24 | uint32_t(plat::UnitToByte(c[0])) << 16 |
                                uint32_t(plat::UnitToByte(c[1])) << 8 | uint32_t(plat::UnitToByte(c[2]));
                WritePixelARGB(desc.Format, row + x * bpp, argb);
            }
        }
        texture->UnlockRect(level);
    }
    return D3D_OK;
}

HResult FilterTexture(ITexture* texture, uint32_t srcLevel, uint32_t) {
    if (!texture || srcLevel >= texture->GetLevelCount()) return D3DERR_INVALIDCALL;
    SurfaceDesc desc;
    LockedRect lr;
    if (Failed(texture->GetLevelDesc(srcLevel, &desc))) return D3DERR_INVALIDCALL;
    std::vector<plat::Image> levels(1);
    try {
        if (Failed(texture->LockRect(srcLevel, &lr, nullptr, D3DLOCK_READONLY))) return D3DERR_INVALIDCALL;
        bool read = LoadImageFrom(lr, desc.Format, desc.Width, desc.Height, levels[0]);
        texture->UnlockRect(srcLevel);
        if (!read || !plat::BuildMipChain(levels)) return D3DERR_INVALIDCALL;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    for (uint32_t i = srcLevel + 1; i < texture->GetLevelCount() && i - srcLevel < levels.size(); ++i) {
        SurfaceDesc d;
        if (Failed(texture->GetLevelDesc(i, &d)) || Failed(texture->LockRect(i, &lr, nullptr, 0)))
            return D3DERR_INVALIDCALL;
        StoreImage(levels[i - srcLevel], lr, d.Format);
        texture->UnlockRect(i);
    }
    return D3D_OK;
}

HResult LoadSurfaceFromSurface(ISurface* dst, const Rect* dstRect, ISurface* src, const Rect* srcRect, uint32_t,
                               uint32_t colorKey) {
    if (!dst || !src || dst == src) return D3DERR_INVALIDCALL;
    SurfaceDesc sd, dd;
    if (Failed(src->GetDesc(&sd)) || Failed(dst->GetDesc(&dd))) return D3DERR_INVALIDCALL;
    if (!BytesPerPixel(sd.Format) || !BytesPerPixel(dd.Format) || !ValidRect(srcRect, sd) || !ValidRect(dstRect, dd))
        return D3DERR_INVALIDCALL;
    Rect s = srcRect ? *srcRect : Rect{0, 0, static_cast<int32_t>(sd.Width), static_cast<int32_t>(sd.Height)};
    Rect d = dstRect ? *dstRect : Rect{0, 0, static_cast<int32_t>(dd.Width), static_cast<int32_t>(dd.Height)};
    LockedRect sl, dl;
    if (Failed(src->LockRect(&sl, &s, D3DLOCK_READONLY))) return D3DERR_INVALIDCALL;
    if (Failed(dst->LockRect(&dl, &d, 0))) {
        src->UnlockRect();
        return D3DERR_INVALIDCALL;
    }
    int64_t sw = s.right - s.left, sh = s.bottom - s.top, dw = d.right - d.left, dh = d.bottom - d.top;
    uint32_t sb = BytesPerPixel(sd.Format), db = BytesPerPixel(dd.Format);
    for (int64_t y = 0; y < dh; ++y) {
        int64_t sy = y * sh / dh;
        const uint8_t* srow = static_cast<const uint8_t*>(sl.pBits) + sy * sl.Pitch;
        uint8_t* drow = static_cast<uint8_t*>(dl.pBits) + y * dl.Pitch;
        for (int64_t x = 0; x < dw; ++x) {
            uint32_t argb = ReadPixelARGB(sd.Format, srow + (x * sw / dw) * sb);
            if (colorKey && argb == colorKey) argb = 0;
            WritePixelARGB(dd.Format, drow + x * db, argb);
        }
    }
    dst->UnlockRect();
    src->UnlockRect();
    return D3D_OK;
}

HResult SaveSurfaceToFile(const char* file, uint32_t fileFormat, ISurface* src, const Rect* srcRect,
                          std::string* error) {
    if (!file || !src || fileFormat != D3DXIFF_BMP) return D3DERR_INVALIDCALL;
    SurfaceDesc desc;
    if (Failed(src->GetDesc(&desc)) || !BytesPerPixel(desc.Format) || !ValidRect(srcRect, desc))
        return D3DERR_INVALIDCALL;
    Rect r = srcRect ? *srcRect : Rect{0, 0, static_cast<int32_t>(desc.Width), static_cast<int32_t>(desc.Height)};
    LockedRect lr;
    if (Failed(src->LockRect(&lr, &r, D3DLOCK_READONLY))) {
        if (error) *error = "surface cannot be read";
        return D3DERR_INVALIDCALL;
    }
    plat::Image image;
    bool read;
    try {
        read = LoadImageFrom(lr, desc.Format, static_cast<uint32_t>(r.right - r.left),
                             static_cast<uint32_t>(r.bottom - r.top), image);
    } catch (const std::bad_alloc&) {
        read = false;
    }
    src->UnlockRect();
    if (!read) return E_OUTOFMEMORY;
    if (!plat::SaveBmp(file, image, error)) return E_FAIL;
    return D3D_OK;
}

} // namespace gpu
