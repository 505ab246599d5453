#pragma once
// Surfaces and textures whose pixels live in main memory. The null device keeps everything this
// way; the OpenGL device holds a texture level here only while it is locked (uploading it when it
// is unlocked, then letting the memory go), and uses image surfaces as they are.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gpu/device.h"

namespace gpu {

// One picture in a colour format of pixel_format.h; rows top first, `pitch` bytes apart.
struct CpuImage {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t format = D3DFMT_UNKNOWN;
    uint32_t pitch = 0;
    std::vector<uint8_t> bits;

    // False when the format has no memory layout or the size is 0.
    bool Allocate(uint32_t w, uint32_t h, uint32_t fmt);
    // Size and format as Allocate sets them, without any pixels (bits stays empty).
    bool Describe(uint32_t w, uint32_t h, uint32_t fmt);
    // The pixels of the described size, zeroed; false when the memory cannot be had.
    bool AllocateBits();
    // Lets the pixels' memory go; the size and format stay.
    void DropBits();
    // Lock arithmetic shared by every surface: checks `rect` against the size.
    HResult Lock(LockedRect* out, const Rect* rect);
};

// Largest side accepted for any texture or surface.
constexpr uint32_t MAX_SURFACE_SIDE = 8192;

// What every surface's GetDesc answers: a surface of width x height holding `size` bytes.
// D3DERR_INVALIDCALL when desc is null.
HResult DescribeSurface(SurfaceDesc* desc, uint32_t format, uint32_t usage, uint32_t pool, uint32_t width,
                        uint32_t height, uint32_t size);

// A surface made of one CpuImage: image surfaces, and the null device's render targets.
class CpuSurface : public ISurface {
public:
    // usage/pool go to GetDesc; a surface that is not lockable refuses LockRect.
    CpuSurface(uint32_t usage, uint32_t pool, bool lockable) : usage_(usage), pool_(pool), lockable_(lockable) {}
    bool Allocate(uint32_t w, uint32_t h, uint32_t format) { return image_.Allocate(w, h, format); }

    HResult GetDesc(SurfaceDesc* desc) override;
    HResult LockRect(LockedRect* out, const Rect* rect, uint32_t flags) override;
    HResult UnlockRect() override;

    CpuImage& Image() { return image_; }

private:
    CpuImage image_;
    uint32_t usage_;
    uint32_t pool_;
    bool lockable_;
    bool locked_ = false;
};

// A texture whose levels are CpuImages. OnUnlock tells a subclass that a level may have been
// written (every unlock except of a D3DLOCK_READONLY lock); a subclass that keeps its pixels
// elsewhere creates the levels without pixels, gives them pixels in OnLock and may drop them again
// in AfterUnlock.
class CpuTexture : public ITexture, public std::enable_shared_from_this<CpuTexture> {
public:
    // levels 0 = full chain. False for an unknown format or a size of 0 or above MAX_SURFACE_SIDE.
    // Without `withPixels` the levels have their sizes but no memory yet.
    bool Create(uint32_t width, uint32_t height, uint32_t levels, uint32_t format, uint32_t usage, uint32_t pool,
                bool withPixels = true);

    uint32_t GetLevelCount() override { return static_cast<uint32_t>(levels_.size()); }
    HResult GetLevelDesc(uint32_t level, SurfaceDesc* desc) override;
    HResult GetSurfaceLevel(uint32_t level, SurfacePtr* out) override;
    HResult LockRect(uint32_t level, LockedRect* out, const Rect* rect, uint32_t flags) override;
    HResult UnlockRect(uint32_t level) override;

    const CpuImage& Level(uint32_t level) const { return levels_[level]; }
    uint32_t Format() const { return format_; }

protected:
    // Before a level is locked: false refuses the lock (the level's pixels cannot be had).
    virtual bool OnLock(uint32_t level) { return true; }
    virtual void OnUnlock(uint32_t level) {}
    // After every unlock, read-only or not, once OnUnlock has run (and after a lock that failed).
    virtual void AfterUnlock(uint32_t level) {}
    CpuImage& MutableLevel(uint32_t level) { return levels_[level]; }

private:
    std::vector<CpuImage> levels_;
    std::vector<bool> locked_;
    std::vector<bool> readOnly_; // the level's lock was taken only to read
    uint32_t format_ = D3DFMT_UNKNOWN;
    uint32_t usage_ = 0;
    uint32_t pool_ = D3DPOOL_MANAGED;
};

// Copies rectangles by locking both surfaces (same format required). Rectangles that do not fit
// either surface fail the whole call before anything is copied.
HResult CopyRectsByLock(ISurface* src, const Rect* srcRects, uint32_t count, ISurface* dst, const Point* dstPoints);

// Checks the rectangles of a CopyRects call against the two sizes.
bool CopyRectsFit(const SurfaceDesc& src, const Rect* srcRects, uint32_t count, const SurfaceDesc& dst,
                  const Point* dstPoints);

// A vertex or index buffer in main memory.
class CpuBuffer {
public:
    bool Allocate(uint32_t length);
    HResult Lock(uint32_t offset, uint32_t size, void** data);
    HResult Unlock();
    uint32_t Size() const { return static_cast<uint32_t>(bytes_.size()); }
    const uint8_t* Data() const { return bytes_.data(); }
    bool Locked() const { return locked_; }

private:
    std::vector<uint8_t> bytes_;
    bool locked_ = false;
};

} // namespace gpu
