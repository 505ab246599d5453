#include "platform/gpu/gl/gl_resources.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/gpu/pixel_format.h"

namespace gpu {

// ---------------------------------------------------------------- GlTexture

GlTexture::~GlTexture() {
    if (shared_->alive && id_) glDeleteTextures(1, &id_);
}

namespace {

// Texture uploads that need a conversion go a band of rows at a time through a buffer of this size,
// so that an upload takes no memory that could run out.
constexpr uint32_t kBandBytes = 64 * 1024;
static_assert(kBandBytes >= MAX_SURFACE_SIDE * 4, "a band holds at least one row");

} // namespace

bool GlTexture::Init(uint32_t width, uint32_t height, uint32_t levels, uint32_t format, uint32_t usage, uint32_t pool) {
    if (!Create(width, height, levels, format, usage, pool, false)) return false;
    written_.assign(GetLevelCount(), false);
    while (glGetError() != GL_NO_ERROR) {}
    glGenTextures(1, &id_);
    if (!id_) return false;
    glBindTexture(GL_TEXTURE_2D, id_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_BASE_LEVEL, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, static_cast<GLint>(GetLevelCount()) - 1);
    for (uint32_t i = 0; i < GetLevelCount(); ++i) Clear(i);
    shared_->bindingsDirty = true;
    return glGetError() == GL_NO_ERROR;
}

bool GlTexture::OnLock(uint32_t level) {
    CpuImage& image = MutableLevel(level);
    if (!image.bits.empty()) return true;
    if (!image.AllocateBits()) return false;
    if (written_[level] && !ReadBack(level)) {
        image.DropBits();
        return false;
    }
    return true;
}

void GlTexture::OnUnlock(uint32_t level) {
    if (!shared_->alive || !id_) return;
    glBindTexture(GL_TEXTURE_2D, id_);
    Upload(level);
    written_[level] = true;
    shared_->bindingsDirty = true;
}

void GlTexture::AfterUnlock(uint32_t level) {
    // Without a context the pixels exist nowhere else: they stay.
    if (shared_->alive && id_) MutableLevel(level).DropBits();
}

namespace {

GLint InternalFormat(uint32_t format) { return FormatHasAlpha(format) ? GL_RGBA8 : GL_RGB8; }

} // namespace

// Expects the texture bound on the active unit.
void GlTexture::Clear(uint32_t level) {
    static const uint8_t kBlack[kBandBytes] = {};
    const CpuImage& img = Level(level);
    const auto width = static_cast<GLsizei>(img.width);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), InternalFormat(img.format), width,
                 static_cast<GLsizei>(img.height), 0, GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    const uint32_t rowsPerBand = kBandBytes / (img.width * 4);
    for (uint32_t top = 0; top < img.height; top += rowsPerBand) {
        const uint32_t rows = std::min(rowsPerBand, img.height - top);
        glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 0, static_cast<GLint>(top), width,
                        static_cast<GLsizei>(rows), GL_BGRA, GL_UNSIGNED_BYTE, kBlack);
    }
}

bool GlTexture::ReadBack(uint32_t level) {
    if (!shared_->alive || !id_) return false;
    CpuImage& img = MutableLevel(level);
    while (glGetError() != GL_NO_ERROR) {}
    glBindTexture(GL_TEXTURE_2D, id_);
    shared_->bindingsDirty = true;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    // GL keeps the rows in the order they were uploaded: top first, as in memory.
    const uint32_t bpp = BytesPerPixel(img.format);
    if (bpp == 4) {
        glGetTexImage(GL_TEXTURE_2D, static_cast<GLint>(level), GL_BGRA, GL_UNSIGNED_BYTE, img.bits.data());
        return glGetError() == GL_NO_ERROR;
    }
    std::vector<uint8_t> wide;
    try {
        wide.resize(static_cast<size_t>(img.width) * img.height * 4);
    } catch (const std::bad_alloc&) {
        return false;
    }
    glGetTexImage(GL_TEXTURE_2D, static_cast<GLint>(level), GL_BGRA, GL_UNSIGNED_BYTE, wide.data());
    for (uint32_t y = 0; y < img.height; ++y) {
        const uint8_t* src = &wide[static_cast<size_t>(y) * img.width * 4];
        uint8_t* dst = &img.bits[static_cast<size_t>(y) * img.pitch];
        for (uint32_t x = 0; x < img.width; ++x)
            WritePixelARGB(img.format, dst + x * bpp, ReadPixelARGB(D3DFMT_A8R8G8B8, src + x * 4));
    }
    return glGetError() == GL_NO_ERROR;
}

