#pragma once
// The OpenGL device: fixed-function OpenGL (compatibility profile) in an SDL window.
//
// When the back buffer cannot be the window's own (see below), everything is drawn into an
// off-screen framebuffer whose colour renderbuffer is the back buffer, and Present copies it into
// the window, scaled to fit and keeping its proportions. The background and capture targets are
// further colour renderbuffers with the automatic depth-stencil renderbuffer.
//
// How the device's conventions are kept:
// - Row-vector matrices load unchanged as OpenGL's column-major ones; a fixed matrix after the
//   projection maps depth 0..w to OpenGL's -w..w, so depth is 0..1 in the depth buffer.
// - The picture is never flipped, so the winding seen on the screen is the same in both; the
//   viewport and clear rectangles count rows from the top and are turned round for OpenGL.
// - Texture stages are texture units with combiners; unit n reads coordinate set n. A stage with
//   no texture reads opaque white. The first stage whose colour operation is DISABLE ends the chain;
//   an alpha operation of DISABLE under an enabled colour operation passes alpha on.
// - Texture transforms take (u, v, 1, 0): the device's row 2 (translation) becomes OpenGL's row 3.
// - Global ambient 0, local viewer, separate specular, specular off while SPECULARENABLE is off;
//   vertices without a normal get the normal (0, 0, 0).
// - Clears are bounded by the viewport with every write mask open.
// - Filters and address modes are per stage: they are given to each texture as it is bound, and a
//   texture that a later stage of the same draw binds with others is read there through that
//   unit's own sampler object (OpenGL 3.3 or ARB_sampler_objects).
// - Draws from client memory are copied into a stream buffer and drawn from there.
// - The back buffer is the window's own when the window has its size (windowed) and the window's
//   buffers have 8-bit colour and depth-stencil: it is drawn in place and Present only swaps. Else
//   it is a renderbuffer, copied into the window at Present. In the window, what the back buffer
//   holds after Present is up to the window system: the game draws every frame whole.
// - Where OpenGL has no exact match the nearest is drawn and the log says so once: SPECULAR as a
//   stage argument reads black (the specular colour of unlit vertices and of vertices without
//   one; lit highlights are added after the last stage), PREMODULATE is drawn as MODULATE, and
//   SRCALPHASAT as destination factor (when OpenGL refuses it there) as if the target had no
//   alpha: (0, 0, 0, 1).
// The device is never lost: TestCooperativeLevel always answers D3D_OK.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gpu/device.h"
#include "platform/gpu/device_state.h"
#include "platform/gpu/gl/gl_resources.h"
#include "platform/gpu/gl/gl_stream_buffer.h"

struct SDL_Window;

namespace gpu {

class GlDevice : public IDevice {
public:
    GlDevice() = default;
    ~GlDevice() override;
    // Makes the context on `window` and the back buffer from `pp` (a windowed device with size 0
    // takes the window's size, written back into pp).
    HResult Init(SDL_Window* window, PresentParameters* pp);

    HResult TestCooperativeLevel() override { return D3D_OK; }
    uint32_t GetAvailableTextureMem() override;
    HResult GetDeviceCaps(Caps* caps) override;
    HResult Reset(PresentParameters* pp) override;
    HResult Present() override;
    HResult GetBackBuffer(uint32_t index, uint32_t type, SurfacePtr* out) override;
    HResult BeginScene() override;
    HResult EndScene() override;
    HResult Clear(uint32_t rectCount, const Rect* rects, uint32_t flags, uint32_t color, float z,
                  uint32_t stencil) override;
    HResult CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, uint32_t format,
                          uint32_t pool, TexturePtr* out) override;
    HResult CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool,
                               VertexBufferPtr* out) override;
    HResult CreateIndexBuffer(uint32_t length, uint32_t usage, uint32_t format, uint32_t pool,
                              IndexBufferPtr* out) override;
    HResult CreateRenderTarget(uint32_t width, uint32_t height, uint32_t format, uint32_t multiSample, bool lockable,
                               SurfacePtr* out) override;
    HResult CreateImageSurface(uint32_t width, uint32_t height, uint32_t format, SurfacePtr* out) override;
    HResult CopyRects(ISurface* src, const Rect* srcRects, uint32_t count, ISurface* dst,
                      const Point* dstPoints) override;
    HResult SetRenderTarget(const SurfacePtr& target, const SurfacePtr& depthStencil) override;
    HResult GetRenderTarget(SurfacePtr* out) override;
    HResult GetDepthStencilSurface(SurfacePtr* out) override;
    HResult SetRenderState(uint32_t state, uint32_t value) override;
    HResult GetRenderState(uint32_t state, uint32_t* value) override;
    HResult SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) override;
    HResult GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) override;
    HResult SetTexture(uint32_t stage, const TexturePtr& texture) override;
    HResult SetTransform(uint32_t type, const Matrix* matrix) override;
    HResult GetTransform(uint32_t type, Matrix* matrix) override;
    HResult SetViewport(const Viewport* viewport) override;
    HResult GetViewport(Viewport* viewport) override;
    HResult SetMaterial(const Material* material) override;
    HResult SetLight(uint32_t index, const Light* light) override;
    HResult LightEnable(uint32_t index, bool enable) override;
    HResult SetVertexShader(uint32_t fvf) override;
    HResult SetStreamSource(uint32_t stream, const VertexBufferPtr& buffer, uint32_t stride) override;
    HResult SetIndices(const IndexBufferPtr& buffer, uint32_t baseVertex) override;
    HResult DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) override;
    HResult DrawIndexedPrimitive(uint32_t type, uint32_t minIndex, uint32_t vertexCount, uint32_t startIndex,
                                 uint32_t primitiveCount) override;
    HResult DrawPrimitiveUP(uint32_t type, uint32_t primitiveCount, const void* vertices, uint32_t stride) override;
    HResult DrawIndexedPrimitiveUP(uint32_t type, uint32_t minIndex, uint32_t vertexCount, uint32_t primitiveCount,
                                   const void* indices, uint32_t indexFormat, const void* vertices,
                                   uint32_t stride) override;

