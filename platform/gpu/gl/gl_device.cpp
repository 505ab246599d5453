#include "platform/gpu/gl/gl_device.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstring>

#include "platform/gpu/d3dx_math.h"
#include "platform/gpu/device_notes.h"
#include "platform/gpu/gl/gl_combiner.h"
#include "platform/gpu/gl/gl_translate.h"
#include "platform/gpu/pixel_format.h"
#include "platform/window/letterbox.h"

namespace gpu {

namespace {

// Maps the device's clip depth 0..w onto OpenGL's -w..w (z' = 2z - w), applied after the projection.
const Matrix kDepthFixup = [] {
    Matrix m = Matrix::Identity();
    m.m[10] = 2.0f;
    m.m[14] = -1.0f;
    return m;
}();

// The texture memory we report; OpenGL has no portable way to ask. It is only logged.
constexpr uint32_t kReportedTextureMemory = 256u << 20;

// The most one draw from client memory may send (vertices or indices).
constexpr uint64_t kMaxStreamDraw = 64u << 20;

void ColourToFloats(const ColorValue& c, float out[4]) {
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
    out[3] = c.a;
}

} // namespace

GlDevice::~GlDevice() {
    if (!context_) return;
    SDL_GL_MakeCurrent(window_, context_);
    if (!shared_) { // Init stopped before anything was made
        SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
        return;
    }
    for (TexturePtr& t : textures_) t.reset();
    stream_.reset();
    indices_.reset();
    streamVertices_.Release(true);
    streamIndices_.Release(true);
    renderTarget_.reset();
    depthStencil_.reset();
    currentTarget_ = nullptr;
    backBuffer_.reset();
    autoDepth_.reset();
    largeTargetDepth_.reset();
    GlApi& gl = Gl();
    if (whiteTexture_) glDeleteTextures(1, &whiteTexture_);
    if (gl.GenSamplers) gl.DeleteSamplers(MAX_TEXTURE_STAGES, samplers_);
    GLuint fbos[3] = {shared_->drawFbo, shared_->readFbo, shared_->copyFbo};
    gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
    gl.DeleteFramebuffers(3, fbos);
    // Objects still held elsewhere die with the context; they must not touch it again.
    shared_->alive = false;
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(context_));
    context_ = nullptr;
}

HResult GlDevice::Init(SDL_Window* window, PresentParameters* pp) {
    if (!window || !pp || !(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL)) return D3DERR_INVALIDCALL;
    window_ = window;
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, 0);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GLContext context = SDL_GL_CreateContext(window);
    if (!context) return D3DERR_NOTAVAILABLE;
    context_ = context;
    if (SDL_GL_MakeCurrent(window, context) != 0 || !Gl().Load()) return D3DERR_NOTAVAILABLE;
    GlApi& gl = Gl();
    shared_ = std::make_shared<GlShared>();
    gl.GenFramebuffers(1, &shared_->drawFbo);
    gl.GenFramebuffers(1, &shared_->readFbo);
    gl.GenFramebuffers(1, &shared_->copyFbo);
    shared_->targetFbo = shared_->drawFbo;
    // What the window's own framebuffer offers: the back buffer is drawn there directly when it
    // has the window's size and the window's buffers hold what it needs.
    gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
    GLint bits[5] = {};
    const GLenum bitNames[5] = {GL_RED_BITS, GL_GREEN_BITS, GL_BLUE_BITS, GL_ALPHA_BITS, GL_STENCIL_BITS};
    for (int i = 0; i < 5; ++i) glGetIntegerv(bitNames[i], &bits[i]);
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    windowColour8_ = bits[0] == 8 && bits[1] == 8 && bits[2] == 8;
    windowAlpha8_ = bits[3] >= 8;
    windowDepthStencil_ = depthBits >= 24 && bits[4] >= 8;
    gl.BindFramebuffer(GL_FRAMEBUFFER, shared_->drawFbo);
    // Bound only while a stage needs one: drawing through a sampler object costs some drivers
    // more than the texture's own filters.
    if (gl.GenSamplers) gl.GenSamplers(MAX_TEXTURE_STAGES, samplers_);
    // OpenGL before 4.4 takes SRC_ALPHA_SATURATE as a source factor only.
    while (glGetError() != GL_NO_ERROR) {}
    glBlendFunc(GL_ONE, GL_SRC_ALPHA_SATURATE);
    srcAlphaSatDest_ = glGetError() == GL_NO_ERROR;

    if (pp->Windowed && (pp->BackBufferWidth == 0 || pp->BackBufferHeight == 0)) {
        int w = 0, h = 0;
        SDL_GL_GetDrawableSize(window, &w, &h);
        if (pp->BackBufferWidth == 0) pp->BackBufferWidth = static_cast<uint32_t>(std::max(w, 1));
        if (pp->BackBufferHeight == 0) pp->BackBufferHeight = static_cast<uint32_t>(std::max(h, 1));
    }
    if (!MakeBackBuffer(*pp)) return D3DERR_NOTAVAILABLE;
    pp_ = *pp;

    // Opaque white: what a stage without a texture reads.
    const uint8_t white[4] = {255, 255, 255, 255};
    glGenTextures(1, &whiteTexture_);
    glBindTexture(GL_TEXTURE_2D, whiteTexture_);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, white);

    // Fixed for the device's life.
    glLightModeli(GL_LIGHT_MODEL_COLOR_CONTROL, GL_SEPARATE_SPECULAR_COLOR);
    glLightModeli(GL_LIGHT_MODEL_TWO_SIDE, GL_FALSE);
    glDisable(GL_COLOR_MATERIAL);
    glDisable(GL_DITHER);
    glShadeModel(GL_SMOOTH);
    glEnableClientState(GL_VERTEX_ARRAY);

    SDL_GL_SetSwapInterval(pp_.FullScreen_PresentationInterval == D3DPRESENT_INTERVAL_ONE ? 1 : 0);
    state_.SetDefaults(pp_, pp_.BackBufferWidth, pp_.BackBufferHeight);
    ApplyAllStates();
    return glGetError() == GL_NO_ERROR ? D3D_OK : D3DERR_NOTAVAILABLE;
}

bool GlDevice::WindowFits(const PresentParameters& pp) const {
    if (!pp.Windowed || !pp.EnableAutoDepthStencil || !windowDepthStencil_ || !windowColour8_) return false;
    if (pp.BackBufferFormat != D3DFMT_X8R8G8B8 && !(pp.BackBufferFormat == D3DFMT_A8R8G8B8 && windowAlpha8_))
        return false;
    int w = 0, h = 0;
    SDL_GL_GetDrawableSize(window_, &w, &h);
    return static_cast<int64_t>(w) == pp.BackBufferWidth && static_cast<int64_t>(h) == pp.BackBufferHeight;
}