// Expects the texture bound on the active unit. Alpha-less formats get an alpha-less GL format, so
// they sample alpha 1.
void GlTexture::Upload(uint32_t level) {
    const CpuImage& img = Level(level);
    GLint internal = InternalFormat(img.format);
    const auto width = static_cast<GLsizei>(img.width);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    if (BytesPerPixel(img.format) == 4) {
        glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), internal, width, static_cast<GLsizei>(img.height), 0,
                     GL_BGRA, GL_UNSIGNED_BYTE, img.bits.data());
        return;
    }
    // Other layouts are widened to A8R8G8B8 a band of rows at a time.
    uint8_t band[kBandBytes];
    glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), internal, width, static_cast<GLsizei>(img.height), 0,
                 GL_BGRA, GL_UNSIGNED_BYTE, nullptr);
    const uint32_t bpp = BytesPerPixel(img.format);
    const uint32_t rowsPerBand = kBandBytes / (img.width * 4);
    for (uint32_t top = 0; top < img.height; top += rowsPerBand) {
        const uint32_t rows = std::min(rowsPerBand, img.height - top);
        for (uint32_t r = 0; r < rows; ++r) {
            const uint8_t* src = &img.bits[static_cast<size_t>(top + r) * img.pitch];
            uint8_t* dst = band + static_cast<size_t>(r) * img.width * 4;
            for (uint32_t x = 0; x < img.width; ++x)
                WritePixelARGB(D3DFMT_A8R8G8B8, dst + x * 4, ReadPixelARGB(img.format, src + x * bpp));
        }
        glTexSubImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), 0, static_cast<GLint>(top), width,
                        static_cast<GLsizei>(rows), GL_BGRA, GL_UNSIGNED_BYTE, band);
    }
}

// ---------------------------------------------------------------- GlRenderTarget

GlRenderTarget::~GlRenderTarget() {
    if (shared_->alive && rb_) Gl().DeleteRenderbuffers(1, &rb_);
}

bool GlRenderTarget::Init(uint32_t width, uint32_t height, uint32_t format) {
    if (width == 0 || height == 0 || width > MAX_SURFACE_SIDE || height > MAX_SURFACE_SIDE ||
        BytesPerPixel(format) == 0)
        return false;
    GlApi& gl = Gl();
    while (glGetError() != GL_NO_ERROR) {}
    window_ = false;
    if (!rb_) gl.GenRenderbuffers(1, &rb_);
    gl.BindRenderbuffer(GL_RENDERBUFFER, rb_);
    GLenum internal = format == D3DFMT_A8R8G8B8 ? GL_RGBA8 : format == D3DFMT_R5G6B5 ? GL_RGB565 : GL_RGB8;
    gl.RenderbufferStorage(GL_RENDERBUFFER, internal, static_cast<GLsizei>(width), static_cast<GLsizei>(height));
    gl.BindRenderbuffer(GL_RENDERBUFFER, 0);
    if (glGetError() != GL_NO_ERROR) return false;
    width_ = width;
    height_ = height;
    format_ = format;
    // Start black.
    gl.BindFramebuffer(GL_DRAW_FRAMEBUFFER, shared_->copyFbo);
    gl.FramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, rb_);
    glClearColor(0, 0, 0, 0);
    // The device may have colour writes off (a depth-only pass): the clear ignores them.
    GLboolean mask[4];
    glGetBooleanv(GL_COLOR_WRITEMASK, mask);
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glClear(GL_COLOR_BUFFER_BIT);
    glColorMask(mask[0], mask[1], mask[2], mask[3]);
    gl.FramebufferRenderbuffer(GL_DRAW_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, 0);
    gl.BindFramebuffer(GL_DRAW_FRAMEBUFFER, shared_->targetFbo);
    return glGetError() == GL_NO_ERROR;
}

void GlRenderTarget::UseWindow(uint32_t width, uint32_t height, uint32_t format) {
    if (shared_->alive && rb_) Gl().DeleteRenderbuffers(1, &rb_);
    rb_ = 0;
    window_ = true;
    width_ = width;
    height_ = height;
    format_ = format;
}

void GlRenderTarget::Bind(GLenum target, GLuint fbo) const {
    GlApi& gl = Gl();
    gl.BindFramebuffer(target, window_ ? 0 : fbo);
    if (!window_) gl.FramebufferRenderbuffer(target, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, rb_);
    const GLenum buffer = window_ ? GL_BACK : GL_COLOR_ATTACHMENT0;
    if (target == GL_READ_FRAMEBUFFER)
        glReadBuffer(buffer);
    else
        glDrawBuffer(buffer);
}

void GlRenderTarget::Unbind(GLenum target, GLuint fbo) const {
    if (window_) return;
    GlApi& gl = Gl();
    gl.BindFramebuffer(target, fbo);
    gl.FramebufferRenderbuffer(target, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, 0);
}

HResult GlRenderTarget::GetDesc(SurfaceDesc* desc) {
    return DescribeSurface(desc, format_, D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT, width_, height_,
                           width_ * height_ * BytesPerPixel(format_));
}

