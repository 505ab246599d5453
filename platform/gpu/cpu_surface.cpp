#include "platform/gpu/cpu_surface.h"

#include <cstring>
#include <new>

#include "platform/gpu/pixel_format.h"
#include "platform/image/resample.h"

namespace gpu {

bool CpuImage::Allocate(uint32_t w, uint32_t h, uint32_t fmt) { return Describe(w, h, fmt) && AllocateBits(); }

bool CpuImage::Describe(uint32_t w, uint32_t h, uint32_t fmt) {
    uint32_t bpp = BytesPerPixel(fmt);
    if (bpp == 0 || w == 0 || h == 0 || w > MAX_SURFACE_SIDE || h > MAX_SURFACE_SIDE) return false;
    width = w;
    height = h;
    format = fmt;
    pitch = w * bpp;
    DropBits();
    return true;
}

bool CpuImage::AllocateBits() {
    if (pitch == 0 || height == 0) return false;
    try {
        bits.assign(static_cast<size_t>(pitch) * height, 0);
    } catch (const std::bad_alloc&) {
        DropBits();
        return false;
    }
    return true;
}

void CpuImage::DropBits() {
    bits.clear();
    bits.shrink_to_fit();
}

HResult CpuImage::Lock(LockedRect* out, const Rect* rect) {
    if (!out || bits.empty()) return D3DERR_INVALIDCALL;
    uint32_t x = 0, y = 0;
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->right <= rect->left || rect->bottom <= rect->top ||
            static_cast<uint32_t>(rect->right) > width || static_cast<uint32_t>(rect->bottom) > height)
            return D3DERR_INVALIDCALL;
        x = static_cast<uint32_t>(rect->left);
        y = static_cast<uint32_t>(rect->top);
    }
    out->Pitch = static_cast<int32_t>(pitch);
    out->pBits = bits.data() + static_cast<size_t>(y) * pitch + static_cast<size_t>(x) * BytesPerPixel(format);
    return D3D_OK;
}

HResult DescribeSurface(SurfaceDesc* desc, uint32_t format, uint32_t usage, uint32_t pool, uint32_t width,
                        uint32_t height, uint32_t size) {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = SurfaceDesc{format, D3DRTYPE_SURFACE, usage, pool, size, D3DMULTISAMPLE_NONE, width, height};
    return D3D_OK;
}

HResult CpuSurface::GetDesc(SurfaceDesc* desc) {
    return DescribeSurface(desc, image_.format, usage_, pool_, image_.width, image_.height,
                           static_cast<uint32_t>(image_.bits.size()));
}

HResult CpuSurface::LockRect(LockedRect* out, const Rect* rect, uint32_t) {
    if (!lockable_ || locked_) return D3DERR_INVALIDCALL;
    HResult r = image_.Lock(out, rect);
    if (Succeeded(r)) locked_ = true;
    return r;
}

HResult CpuSurface::UnlockRect() {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    return D3D_OK;
}

namespace {

// The surface of one texture level: it forwards to the texture, which it keeps alive.
class LevelSurface : public ISurface {
public:
    LevelSurface(std::shared_ptr<CpuTexture> texture, uint32_t level) : texture_(std::move(texture)), level_(level) {}
    HResult GetDesc(SurfaceDesc* desc) override { return texture_->GetLevelDesc(level_, desc); }
    HResult LockRect(LockedRect* out, const Rect* rect, uint32_t flags) override {
        return texture_->LockRect(level_, out, rect, flags);
    }
    HResult UnlockRect() override { return texture_->UnlockRect(level_); }

private:
    std::shared_ptr<CpuTexture> texture_;
    uint32_t level_;
};

} // namespace

bool CpuTexture::Create(uint32_t width, uint32_t height, uint32_t levels, uint32_t format, uint32_t usage,
                        uint32_t pool, bool withPixels) {
    if (BytesPerPixel(format) == 0 || width == 0 || height == 0 || width > MAX_SURFACE_SIDE ||
        height > MAX_SURFACE_SIDE)
        return false;
    // The chain is the image layer's, so levels built there fit these one for one.
    const int w = static_cast<int>(width), h = static_cast<int>(height);
    const auto full = static_cast<uint32_t>(plat::MipLevelCount(w, h));
    if (levels == 0 || levels > full) levels = full;
    levels_.clear();
    levels_.resize(levels);
    for (uint32_t i = 0; i < levels; ++i) {
        const int level = static_cast<int>(i);
        if (!levels_[i].Describe(static_cast<uint32_t>(plat::MipLevelSide(w, level)),
                                 static_cast<uint32_t>(plat::MipLevelSide(h, level)), format) ||
            (withPixels && !levels_[i].AllocateBits()))
            return false;
    }
    locked_.assign(levels, false);
    readOnly_.assign(levels, false);
    format_ = format;
    usage_ = usage;
    pool_ = pool;
    return true;
}

HResult CpuTexture::GetLevelDesc(uint32_t level, SurfaceDesc* desc) {
    if (level >= levels_.size()) return D3DERR_INVALIDCALL;
    const CpuImage& img = levels_[level];
    return DescribeSurface(desc, format_, usage_, pool_, img.width, img.height, img.pitch * img.height);
}