bool GlDevice::PlaceBackBuffer(const PresentParameters& pp) {
    if (WindowFits(pp)) {
        backBuffer_->UseWindow(pp.BackBufferWidth, pp.BackBufferHeight, pp.BackBufferFormat);
        return true;
    }
    return backBuffer_->Init(pp.BackBufferWidth, pp.BackBufferHeight, pp.BackBufferFormat);
}

void GlDevice::FollowWindowSize() {
    if (!backBuffer_ || backBuffer_->IsWindow() == WindowFits(pp_)) return;
    // The window was resized (or is back at the back buffer's size): the back buffer moves into
    // its own storage, scaled at Present, or back into the window.
    if (!PlaceBackBuffer(pp_)) backBuffer_->Init(pp_.BackBufferWidth, pp_.BackBufferHeight, pp_.BackBufferFormat);
    if (currentTarget_ == backBuffer_.get()) {
        AttachTargets(backBuffer_.get(), dynamic_cast<GlDepthSurface*>(depthStencil_.get()));
        ApplyViewport();
    }
}

bool GlDevice::MakeBackBuffer(const PresentParameters& pp) {
    if (!backBuffer_) backBuffer_ = std::make_shared<GlRenderTarget>(shared_, false);
    backBuffer_->SetLockable((pp.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) != 0);
    if (!PlaceBackBuffer(pp)) return false;
    if (pp.EnableAutoDepthStencil) {
        if (!autoDepth_) autoDepth_ = std::make_shared<GlDepthSurface>(shared_);
        if (!autoDepth_->Init(pp.BackBufferWidth, pp.BackBufferHeight, pp.AutoDepthStencilFormat)) return false;
    } else {
        autoDepth_.reset();
    }
    renderTarget_ = backBuffer_;
    depthStencil_ = autoDepth_;
    depthInWindow_ = backBuffer_->IsWindow(); // cleared below where it is
    if (!AttachTargets(backBuffer_.get(), autoDepth_.get())) return false;
    // A new back buffer starts with depth 1 and stencil 0.
    glDisable(GL_SCISSOR_TEST);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFF);
    glClearDepth(1.0);
    glClearStencil(0);
    glClear(GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    return true;
}

void GlDevice::MoveAutoDepth(bool toWindow) {
    GlApi& gl = Gl();
    const GLint w = static_cast<GLint>(pp_.BackBufferWidth), h = static_cast<GLint>(pp_.BackBufferHeight);
    while (glGetError() != GL_NO_ERROR) {}
    gl.BindFramebuffer(GL_FRAMEBUFFER, shared_->copyFbo);
    gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                               autoDepth_->Renderbuffer());
    glDrawBuffer(GL_NONE);
    glReadBuffer(GL_NONE);
    gl.BindFramebuffer(GL_READ_FRAMEBUFFER, toWindow ? shared_->copyFbo : 0);
    gl.BindFramebuffer(GL_DRAW_FRAMEBUFFER, toWindow ? 0 : shared_->copyFbo);
    glDisable(GL_SCISSOR_TEST);
    gl.BlitFramebuffer(0, 0, w, h, 0, 0, w, h, GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT, GL_NEAREST);
    if (glGetError() != GL_NO_ERROR)
        DeviceNoteOnce("OpenGL: the depth-stencil buffer cannot be carried between the window and render targets.");
    gl.BindFramebuffer(GL_FRAMEBUFFER, shared_->copyFbo);
    gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER, 0);
}

bool GlDevice::AttachTargets(GlRenderTarget* colour, GlDepthSurface* depth) {
    GlApi& gl = Gl();
    // One automatic depth-stencil buffer serves every target, but with the back buffer in the
    // window it lives twice (the window's and a renderbuffer): its contents follow the target.
    if (depth && depth == autoDepth_.get() && colour->IsWindow() != depthInWindow_) {
        MoveAutoDepth(colour->IsWindow());
        depthInWindow_ = colour->IsWindow();
    }
    if (colour->IsWindow()) {
        // The window's own depth-stencil buffer stands for the automatic one; no other goes with it.
        if (depth != autoDepth_.get()) return false;
        gl.BindFramebuffer(GL_FRAMEBUFFER, 0);
        glDrawBuffer(GL_BACK);
        glReadBuffer(GL_BACK);
        shared_->targetFbo = 0;
        currentTarget_ = colour;
        return true;
    }
    // OpenGL draws only where every attachment of a framebuffer has pixels: a target larger than
    // its depth-stencil buffer (a capture bigger than the window) would come out clipped to that
    // buffer's size. Such a target draws with a depth-stencil buffer of its own size instead.
    if (depth && (depth->Width() < colour->Width() || depth->Height() < colour->Height())) {
        if (!largeTargetDepth_) largeTargetDepth_ = std::make_shared<GlDepthSurface>(shared_);
        if (largeTargetDepth_->Width() != colour->Width() || largeTargetDepth_->Height() != colour->Height()) {
            if (!largeTargetDepth_->Init(colour->Width(), colour->Height(), depth->Format())) return false;
        }
        depth = largeTargetDepth_.get();
    }
    gl.BindFramebuffer(GL_FRAMEBUFFER, shared_->drawFbo);
    shared_->targetFbo = shared_->drawFbo;
    gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour->Renderbuffer());
    gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_STENCIL_ATTACHMENT, GL_RENDERBUFFER,
                               depth ? depth->Renderbuffer() : 0);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    currentTarget_ = colour;
    return gl.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
}

uint32_t GlDevice::TargetHeight() const { return currentTarget_ ? currentTarget_->Height() : pp_.BackBufferHeight; }

uint32_t GlDevice::UsableStages() const {
    return std::min<uint32_t>(MAX_TEXTURE_STAGES, static_cast<uint32_t>(Gl().maxTextureUnits));
}

uint32_t GlDevice::GetAvailableTextureMem() { return kReportedTextureMemory; }

HResult GlDevice::GetDeviceCaps(Caps* caps) {
    if (!caps) return D3DERR_INVALIDCALL;
    caps->MaxSimultaneousTextures = UsableStages();
    caps->MaxTextureWidth = caps->MaxTextureHeight = static_cast<uint32_t>(std::max(Gl().maxTextureSize, 0));
    return D3D_OK;
}