private:
    bool MakeBackBuffer(const PresentParameters& pp);
    // The window can hold the back buffer itself: windowed, of its size, with the buffers it needs.
    bool WindowFits(const PresentParameters& pp) const;
    // The back buffer in the window when it fits, else in storage of its own.
    bool PlaceBackBuffer(const PresentParameters& pp);
    // Moves the back buffer into or out of the window when the window's size changed.
    void FollowWindowSize();
    bool AttachTargets(GlRenderTarget* colour, GlDepthSurface* depth);
    // Copies the automatic depth-stencil contents into the window's buffer or out of it.
    void MoveAutoDepth(bool toWindow);
    void ApplyAllStates();
    void ApplyRenderState(uint32_t state);
    void ApplyBlendFunc();
    // Blend enable and factors, and the colour write mask that stands in for a blend that keeps
    // the target (BlendKeepsTarget).
    void ApplyBlend();
    bool BlendKeepsTarget() const;
    void ApplyViewport();
    void ApplyProjection();
    void ApplyModelView();
    void ApplyLight();
    void ApplyLighting();
    void ApplyStages();
    void ApplyTextureMatrices();
    // The unit's own sampler object bound (`own`) or none (the texture's filters apply). Only
    // called when sampler objects exist or with own = false.
    void BindSampler(uint32_t unit, bool own);
    // Sends whatever changed since the last draw, then points the arrays at `base` (a client
    // pointer, or an offset into the bound vertex buffer). False when the vertex format does not
    // fit `stride`.
    bool PrepareDraw(uintptr_t base, uint32_t stride);
    HResult CheckDraw(uint32_t type, uint32_t primitiveCount) const;
    uint32_t TargetHeight() const;
    uint32_t UsableStages() const;

    SDL_Window* window_ = nullptr;
    void* context_ = nullptr;
    GlSharedPtr shared_;
    PresentParameters pp_;
    DeviceState state_;
    bool inScene_ = false;

    std::shared_ptr<GlRenderTarget> backBuffer_;
    std::shared_ptr<GlDepthSurface> autoDepth_;
    // The depth-stencil buffer of a render target larger than the one it was set with.
    std::shared_ptr<GlDepthSurface> largeTargetDepth_;
    SurfacePtr renderTarget_;
    SurfacePtr depthStencil_;
    GlRenderTarget* currentTarget_ = nullptr;
    MadeRenderTargets madeTargets_;

    TexturePtr textures_[MAX_TEXTURE_STAGES];
    GLuint whiteTexture_ = 0;
    VertexBufferPtr stream_;
    uint32_t streamStride_ = 0;
    IndexBufferPtr indices_;
    uint32_t baseVertex_ = 0;
    GlStreamBuffer streamVertices_{GL_ARRAY_BUFFER, 1u << 20};
    GlStreamBuffer streamIndices_{GL_ELEMENT_ARRAY_BUFFER, 256u << 10};
    // Filters and address modes per texture unit (sampler objects, when OpenGL has them); 0 = not
    // yet given.
    struct SamplerState {
        GLint minFilter = 0, magFilter = 0, wrapS = 0, wrapT = 0;
        bool operator==(const SamplerState&) const = default;
    };
    GLuint samplers_[MAX_TEXTURE_STAGES] = {};
    SamplerState samplerStates_[MAX_TEXTURE_STAGES];
    bool samplerBound_[MAX_TEXTURE_STAGES] = {};
    bool windowColour8_ = false;
    bool windowAlpha8_ = false;
    bool windowDepthStencil_ = false;
    bool depthInWindow_ = false;   // the automatic depth-stencil contents are in the window's buffer
    bool srcAlphaSatDest_ = false; // OpenGL takes SRC_ALPHA_SATURATE as a destination factor

    bool stagesDirty_ = true;
    bool textureMatricesDirty_ = true;
    bool lightingDirty_ = true;
    bool colourArray_ = false; // the vertex colour array is on (the last draw had colours)
    bool lightDirty_ = true;
    bool modelViewDirty_ = true;
    bool projectionDirty_ = true;
};

} // namespace gpu