bool GlRenderTarget::ReadPixels(CpuImage& out) {
    if (!shared_->alive || (!rb_ && !window_)) return false;
    if (!out.Allocate(width_, height_, format_)) return false;
    std::vector<uint8_t> rows;
    try {
        rows.resize(static_cast<size_t>(width_) * height_ * 4);
    } catch (const std::bad_alloc&) {
        return false;
    }
    GlApi& gl = Gl();
    Bind(GL_READ_FRAMEBUFFER, shared_->readFbo);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    glReadPixels(0, 0, static_cast<GLsizei>(width_), static_cast<GLsizei>(height_), GL_BGRA, GL_UNSIGNED_BYTE,
                 rows.data());
    Unbind(GL_READ_FRAMEBUFFER, shared_->readFbo);
    gl.BindFramebuffer(GL_READ_FRAMEBUFFER, shared_->targetFbo);
    // GL rows run bottom up.
    uint32_t bpp = BytesPerPixel(format_);
    for (uint32_t y = 0; y < height_; ++y) {
        const uint8_t* src = &rows[static_cast<size_t>(height_ - 1 - y) * width_ * 4];
        uint8_t* dst = out.bits.data() + static_cast<size_t>(y) * out.pitch;
        if (bpp == 4) {
            std::memcpy(dst, src, static_cast<size_t>(width_) * 4);
            if (format_ == D3DFMT_X8R8G8B8)
                for (uint32_t x = 0; x < width_; ++x) dst[x * 4 + 3] = 0xFF;
        } else {
            for (uint32_t x = 0; x < width_; ++x)
                WritePixelARGB(format_, dst + x * bpp, ReadPixelARGB(D3DFMT_A8R8G8B8, src + x * 4));
        }
    }
    return glGetError() == GL_NO_ERROR;
}

HResult GlRenderTarget::LockRect(LockedRect* out, const Rect* rect, uint32_t) {
    if (!lockable_ || locked_ || !out) return D3DERR_INVALIDCALL;
    if (!ReadPixels(lockCopy_)) return D3DERR_INVALIDCALL;
    HResult r = lockCopy_.Lock(out, rect);
    if (Succeeded(r)) locked_ = true;
    return r;
}

HResult GlRenderTarget::UnlockRect() {
    // Writes through a lock are not sent back; the renderer only reads render targets.
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    lockCopy_.bits.clear();
    lockCopy_.bits.shrink_to_fit();
    return D3D_OK;
}

// ---------------------------------------------------------------- GlDepthSurface

GlDepthSurface::~GlDepthSurface() {
    if (shared_->alive && rb_) Gl().DeleteRenderbuffers(1, &rb_);
}

bool GlDepthSurface::Init(uint32_t width, uint32_t height, uint32_t format) {
    if (width == 0 || height == 0 || width > MAX_SURFACE_SIDE || height > MAX_SURFACE_SIDE) return false;
    GlApi& gl = Gl();
    while (glGetError() != GL_NO_ERROR) {}
    if (!rb_) gl.GenRenderbuffers(1, &rb_);
    gl.BindRenderbuffer(GL_RENDERBUFFER, rb_);
    gl.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH24_STENCIL8, static_cast<GLsizei>(width),
                           static_cast<GLsizei>(height));
    gl.BindRenderbuffer(GL_RENDERBUFFER, 0);
    width_ = width;
    height_ = height;
    format_ = format;
    return glGetError() == GL_NO_ERROR;
}

HResult GlDepthSurface::GetDesc(SurfaceDesc* desc) {
    return DescribeSurface(desc, format_, D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT, width_, height_,
                           width_ * height_ * 4);
}

// ---------------------------------------------------------------- GlBuffer

GlBuffer::~GlBuffer() {
    if (shared_->alive && id_) Gl().DeleteBuffers(1, &id_);
}

bool GlBuffer::Init(uint32_t length) {
    if (!cpu_.Allocate(length)) return false;
    while (glGetError() != GL_NO_ERROR) {}
    GlApi& gl = Gl();
    gl.GenBuffers(1, &id_);
    if (!id_) return false;
    gl.BindBuffer(target_, id_);
    gl.BufferData(target_, static_cast<GLsizeiptr>(length), cpu_.Data(), GL_STATIC_DRAW);
    gl.BindBuffer(target_, 0);
    return glGetError() == GL_NO_ERROR;
}

HResult GlBuffer::Lock(uint32_t offset, uint32_t size, void** data) {
    HResult r = cpu_.Lock(offset, size, data);
    if (Succeeded(r)) {
        lockOffset_ = offset;
        lockSize_ = size ? size : cpu_.Size() - offset;
    }
    return r;
}

HResult GlBuffer::Unlock() {
    HResult r = cpu_.Unlock();
    if (Failed(r) || !shared_->alive || !id_ || lockSize_ == 0) return r;
    GlApi& gl = Gl();
    gl.BindBuffer(target_, id_);
    gl.BufferSubData(target_, static_cast<GLintptr>(lockOffset_), static_cast<GLsizeiptr>(lockSize_),
                     cpu_.Data() + lockOffset_);
    gl.BindBuffer(target_, 0);
    return r;
}

} // namespace gpu