HResult GlDevice::Reset(PresentParameters* pp) {
    if (!pp || !context_) return D3DERR_INVALIDCALL;
    if (madeTargets_.AnyAlive()) return D3DERR_INVALIDCALL;
    SDL_GL_MakeCurrent(window_, context_);
    PresentParameters next = *pp;
    if (next.Windowed && (next.BackBufferWidth == 0 || next.BackBufferHeight == 0)) {
        int w = 0, h = 0;
        SDL_GL_GetDrawableSize(window_, &w, &h);
        if (next.BackBufferWidth == 0) next.BackBufferWidth = static_cast<uint32_t>(std::max(w, 1));
        if (next.BackBufferHeight == 0) next.BackBufferHeight = static_cast<uint32_t>(std::max(h, 1));
    }
    if (!MakeBackBuffer(next)) {
        MakeBackBuffer(pp_);
        ApplyAllStates();
        return D3DERR_INVALIDCALL;
    }
    pp_ = next;
    *pp = pp_;
    for (TexturePtr& t : textures_) t.reset();
    stream_.reset();
    streamStride_ = 0;
    indices_.reset();
    baseVertex_ = 0;
    inScene_ = false;
    SDL_GL_SetSwapInterval(pp_.FullScreen_PresentationInterval == D3DPRESENT_INTERVAL_ONE ? 1 : 0);
    state_.SetDefaults(pp_, pp_.BackBufferWidth, pp_.BackBufferHeight);
    ApplyAllStates();
    return D3D_OK;
}

HResult GlDevice::Present() {
    if (inScene_ || !backBuffer_) return D3DERR_INVALIDCALL;
    if (backBuffer_->IsWindow()) { // drawn in place: nothing to copy
        SDL_GL_SwapWindow(window_);
        return D3D_OK;
    }
    GlApi& gl = Gl();
    int ww = 0, wh = 0;
    SDL_GL_GetDrawableSize(window_, &ww, &wh);
    uint32_t bw = backBuffer_->Width(), bh = backBuffer_->Height();
    backBuffer_->Bind(GL_READ_FRAMEBUFFER, shared_->readFbo);
    gl.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glDrawBuffer(GL_BACK);
    glDisable(GL_SCISSOR_TEST);
    // Scale to fit, keeping the proportions; the bars stay black. The window maps mouse positions
    // back through the same rectangle.
    const plat::ViewRect view = ww > 0 && wh > 0
                                    ? plat::FitKeepingAspect(static_cast<int>(bw), static_cast<int>(bh), ww, wh)
                                    : plat::ViewRect{};
    const int dw = view.width, dh = view.height, dx = view.x;
    const int dy = wh - (view.y + view.height); // rows count from the bottom here
    if (dw != ww || dh != wh) {                 // bars to blacken
        glClearColor(0, 0, 0, 1);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClear(GL_COLOR_BUFFER_BIT);
        const GLboolean colour = BlendKeepsTarget() ? GL_FALSE : GL_TRUE;
        glColorMask(colour, colour, colour, colour);
    }
    if (dw > 0 && dh > 0) {
        bool same = dw == static_cast<int>(bw) && dh == static_cast<int>(bh);
        gl.BlitFramebuffer(0, 0, static_cast<GLint>(bw), static_cast<GLint>(bh), dx, dy, dx + dw, dy + dh,
                           GL_COLOR_BUFFER_BIT, same ? GL_NEAREST : GL_LINEAR);
    }
    backBuffer_->Unbind(GL_READ_FRAMEBUFFER, shared_->readFbo);
    SDL_GL_SwapWindow(window_);
    gl.BindFramebuffer(GL_FRAMEBUFFER, shared_->targetFbo);
    return D3D_OK;
}

HResult GlDevice::GetBackBuffer(uint32_t index, uint32_t, SurfacePtr* out) {
    if (!out || index != 0) return D3DERR_INVALIDCALL;
    *out = backBuffer_;
    return D3D_OK;
}

HResult GlDevice::BeginScene() {
    if (inScene_) return D3DERR_INVALIDCALL;
    FollowWindowSize();
    inScene_ = true;
    return D3D_OK;
}

HResult GlDevice::EndScene() {
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    glFlush();
    return D3D_OK;
}

HResult GlDevice::Clear(uint32_t rectCount, const Rect* rects, uint32_t flags, uint32_t color, float z,
                        uint32_t stencil) {
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !depthStencil_) return D3DERR_INVALIDCALL;
    if (rectCount && !rects) return D3DERR_INVALIDCALL;
    GLbitfield bits = 0;
    if (flags & D3DCLEAR_TARGET) bits |= GL_COLOR_BUFFER_BIT;
    if (flags & D3DCLEAR_ZBUFFER) bits |= GL_DEPTH_BUFFER_BIT;
    if (flags & D3DCLEAR_STENCIL) bits |= GL_STENCIL_BUFFER_BIT;
    if (!bits) return D3D_OK;
    float c[4];
    ArgbToFloats(color, c);
    glClearColor(c[0], c[1], c[2], c[3]);
    glClearDepth(std::clamp(z, 0.0f, 1.0f));
    glClearStencil(static_cast<GLint>(stencil & 0xFF));
    // A clear ignores the write masks.
    glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
    glDepthMask(GL_TRUE);
    glStencilMask(0xFF);
    glEnable(GL_SCISSOR_TEST);
    const Viewport& vp = state_.viewport;
    int64_t vx0 = vp.X, vy0 = vp.Y, vx1 = int64_t(vp.X) + vp.Width, vy1 = int64_t(vp.Y) + vp.Height;
    int64_t height = TargetHeight();
    uint32_t n = rectCount ? rectCount : 1;
    for (uint32_t i = 0; i < n; ++i) {
        int64_t x0 = vx0, y0 = vy0, x1 = vx1, y1 = vy1;
        if (rectCount) {
            x0 = std::max<int64_t>(x0, rects[i].left);
            y0 = std::max<int64_t>(y0, rects[i].top);
            x1 = std::min<int64_t>(x1, rects[i].right);
            y1 = std::min<int64_t>(y1, rects[i].bottom);
        }
        if (x1 <= x0 || y1 <= y0) continue;
        glScissor(static_cast<GLint>(x0), static_cast<GLint>(height - y1), static_cast<GLsizei>(x1 - x0),
                  static_cast<GLsizei>(y1 - y0));
        glClear(bits);
    }
    glDisable(GL_SCISSOR_TEST);
    const GLboolean colour = BlendKeepsTarget() ? GL_FALSE : GL_TRUE;
    glColorMask(colour, colour, colour, colour);
    glDepthMask(state_.renderStates[D3DRS_ZWRITEENABLE] ? GL_TRUE : GL_FALSE);
    glStencilMask(state_.renderStates[D3DRS_STENCILWRITEMASK]);
    return D3D_OK;
}