HResult CpuTexture::GetSurfaceLevel(uint32_t level, SurfacePtr* out) {
    if (!out || level >= levels_.size()) return D3DERR_INVALIDCALL;
    *out = std::make_shared<LevelSurface>(shared_from_this(), level);
    return D3D_OK;
}

HResult CpuTexture::LockRect(uint32_t level, LockedRect* out, const Rect* rect, uint32_t flags) {
    if (level >= levels_.size() || locked_[level] || !OnLock(level)) return D3DERR_INVALIDCALL;
    HResult r = levels_[level].Lock(out, rect);
    if (Succeeded(r)) {
        locked_[level] = true;
        readOnly_[level] = (flags & D3DLOCK_READONLY) != 0;
    } else {
        AfterUnlock(level);
    }
    return r;
}

HResult CpuTexture::UnlockRect(uint32_t level) {
    if (level >= levels_.size() || !locked_[level]) return D3DERR_INVALIDCALL;
    locked_[level] = false;
    if (!readOnly_[level]) OnUnlock(level);
    AfterUnlock(level);
    return D3D_OK;
}

bool CopyRectsFit(const SurfaceDesc& s, const Rect* srcRects, uint32_t count, const SurfaceDesc& d,
                  const Point* dstPoints) {
    Rect whole{0, 0, static_cast<int32_t>(s.Width), static_cast<int32_t>(s.Height)};
    if (!srcRects) count = 1;
    for (uint32_t i = 0; i < count; ++i) {
        const Rect& r = srcRects ? srcRects[i] : whole;
        Point p = dstPoints ? dstPoints[i] : Point{r.left, r.top};
        if (!srcRects) p = Point{0, 0};
        if (r.left < 0 || r.top < 0 || r.right <= r.left || r.bottom <= r.top) return false;
        if (static_cast<uint32_t>(r.right) > s.Width || static_cast<uint32_t>(r.bottom) > s.Height) return false;
        if (p.x < 0 || p.y < 0) return false;
        if (static_cast<uint64_t>(p.x) + static_cast<uint32_t>(r.right - r.left) > d.Width) return false;
        if (static_cast<uint64_t>(p.y) + static_cast<uint32_t>(r.bottom - r.top) > d.Height) return false;
    }
    return true;
}

HResult CopyRectsByLock(ISurface* src, const Rect* srcRects, uint32_t count, ISurface* dst, const Point* dstPoints) {
    if (!src || !dst || src == dst) return D3DERR_INVALIDCALL;
    SurfaceDesc sd, dd;
    if (Failed(src->GetDesc(&sd)) || Failed(dst->GetDesc(&dd))) return D3DERR_INVALIDCALL;
    uint32_t bpp = BytesPerPixel(sd.Format);
    if (sd.Format != dd.Format || bpp == 0) return D3DERR_INVALIDCALL;
    if (!CopyRectsFit(sd, srcRects, count, dd, dstPoints)) return D3DERR_INVALIDCALL;
    LockedRect sl, dl;
    if (Failed(src->LockRect(&sl, nullptr, D3DLOCK_READONLY))) return D3DERR_INVALIDCALL;
    if (Failed(dst->LockRect(&dl, nullptr, 0))) {
        src->UnlockRect();
        return D3DERR_INVALIDCALL;
    }
    Rect whole{0, 0, static_cast<int32_t>(sd.Width), static_cast<int32_t>(sd.Height)};
    if (!srcRects) count = 1;
    for (uint32_t i = 0; i < count; ++i) {
        const Rect& r = srcRects ? srcRects[i] : whole;
        Point p = srcRects ? (dstPoints ? dstPoints[i] : Point{r.left, r.top}) : Point{0, 0};
        size_t rowBytes = static_cast<size_t>(r.right - r.left) * bpp;
        for (int32_t y = r.top; y < r.bottom; ++y) {
            const uint8_t* s = static_cast<const uint8_t*>(sl.pBits) + static_cast<size_t>(y) * sl.Pitch +
                               static_cast<size_t>(r.left) * bpp;
            uint8_t* d = static_cast<uint8_t*>(dl.pBits) + static_cast<size_t>(p.y + (y - r.top)) * dl.Pitch +
                         static_cast<size_t>(p.x) * bpp;
            std::memmove(d, s, rowBytes);
        }
    }
    dst->UnlockRect();
    src->UnlockRect();
    return D3D_OK;
}

bool CpuBuffer::Allocate(uint32_t length) {
    if (length == 0 || length > (256u << 20)) return false;
    try {
        bytes_.assign(length, 0);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

HResult CpuBuffer::Lock(uint32_t offset, uint32_t size, void** data) {
    if (!data || locked_) return D3DERR_INVALIDCALL;
    if (offset > Size()) return D3DERR_INVALIDCALL;
    if (size == 0) size = Size() - offset;
    if (size > Size() - offset) return D3DERR_INVALIDCALL;
    *data = bytes_.data() + offset;
    locked_ = true;
    return D3D_OK;
}

HResult CpuBuffer::Unlock() {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    return D3D_OK;
}

} // namespace gpu
