#pragma once
// The OpenGL device's textures, surfaces and buffers. Each holds the device's shared record; once
// the device (and with it the OpenGL context) is gone, the objects stay safe to drop and their GL
// names are not touched again.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gpu/cpu_surface.h"
#include "platform/gpu/device.h"
#include "platform/gpu/gl/gl_api.h"

namespace gpu {

struct GlShared {
    bool alive = true;
    GLuint drawFbo = 0;   // the framebuffer off-screen targets are drawn through
    GLuint targetFbo = 0; // the framebuffer drawing goes to now: drawFbo, or 0 (the window)
    GLuint readFbo = 0;   // scratch framebuffers for read-back and copies
    GLuint copyFbo = 0;
    bool bindingsDirty = false; // a texture upload changed the bound textures
};
using GlSharedPtr = std::shared_ptr<GlShared>;

// A managed texture whose pixels live in the GL texture only (the driver keeps its own copy, so a
// second one here would double every texture's memory). A level starts black; a lock gives it
// pixels in memory (read back from GL when it was written before), an unlock that may have
// written uploads it, and every unlock lets the memory go again.
class GlTexture : public CpuTexture {
public:
    explicit GlTexture(GlSharedPtr shared) : shared_(std::move(shared)) {}
    ~GlTexture() override;
    bool Init(uint32_t width, uint32_t height, uint32_t levels, uint32_t format, uint32_t usage, uint32_t pool);

    GLuint Id() const { return id_; }
    // Sampler parameters last given to the GL texture (0 = never).
    GLint minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0;

protected:
    bool OnLock(uint32_t level) override;
    void OnUnlock(uint32_t level) override;
    void AfterUnlock(uint32_t level) override;

private:
    void Upload(uint32_t level);
    // Defines the level's storage in GL, all black.
    void Clear(uint32_t level);
    // The level's pixels from GL into its memory (allocated, in the texture's format).
    bool ReadBack(uint32_t level);
    GlSharedPtr shared_;
    GLuint id_ = 0;
    std::vector<bool> written_; // the level was uploaded with pixels (else it is black)
};

// A colour render target (a renderbuffer); the back buffer is one too, or the window's own back
// buffer when it has the window's size.
class GlRenderTarget : public ISurface {
public:
    GlRenderTarget(GlSharedPtr shared, bool lockable) : shared_(std::move(shared)), lockable_(lockable) {}
    ~GlRenderTarget() override;
    // (Re)allocates storage; the contents start black.
    bool Init(uint32_t width, uint32_t height, uint32_t format);
    // Makes the target the window's back buffer (of this size and format): its own storage goes.
    void UseWindow(uint32_t width, uint32_t height, uint32_t format);
    bool IsWindow() const { return window_; }
    // Binds the target to `target` (GL_READ_FRAMEBUFFER or GL_DRAW_FRAMEBUFFER) for a read or a
    // copy, through the scratch framebuffer `fbo` unless it is the window; Unbind detaches it.
    void Bind(GLenum target, GLuint fbo) const;
    void Unbind(GLenum target, GLuint fbo) const;
    void SetLockable(bool lockable) { lockable_ = lockable; }

    HResult GetDesc(SurfaceDesc* desc) override;
    HResult LockRect(LockedRect* out, const Rect* rect, uint32_t flags) override;
    HResult UnlockRect() override;

    // Reads the pixels, rows top first, into `out` (allocated in the surface's format).
    bool ReadPixels(CpuImage& out);
    GLuint Renderbuffer() const { return rb_; }
    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    uint32_t Format() const { return format_; }

private:
    GlSharedPtr shared_;
    GLuint rb_ = 0;
    uint32_t width_ = 0, height_ = 0, format_ = D3DFMT_UNKNOWN;
    bool window_ = false;
    bool lockable_;
    bool locked_ = false;
    CpuImage lockCopy_;
};

// A depth-stencil surface (always 24-bit depth with 8-bit stencil underneath).
class GlDepthSurface : public ISurface {
public:
    explicit GlDepthSurface(GlSharedPtr shared) : shared_(std::move(shared)) {}
    ~GlDepthSurface() override;
    bool Init(uint32_t width, uint32_t height, uint32_t format);

    HResult GetDesc(SurfaceDesc* desc) override;
    HResult LockRect(LockedRect*, const Rect*, uint32_t) override { return D3DERR_INVALIDCALL; }
    HResult UnlockRect() override { return D3DERR_INVALIDCALL; }
    GLuint Renderbuffer() const { return rb_; }
    uint32_t Width() const { return width_; }
    uint32_t Height() const { return height_; }
    uint32_t Format() const { return format_; }

private:
    GlSharedPtr shared_;
    GLuint rb_ = 0;
    uint32_t width_ = 0, height_ = 0, format_ = D3DFMT_UNKNOWN;
};

// Vertex and index buffers: a copy in memory, uploaded to a GL buffer at Unlock.
class GlBuffer {
public:
    GlBuffer(GlSharedPtr shared, GLenum target) : shared_(std::move(shared)), target_(target) {}
    ~GlBuffer();
    bool Init(uint32_t length);
    HResult Lock(uint32_t offset, uint32_t size, void** data);
    HResult Unlock();
    uint32_t Size() const { return cpu_.Size(); }
    GLuint Id() const { return id_; }
    const uint8_t* Data() const { return cpu_.Data(); }

private:
    GlSharedPtr shared_;
    GLenum target_;
    GLuint id_ = 0;
    CpuBuffer cpu_;
    uint32_t lockOffset_ = 0, lockSize_ = 0;
};

class GlVertexBuffer : public IVertexBuffer {
public:
    explicit GlVertexBuffer(GlSharedPtr shared) : buffer(std::move(shared), GL_ARRAY_BUFFER) {}
    HResult Lock(uint32_t offset, uint32_t size, void** data, uint32_t) override {
        return buffer.Lock(offset, size, data);
    }
    HResult Unlock() override { return buffer.Unlock(); }
    uint32_t GetSize() override { return buffer.Size(); }
    GlBuffer buffer;
};

class GlIndexBuffer : public IIndexBuffer {
public:
    explicit GlIndexBuffer(GlSharedPtr shared) : buffer(std::move(shared), GL_ELEMENT_ARRAY_BUFFER) {}
    HResult Lock(uint32_t offset, uint32_t size, void** data, uint32_t) override {
        return buffer.Lock(offset, size, data);
    }
    HResult Unlock() override { return buffer.Unlock(); }
    uint32_t GetSize() override { return buffer.Size(); }
    GlBuffer buffer;
};

} // namespace gpu