HResult GlDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, uint32_t format,
                                uint32_t pool, TexturePtr* out) {
    if (!out) return D3DERR_INVALIDCALL;
    out->reset();
    if (usage & (D3DUSAGE_RENDERTARGET | D3DUSAGE_DEPTHSTENCIL)) return D3DERR_INVALIDCALL;
    if (width > static_cast<uint32_t>(Gl().maxTextureSize) || height > static_cast<uint32_t>(Gl().maxTextureSize))
        return D3DERR_INVALIDCALL;
    auto texture = std::make_shared<GlTexture>(shared_);
    if (!texture->Init(width, height, levels, format, usage, pool)) return D3DERR_OUTOFVIDEOMEMORY;
    stagesDirty_ = true;
    *out = texture;
    return D3D_OK;
}

HResult GlDevice::CreateVertexBuffer(uint32_t length, uint32_t, uint32_t, uint32_t, VertexBufferPtr* out) {
    if (!out) return D3DERR_INVALIDCALL;
    out->reset();
    auto vb = std::make_shared<GlVertexBuffer>(shared_);
    if (!vb->buffer.Init(length)) return D3DERR_INVALIDCALL;
    *out = vb;
    return D3D_OK;
}

HResult GlDevice::CreateIndexBuffer(uint32_t length, uint32_t, uint32_t format, uint32_t, IndexBufferPtr* out) {
    if (!out) return D3DERR_INVALIDCALL;
    out->reset();
    if (format != D3DFMT_INDEX16) return D3DERR_INVALIDCALL;
    auto ib = std::make_shared<GlIndexBuffer>(shared_);
    if (!ib->buffer.Init(length)) return D3DERR_INVALIDCALL;
    *out = ib;
    return D3D_OK;
}

HResult GlDevice::CreateRenderTarget(uint32_t width, uint32_t height, uint32_t format, uint32_t, bool lockable,
                                     SurfacePtr* out) {
    if (!out) return D3DERR_INVALIDCALL;
    out->reset();
    auto rt = std::make_shared<GlRenderTarget>(shared_, lockable);
    if (!rt->Init(width, height, format)) return D3DERR_INVALIDCALL;
    madeTargets_.Add(rt);
    *out = rt;
    return D3D_OK;
}

HResult GlDevice::CreateImageSurface(uint32_t width, uint32_t height, uint32_t format, SurfacePtr* out) {
    if (!out) return D3DERR_INVALIDCALL;
    out->reset();
    auto s = std::make_shared<CpuSurface>(0, D3DPOOL_SYSTEMMEM, true);
    if (!s->Allocate(width, height, format)) return D3DERR_INVALIDCALL;
    *out = s;
    return D3D_OK;
}

HResult GlDevice::CopyRects(ISurface* src, const Rect* srcRects, uint32_t count, ISurface* dst,
                            const Point* dstPoints) {
    if (!src || !dst || src == dst) return D3DERR_INVALIDCALL;
    auto* s = dynamic_cast<GlRenderTarget*>(src);
    auto* d = dynamic_cast<GlRenderTarget*>(dst);
    if (s && d) {
        SurfaceDesc sd, dd;
        s->GetDesc(&sd);
        d->GetDesc(&dd);
        if (sd.Format != dd.Format || !CopyRectsFit(sd, srcRects, count, dd, dstPoints)) return D3DERR_INVALIDCALL;
        GlApi& gl = Gl();
        s->Bind(GL_READ_FRAMEBUFFER, shared_->readFbo);
        d->Bind(GL_DRAW_FRAMEBUFFER, shared_->copyFbo);
        glDisable(GL_SCISSOR_TEST);
        Rect whole{0, 0, static_cast<int32_t>(sd.Width), static_cast<int32_t>(sd.Height)};
        uint32_t n = srcRects ? count : 1;
        GLint sh = static_cast<GLint>(sd.Height), dh = static_cast<GLint>(dd.Height);
        for (uint32_t i = 0; i < n; ++i) {
            const Rect& r = srcRects ? srcRects[i] : whole;
            Point p = srcRects ? (dstPoints ? dstPoints[i] : Point{r.left, r.top}) : Point{0, 0};
            GLint w = r.right - r.left, h = r.bottom - r.top;
            gl.BlitFramebuffer(r.left, sh - r.bottom, r.right, sh - r.top, p.x, dh - (p.y + h), p.x + w, dh - p.y,
                               GL_COLOR_BUFFER_BIT, GL_NEAREST);
        }
        s->Unbind(GL_READ_FRAMEBUFFER, shared_->readFbo);
        d->Unbind(GL_DRAW_FRAMEBUFFER, shared_->copyFbo);
        // Drawing goes on where it went; the window's draw buffer is the back one again.
        gl.BindFramebuffer(GL_FRAMEBUFFER, shared_->targetFbo);
        if (shared_->targetFbo == 0) {
            glDrawBuffer(GL_BACK);
            glReadBuffer(GL_BACK);
        }
        return D3D_OK;
    }
    if (d) return D3DERR_INVALIDCALL; // memory to render target: not needed
    if (s) {
        CpuSurface copy(0, D3DPOOL_SYSTEMMEM, true);
        if (!s->ReadPixels(copy.Image())) return D3DERR_INVALIDCALL;
        return CopyRectsByLock(&copy, srcRects, count, dst, dstPoints);
    }
    return CopyRectsByLock(src, srcRects, count, dst, dstPoints);
}

HResult GlDevice::SetRenderTarget(const SurfacePtr& target, const SurfacePtr& depthStencil) {
    auto* colour = dynamic_cast<GlRenderTarget*>(target.get());
    auto* depth = dynamic_cast<GlDepthSurface*>(depthStencil.get());
    if (!colour || (depthStencil && !depth)) return D3DERR_INVALIDCALL;
    if (!AttachTargets(colour, depth)) {
        AttachTargets(dynamic_cast<GlRenderTarget*>(renderTarget_.get()),
                      dynamic_cast<GlDepthSurface*>(depthStencil_.get()));
        return D3DERR_INVALIDCALL;
    }
    renderTarget_ = target;
    depthStencil_ = depthStencil;
    state_.viewport = Viewport{0, 0, colour->Width(), colour->Height(), 0.0f, 1.0f};
    ApplyViewport();
    return D3D_OK;
}

HResult GlDevice::GetRenderTarget(SurfacePtr* out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = renderTarget_;
    return D3D_OK;
}

HResult GlDevice::GetDepthStencilSurface(SurfacePtr* out) {
    if (!out) return D3DERR_INVALIDCALL;
    *out = depthStencil_;
    return depthStencil_ ? D3D_OK : D3DERR_NOTFOUND;
}

// ---------------------------------------------------------------- states

HResult GlDevice::SetRenderState(uint32_t state, uint32_t value) {
    if (!IsKnownRenderState(state)) return D3DERR_INVALIDCALL;
    state_.renderStates[state] = value;
    ApplyRenderState(state);
    return D3D_OK;
}

HResult GlDevice::GetRenderState(uint32_t state, uint32_t* value) { return state_.GetRenderState(state, value); }

void GlDevice::ApplyRenderState(uint32_t state) {
    const uint32_t* rs = state_.renderStates;
    switch (state) {
        case D3DRS_ZENABLE:
            if (rs[state])
                glEnable(GL_DEPTH_TEST);
            else
                glDisable(GL_DEPTH_TEST);
            break;
        case D3DRS_ZWRITEENABLE: glDepthMask(rs[state] ? GL_TRUE : GL_FALSE); break;
        case D3DRS_SRCBLEND:
        case D3DRS_DESTBLEND:
        case D3DRS_ALPHABLENDENABLE: ApplyBlend(); break;
        case D3DRS_CULLMODE:
            // CW drops triangles wound clockwise on the screen: they are the back faces when
            // counter-clockwise ones face front.
            if (rs[state] == D3DCULL_NONE) {
                glDisable(GL_CULL_FACE);
            } else {
                glEnable(GL_CULL_FACE);
                glFrontFace(rs[state] == D3DCULL_CCW ? GL_CW : GL_CCW);
                glCullFace(GL_BACK);
            }
            break;
        case D3DRS_ZFUNC: glDepthFunc(GlCompare(rs[state])); break;
        case D3DRS_STENCILENABLE:
            if (rs[state])
                glEnable(GL_STENCIL_TEST);
            else
                glDisable(GL_STENCIL_TEST);
            break;
        case D3DRS_STENCILFAIL:
        case D3DRS_STENCILZFAIL:
        case D3DRS_STENCILPASS:
            glStencilOp(GlStencilOp(rs[D3DRS_STENCILFAIL]), GlStencilOp(rs[D3DRS_STENCILZFAIL]),
                        GlStencilOp(rs[D3DRS_STENCILPASS]));
            break;
        case D3DRS_STENCILFUNC:
        case D3DRS_STENCILREF:
        case D3DRS_STENCILMASK:
            // The stencil buffer has 8 bits; the reference is compared in those.
            glStencilFunc(GlCompare(rs[D3DRS_STENCILFUNC]), static_cast<GLint>(rs[D3DRS_STENCILREF] & 0xFF),
                          rs[D3DRS_STENCILMASK]);
            break;
        case D3DRS_STENCILWRITEMASK: glStencilMask(rs[state]); break;
        case D3DRS_TEXTUREFACTOR: stagesDirty_ = true; break;
        case D3DRS_SPECULARENABLE:
        case D3DRS_LIGHTING:
        case D3DRS_AMBIENT:
        case D3DRS_LOCALVIEWER:
        case D3DRS_NORMALIZENORMALS: lightingDirty_ = true; break;
        default: break;
    }
}

bool GlDevice::BlendKeepsTarget() const {
    const uint32_t* rs = state_.renderStates;
    return rs[D3DRS_ALPHABLENDENABLE] && rs[D3DRS_SRCBLEND] == D3DBLEND_ZERO && rs[D3DRS_DESTBLEND] == D3DBLEND_ONE;
}

// Blending with source ZERO and destination ONE leaves the target as it was (depth-only and
// stencil-only passes): the colour writes are switched off instead, the same picture without the
// rasterizer reading, blending and writing back every covered pixel's colour.
void GlDevice::ApplyBlend() {
    const bool keep = BlendKeepsTarget();
    if (state_.renderStates[D3DRS_ALPHABLENDENABLE] && !keep)
        glEnable(GL_BLEND);
    else
        glDisable(GL_BLEND);
    const GLboolean write = keep ? GL_FALSE : GL_TRUE;
    glColorMask(write, write, write, write);
    ApplyBlendFunc();
}

void GlDevice::ApplyBlendFunc() {
    const GLenum src = GlBlendFactor(state_.renderStates[D3DRS_SRCBLEND]);
    if (state_.renderStates[D3DRS_DESTBLEND] != D3DBLEND_SRCALPHASAT || srcAlphaSatDest_) {
        glBlendFunc(src, GlBlendFactor(state_.renderStates[D3DRS_DESTBLEND]));
        return;
    }
    // The destination factor (f, f, f, 1) with f = min(source alpha, 1 - destination alpha): a
    // target without alpha reads destination alpha 1, so f = 0. Exact there; the nearest for
    // targets with alpha.
    if (currentTarget_ && FormatHasAlpha(currentTarget_->Format()))
        DeviceNoteOnce("OpenGL: SRCALPHASAT as destination blend factor is drawn as if the target had no alpha.");
    Gl().BlendFuncSeparate(src, GL_ZERO, src, GL_ONE);
}

void GlDevice::ApplyAllStates() {
    for (uint32_t s = 0; s < D3DRS_COUNT; ++s)
        if (IsKnownRenderState(s)) ApplyRenderState(s);
    ApplyViewport();
    stagesDirty_ = textureMatricesDirty_ = lightingDirty_ = lightDirty_ = modelViewDirty_ = projectionDirty_ = true;
}

HResult GlDevice::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) {
    if (stage >= MAX_TEXTURE_STAGES || !IsKnownStageState(type)) return D3DERR_INVALIDCALL;
    state_.stageStates[stage][type] = value;
    if (type == D3DTSS_TEXTURETRANSFORMFLAGS)
        textureMatricesDirty_ = true;
    else
        stagesDirty_ = true;
    return D3D_OK;
}

HResult GlDevice::GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) {
    return state_.GetStageState(stage, type, value);
}

HResult GlDevice::SetTexture(uint32_t stage, const TexturePtr& texture) {
    if (stage >= MAX_TEXTURE_STAGES) return D3DERR_INVALIDCALL;
    if (texture && !dynamic_cast<GlTexture*>(texture.get())) return D3DERR_INVALIDCALL;
    textures_[stage] = texture;
    stagesDirty_ = true;
    return D3D_OK;
}

HResult GlDevice::SetTransform(uint32_t type, const Matrix* matrix) {
    Matrix* slot = state_.TransformSlot(type);
    if (!slot || !matrix) return D3DERR_INVALIDCALL;
    *slot = *matrix;
    if (type == D3DTS_WORLD)
        modelViewDirty_ = true;
    else if (type == D3DTS_VIEW)
        modelViewDirty_ = lightDirty_ = true;
    else if (type == D3DTS_PROJECTION)
        projectionDirty_ = true;
    else
        textureMatricesDirty_ = true;
    return D3D_OK;
}

HResult GlDevice::GetTransform(uint32_t type, Matrix* matrix) { return state_.GetTransform(type, matrix); }

HResult GlDevice::SetViewport(const Viewport* vp) {
    if (!vp || !currentTarget_) return D3DERR_INVALIDCALL;
    if (static_cast<uint64_t>(vp->X) + vp->Width > currentTarget_->Width() ||
        static_cast<uint64_t>(vp->Y) + vp->Height > currentTarget_->Height())
        return D3DERR_INVALIDCALL;
    state_.viewport = *vp;
    ApplyViewport();
    return D3D_OK;
}

HResult GlDevice::GetViewport(Viewport* vp) {
    if (!vp) return D3DERR_INVALIDCALL;
    *vp = state_.viewport;
    return D3D_OK;
}

void GlDevice::ApplyViewport() {
    const Viewport& vp = state_.viewport;
    // Rows count from the top on the device and from the bottom in OpenGL.
    glViewport(static_cast<GLint>(vp.X), static_cast<GLint>(TargetHeight()) - static_cast<GLint>(vp.Y + vp.Height),
               static_cast<GLsizei>(vp.Width), static_cast<GLsizei>(vp.Height));
    glDepthRange(vp.MinZ, vp.MaxZ);
}

HResult GlDevice::SetMaterial(const Material* material) {
    if (!material) return D3DERR_INVALIDCALL;
    state_.material = *material;
    lightingDirty_ = true;
    return D3D_OK;
}

HResult GlDevice::SetLight(uint32_t index, const Light* light) {
    if (!light || index != 0) return D3DERR_INVALIDCALL;
    state_.light = *light;
    lightDirty_ = true;
    return D3D_OK;
}

HResult GlDevice::LightEnable(uint32_t index, bool enable) {
    if (index != 0) return D3DERR_INVALIDCALL;
    state_.lightEnabled = enable;
    lightDirty_ = true;
    return D3D_OK;
}

void GlDevice::ApplyProjection() {
    Matrix p;
    MatrixMultiply(&p, &state_.projection, &kDepthFixup);
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixf(p.m);
    glMatrixMode(GL_MODELVIEW);
}

void GlDevice::ApplyModelView() {
    Matrix mv;
    MatrixMultiply(&mv, &state_.world, &state_.view);
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(mv.m);
}

void GlDevice::ApplyLight() {
    if (!state_.lightEnabled) {
        glDisable(GL_LIGHT0);
        return;
    }
    const Light& l = state_.light;
    float c[4];
    ColourToFloats(l.Ambient, c);
    glLightfv(GL_LIGHT0, GL_AMBIENT, c);
    ColourToFloats(l.Diffuse, c);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, c);
    ColourToFloats(l.Specular, c);
    glLightfv(GL_LIGHT0, GL_SPECULAR, c);
    // Lights live in world space: OpenGL takes the position through the modelview matrix, so the
    // view alone is loaded while it is given. A directional light shines along its direction.
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixf(state_.view.m);
    const float towardLight[4] = {-l.Direction.x, -l.Direction.y, -l.Direction.z, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, towardLight);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, 180.0f);
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, 1.0f);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, 0.0f);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, 0.0f);
    glEnable(GL_LIGHT0);
    modelViewDirty_ = true;
}

void GlDevice::ApplyLighting() {
    const uint32_t* rs = state_.renderStates;
    if (rs[D3DRS_LIGHTING]) {
        glEnable(GL_LIGHTING);
    } else {
        glDisable(GL_LIGHTING);
        glColor4f(1, 1, 1, 1); // unlit vertices without colours are white
    }
    if (rs[D3DRS_NORMALIZENORMALS])
        glEnable(GL_NORMALIZE);
    else
        glDisable(GL_NORMALIZE);
    float c[4];
    ArgbToFloats(rs[D3DRS_AMBIENT], c);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, c);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, rs[D3DRS_LOCALVIEWER] ? GL_TRUE : GL_FALSE);
    const Material& m = state_.material;
    ColourToFloats(m.Diffuse, c);
    glMaterialfv(GL_FRONT_AND_BACK, GL_DIFFUSE, c);
    ColourToFloats(m.Ambient, c);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT, c);
    ColourToFloats(m.Emissive, c);
    glMaterialfv(GL_FRONT_AND_BACK, GL_EMISSION, c);
    if (rs[D3DRS_SPECULARENABLE]) {
        ColourToFloats(m.Specular, c);
    } else {
        c[0] = c[1] = c[2] = 0.0f;
        c[3] = 1.0f;
    }
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, c);
    glMaterialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(m.Power, 0.0f, 128.0f));
}

void GlDevice::ApplyStages() {
    GlApi& gl = Gl();
    float factor[4];
    ArgbToFloats(state_.renderStates[D3DRS_TEXTUREFACTOR], factor);
    bool on = true;
    uint32_t units = UsableStages();
    SamplerState wanted[MAX_TEXTURE_STAGES];
    for (uint32_t u = 0; u < units; ++u) {
        const uint32_t* st = state_.stageStates[u];
        gl.ActiveTexture(GL_TEXTURE0 + u);
        if (st[D3DTSS_COLOROP] == D3DTOP_DISABLE) on = false;
        if (!on) {
            glDisable(GL_TEXTURE_2D);
            continue;
        }
        glEnable(GL_TEXTURE_2D);
        auto* tex = static_cast<GlTexture*>(textures_[u].get());
        if (tex && tex->Id()) {
            glBindTexture(GL_TEXTURE_2D, tex->Id());
            SamplerState& want = wanted[u];
            want.minFilter = GlMinFilter(st[D3DTSS_MINFILTER], st[D3DTSS_MIPFILTER], tex->GetLevelCount() > 1);
            want.magFilter = GlMagFilter(st[D3DTSS_MAGFILTER]);
            want.wrapS = GlAddress(st[D3DTSS_ADDRESSU], gl.mirrorClamp);
            want.wrapT = GlAddress(st[D3DTSS_ADDRESSV], gl.mirrorClamp);
            // The texture carries the filters and address modes of the first stage that binds it
            // in this draw; a later stage that binds it too with others gets a sampler of its own.
            bool shared = false;
            for (uint32_t v = 0; v < u && !shared; ++v) shared = textures_[v].get() == tex && !(wanted[v] == want);
            if (shared && gl.GenSamplers) {
                SamplerState& c = samplerStates_[u];
                const GLuint id = samplers_[u];
                if (c.minFilter != want.minFilter)
                    gl.SamplerParameteri(id, GL_TEXTURE_MIN_FILTER, c.minFilter = want.minFilter);
                if (c.magFilter != want.magFilter)
                    gl.SamplerParameteri(id, GL_TEXTURE_MAG_FILTER, c.magFilter = want.magFilter);
                if (c.wrapS != want.wrapS) gl.SamplerParameteri(id, GL_TEXTURE_WRAP_S, c.wrapS = want.wrapS);
                if (c.wrapT != want.wrapT) gl.SamplerParameteri(id, GL_TEXTURE_WRAP_T, c.wrapT = want.wrapT);
                BindSampler(u, true);
            } else {
                BindSampler(u, false);
                if (!shared) {
                    if (tex->minFilter != want.minFilter)
                        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, tex->minFilter = want.minFilter);
                    if (tex->magFilter != want.magFilter)
                        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, tex->magFilter = want.magFilter);
                    if (tex->wrapS != want.wrapS)
                        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, tex->wrapS = want.wrapS);
                    if (tex->wrapT != want.wrapT)
                        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, tex->wrapT = want.wrapT);
                }
                // Without sampler objects a texture shared that way keeps the first stage's.
            }
        } else {
            glBindTexture(GL_TEXTURE_2D, whiteTexture_);
            BindSampler(u, false);
        }
        ApplyStageCombiner(st, gl.combine3);
        // The constant colour is the texture factor, or black for a stage that reads SPECULAR: the
        // specular colour of the device's vertices without one and of unlit ones. Lit highlights
        // are added by OpenGL after the last stage, where no stage can read them.
        static const float black[4] = {0.0f, 0.0f, 0.0f, 0.0f};
        const float* constant = factor;
        if (StageReads(st, D3DTA_SPECULAR)) {
            if (StageReads(st, D3DTA_TFACTOR)) {
                DeviceNoteOnce("OpenGL: a texture stage that reads SPECULAR and TFACTOR reads the factor for both.");
            } else {
                constant = black;
                if (state_.renderStates[D3DRS_LIGHTING] && state_.renderStates[D3DRS_SPECULARENABLE])
                    DeviceNoteOnce(
                        "OpenGL: SPECULAR as a texture stage argument reads black; the lit highlights "
                        "are added after the last stage.");
            }
        }
        glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, constant);
    }
    gl.ActiveTexture(GL_TEXTURE0);
    shared_->bindingsDirty = false;
}

void GlDevice::BindSampler(uint32_t unit, bool own) {
    if (samplerBound_[unit] == own || !Gl().GenSamplers) return;
    Gl().BindSampler(unit, own ? samplers_[unit] : 0);
    samplerBound_[unit] = own;
}

void GlDevice::ApplyTextureMatrices() {
    GlApi& gl = Gl();
    uint32_t units = UsableStages();
    glMatrixMode(GL_TEXTURE);
    for (uint32_t u = 0; u < units; ++u) {
        gl.ActiveTexture(GL_TEXTURE0 + u);
        if (state_.stageStates[u][D3DTSS_TEXTURETRANSFORMFLAGS] == D3DTTFF_DISABLE) {
            glLoadIdentity();
            continue;
        }
        // The device transforms (u, v, 1, 0), so its row 2 is the translation; OpenGL transforms
        // (s, t, 0, 1), whose translation is row 3. q stays 1.
        const float* m = state_.texture[u].m;
        const float gm[16] = {m[0], m[1], 0, 0, m[4], m[5], 0, 0, 0, 0, 1, 0, m[8], m[9], 0, 1};
        glLoadMatrixf(gm);
    }
    gl.ActiveTexture(GL_TEXTURE0);
    glMatrixMode(GL_MODELVIEW);
}

// ---------------------------------------------------------------- drawing

HResult GlDevice::SetVertexShader(uint32_t fvf) {
    state_.fvf = fvf;
    return D3D_OK;
}

HResult GlDevice::SetStreamSource(uint32_t stream, const VertexBufferPtr& buffer, uint32_t stride) {
    if (stream != 0) return D3DERR_INVALIDCALL;
    if (buffer && !dynamic_cast<GlVertexBuffer*>(buffer.get())) return D3DERR_INVALIDCALL;
    stream_ = buffer;
    streamStride_ = stride;
    return D3D_OK;
}

HResult GlDevice::SetIndices(const IndexBufferPtr& buffer, uint32_t baseVertex) {
    if (buffer && !dynamic_cast<GlIndexBuffer*>(buffer.get())) return D3DERR_INVALIDCALL;
    indices_ = buffer;
    baseVertex_ = baseVertex;
    return D3D_OK;
}

HResult GlDevice::CheckDraw(uint32_t type, uint32_t primitiveCount) const {
    if (!inScene_ || VertexCountOf(type, primitiveCount) == 0) return D3DERR_INVALIDCALL;
    return D3D_OK;
}

bool GlDevice::PrepareDraw(uintptr_t base, uint32_t stride) {
    VertexLayout layout = DescribeFvf(state_.fvf);
    if (layout.position < 0 || layout.size > stride || stride == 0) return false;
    if (projectionDirty_) {
        ApplyProjection();
        projectionDirty_ = false;
    }
    if (lightDirty_) {
        ApplyLight();
        lightDirty_ = false;
    }
    if (modelViewDirty_) {
        ApplyModelView();
        modelViewDirty_ = false;
    }
    if (lightingDirty_) {
        ApplyLighting();
        lightingDirty_ = false;
    }
    if (stagesDirty_ || shared_->bindingsDirty) {
        ApplyStages();
        stagesDirty_ = false;
    }
    if (textureMatricesDirty_) {
        ApplyTextureMatrices();
        textureMatricesDirty_ = false;
    }
    GlApi& gl = Gl();
    GLsizei s = static_cast<GLsizei>(stride);
    auto at = [base](int offset) { return reinterpret_cast<const void*>(base + static_cast<uintptr_t>(offset)); };
    glVertexPointer(3, GL_FLOAT, s, at(layout.position));
    if (layout.normal >= 0) {
        glEnableClientState(GL_NORMAL_ARRAY);
        glNormalPointer(GL_FLOAT, s, at(layout.normal));
    } else {
        glDisableClientState(GL_NORMAL_ARRAY);
        glNormal3f(0.0f, 0.0f, 0.0f); // lit by emissive and ambient only
    }
    // Vertex colours colour unlit vertices; lit ones take the material. Once the array is off
    // again, unlit vertices without colours are white (the array leaves the current colour
    // undefined).
    if (layout.diffuse >= 0) {
        glEnableClientState(GL_COLOR_ARRAY);
        glColorPointer(GL_BGRA, GL_UNSIGNED_BYTE, s, at(layout.diffuse));
        colourArray_ = true;
    } else if (colourArray_) {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
        colourArray_ = false;
    }
    uint32_t units = UsableStages();
    for (uint32_t u = 0; u < units; ++u) {
        gl.ClientActiveTexture(GL_TEXTURE0 + u);
        if (u < layout.texCount) {
            glEnableClientState(GL_TEXTURE_COORD_ARRAY);
            glTexCoordPointer(2, GL_FLOAT, s, at(layout.texCoord[u]));
        } else {
            glDisableClientState(GL_TEXTURE_COORD_ARRAY);
            gl.MultiTexCoord4f(GL_TEXTURE0 + u, 0.0f, 0.0f, 0.0f, 1.0f);
        }
    }
    gl.ClientActiveTexture(GL_TEXTURE0);
    return true;
}

HResult GlDevice::DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) {
    HResult r = CheckDraw(type, primitiveCount);
    if (Failed(r)) return r;
    auto* vb = static_cast<GlVertexBuffer*>(stream_.get());
    uint32_t n = VertexCountOf(type, primitiveCount);
    if (!vb || streamStride_ == 0 || (static_cast<uint64_t>(startVertex) + n) * streamStride_ > vb->buffer.Size())
        return D3DERR_INVALIDCALL;
    GlApi& gl = Gl();
    gl.BindBuffer(GL_ARRAY_BUFFER, vb->buffer.Id());
    // Offsets into the bound buffer travel as pointers.
    bool ok = PrepareDraw(0, streamStride_);
    if (ok) glDrawArrays(GlPrimitive(type), static_cast<GLint>(startVertex), static_cast<GLsizei>(n));
    gl.BindBuffer(GL_ARRAY_BUFFER, 0);
    return ok ? D3D_OK : D3DERR_INVALIDCALL;
}

HResult GlDevice::DrawIndexedPrimitive(uint32_t type, uint32_t minIndex, uint32_t vertexCount, uint32_t startIndex,
                                       uint32_t primitiveCount) {
    HResult r = CheckDraw(type, primitiveCount);
    if (Failed(r)) return r;
    auto* vb = static_cast<GlVertexBuffer*>(stream_.get());
    auto* ib = static_cast<GlIndexBuffer*>(indices_.get());
    uint32_t n = VertexCountOf(type, primitiveCount);
    if (!vb || !ib || streamStride_ == 0 || (static_cast<uint64_t>(startIndex) + n) * 2 > ib->buffer.Size())
        return D3DERR_INVALIDCALL;
    // Every index must name a vertex of the buffer.
    uint64_t vertices = vb->buffer.Size() / streamStride_;
    const uint8_t* idx = ib->buffer.Data() + static_cast<size_t>(startIndex) * 2;
    for (uint32_t i = 0; i < n; ++i) {
        uint16_t v;
        std::memcpy(&v, idx + i * 2, 2);
        if (baseVertex_ + static_cast<uint64_t>(v) >= vertices) return D3DERR_INVALIDCALL;
    }
    GlApi& gl = Gl();
    gl.BindBuffer(GL_ARRAY_BUFFER, vb->buffer.Id());
    gl.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, ib->buffer.Id());
    // The arrays start at the base vertex.
    bool ok = PrepareDraw(static_cast<uintptr_t>(baseVertex_) * streamStride_, streamStride_);
    if (ok)
        glDrawElements(GlPrimitive(type), static_cast<GLsizei>(n), GL_UNSIGNED_SHORT,
                       reinterpret_cast<const void*>(static_cast<uintptr_t>(startIndex) * 2));
    gl.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    gl.BindBuffer(GL_ARRAY_BUFFER, 0);
    return ok ? D3D_OK : D3DERR_INVALIDCALL;
}

HResult GlDevice::DrawPrimitiveUP(uint32_t type, uint32_t primitiveCount, const void* vertices, uint32_t stride) {
    HResult r = CheckDraw(type, primitiveCount);
    if (Failed(r)) return r;
    if (!vertices || stride == 0) return D3DERR_INVALIDCALL;
    const uint32_t n = VertexCountOf(type, primitiveCount);
    const uint64_t bytes = static_cast<uint64_t>(n) * stride;
    if (bytes > kMaxStreamDraw) return D3DERR_INVALIDCALL;
    // The vertices go through the stream buffer: the driver keeps no copy of its own per draw.
    uintptr_t offset = 0;
    if (!streamVertices_.Write(vertices, static_cast<uint32_t>(bytes), &offset)) return D3DERR_INVALIDCALL;
    bool ok = PrepareDraw(offset, stride);
    if (ok) glDrawArrays(GlPrimitive(type), 0, static_cast<GLsizei>(n));
    Gl().BindBuffer(GL_ARRAY_BUFFER, 0);
    if (!ok) return D3DERR_INVALIDCALL;
    // Direct draws leave no stream bound.
    stream_.reset();
    streamStride_ = 0;
    return D3D_OK;
}

HResult GlDevice::DrawIndexedPrimitiveUP(uint32_t type, uint32_t minIndex, uint32_t vertexCount,
                                         uint32_t primitiveCount, const void* indices, uint32_t indexFormat,
                                         const void* vertices, uint32_t stride) {
    HResult r = CheckDraw(type, primitiveCount);
    if (Failed(r)) return r;
    if (!vertices || !indices || indexFormat != D3DFMT_INDEX16) return D3DERR_INVALIDCALL;
    uint32_t n = VertexCountOf(type, primitiveCount);
    const uint16_t* idx = static_cast<const uint16_t*>(indices);
    for (uint32_t i = 0; i < n; ++i)
        if (idx[i] < minIndex || idx[i] >= static_cast<uint64_t>(minIndex) + vertexCount) return D3DERR_INVALIDCALL;
    // Every vertex an index may name: the first minIndex + vertexCount.
    const uint64_t vertexBytes = (static_cast<uint64_t>(minIndex) + vertexCount) * stride;
    if (stride == 0 || vertexBytes > kMaxStreamDraw || static_cast<uint64_t>(n) * 2 > kMaxStreamDraw)
        return D3DERR_INVALIDCALL;
    GlApi& gl = Gl();
    uintptr_t vertexOffset = 0, indexOffset = 0;
    bool ok = streamVertices_.Write(vertices, static_cast<uint32_t>(vertexBytes), &vertexOffset) &&
              streamIndices_.Write(indices, n * 2, &indexOffset) && PrepareDraw(vertexOffset, stride);
    if (ok)
        glDrawElements(GlPrimitive(type), static_cast<GLsizei>(n), GL_UNSIGNED_SHORT,
                       reinterpret_cast<const void*>(indexOffset));
    gl.BindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    gl.BindBuffer(GL_ARRAY_BUFFER, 0);
    if (!ok) return D3DERR_INVALIDCALL;
    stream_.reset();
    streamStride_ = 0;
    indices_.reset();
    return D3D_OK;
}

} // namespace gpu
