#pragma once
// The graphics device interface the renderer draws through: a "Direct3D object" that lists the
// display's modes, answers format checks and makes devices, and the device with its textures,
// surfaces and buffers. Two back ends implement it: OpenGL (gl/) and a recording null device for
// tests (null/).
//
// Objects are handed out as shared pointers. Dropping the last reference frees the object; the
// device keeps its own references to what is bound to it (textures, buffers, render targets), as
// the renderer expects. An object that outlives its device stays safe to hold and to drop, and its
// calls fail with D3DERR_INVALIDCALL or do nothing.
//
// Conventions every back end keeps: matrices are row-major with points as row vectors; depth runs
// 0..1; triangles wound clockwise on the screen face the viewer (CULLMODE CW drops the others);
// texture stage n reads the vertex's texture coordinate set n; texture row 0 is the top of the
// picture; Clear touches only the viewport; SetRenderTarget resets the viewport to the whole target;
// the back buffer keeps its contents after Present; lighting is on by default, and vertices without
// a normal are lit with a zero normal (only the emissive and ambient terms remain).
#include <cstdint>
#include <functional>
#include <memory>

#include "platform/gpu/d3d_types.h"

namespace gpu {

class ISurface {
public:
    virtual ~ISurface() = default;
    virtual HResult GetDesc(SurfaceDesc* desc) = 0;
    // Gives the pixels of `rect` (the whole surface when null), rows top first. Render targets can
    // be locked only when created lockable; the back buffer and depth-stencil surfaces never.
    virtual HResult LockRect(LockedRect* out, const Rect* rect, uint32_t flags) = 0;
    virtual HResult UnlockRect() = 0;
};
using SurfacePtr = std::shared_ptr<ISurface>;

class ITexture {
public:
    virtual ~ITexture() = default;
    virtual uint32_t GetLevelCount() = 0;
    virtual HResult GetLevelDesc(uint32_t level, SurfaceDesc* desc) = 0;
    // The surface of one level; it keeps the texture alive.
    virtual HResult GetSurfaceLevel(uint32_t level, SurfacePtr* out) = 0;
    // Writes through a lock reach the device at UnlockRect.
    virtual HResult LockRect(uint32_t level, LockedRect* out, const Rect* rect, uint32_t flags) = 0;
    virtual HResult UnlockRect(uint32_t level) = 0;
};
using TexturePtr = std::shared_ptr<ITexture>;

class IVertexBuffer {
public:
    virtual ~IVertexBuffer() = default;
    // offset and size in bytes; size 0 means "to the end".
    virtual HResult Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) = 0;
    virtual HResult Unlock() = 0;
    virtual uint32_t GetSize() = 0;
};
using VertexBufferPtr = std::shared_ptr<IVertexBuffer>;

class IIndexBuffer {
public:
    virtual ~IIndexBuffer() = default;
    virtual HResult Lock(uint32_t offset, uint32_t size, void** data, uint32_t flags) = 0;
    virtual HResult Unlock() = 0;
    virtual uint32_t GetSize() = 0;
};
using IndexBufferPtr = std::shared_ptr<IIndexBuffer>;

class IDevice {
public:
    virtual ~IDevice() = default;

    // D3D_OK, D3DERR_DEVICELOST (draw nothing now) or D3DERR_DEVICENOTRESET (call Reset).
    virtual HResult TestCooperativeLevel() = 0;
    virtual uint32_t GetAvailableTextureMem() = 0;
    virtual HResult GetDeviceCaps(Caps* caps) = 0;
    // Rebuilds the back buffer and depth-stencil from `pp` and puts every state back to its default.
    // Textures and buffers survive. Fails while render targets made by CreateRenderTarget are alive.
    virtual HResult Reset(PresentParameters* pp) = 0;
    // Shows the whole back buffer in the window, scaled to fit and keeping its proportions.
    virtual HResult Present() = 0;
    virtual HResult GetBackBuffer(uint32_t index, uint32_t type, SurfacePtr* out) = 0;

    virtual HResult BeginScene() = 0;
    virtual HResult EndScene() = 0;
    // With no rectangles clears the viewport; colour is A8R8G8B8.
    virtual HResult Clear(uint32_t rectCount, const Rect* rects, uint32_t flags, uint32_t color, float z,
                          uint32_t stencil) = 0;

    // Creation. levels 0 = the full chain down to 1x1.
    virtual HResult CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, uint32_t format,
                                  uint32_t pool, TexturePtr* out) = 0;
    virtual HResult CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool,
                                       VertexBufferPtr* out) = 0;
    virtual HResult CreateIndexBuffer(uint32_t length, uint32_t usage, uint32_t format, uint32_t pool,
                                      IndexBufferPtr* out) = 0;
    virtual HResult CreateRenderTarget(uint32_t width, uint32_t height, uint32_t format, uint32_t multiSample,
                                       bool lockable, SurfacePtr* out) = 0;
    // A system-memory surface (lockable, never drawn to).
    virtual HResult CreateImageSurface(uint32_t width, uint32_t height, uint32_t format, SurfacePtr* out) = 0;

    // Copies rectangles between surfaces of the same format (the whole source to (0, 0) when
    // rects is null).
    virtual HResult CopyRects(ISurface* src, const Rect* srcRects, uint32_t count, ISurface* dst,
                              const Point* dstPoints) = 0;
    // A null depth-stencil draws without depth and stencil.
    virtual HResult SetRenderTarget(const SurfacePtr& target, const SurfacePtr& depthStencil) = 0;
    virtual HResult GetRenderTarget(SurfacePtr* out) = 0;
    virtual HResult GetDepthStencilSurface(SurfacePtr* out) = 0;

    // States
    virtual HResult SetRenderState(uint32_t state, uint32_t value) = 0;
    virtual HResult GetRenderState(uint32_t state, uint32_t* value) = 0;
    virtual HResult SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) = 0;
    virtual HResult GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) = 0;
    virtual HResult SetTexture(uint32_t stage, const TexturePtr& texture) = 0;
    virtual HResult SetTransform(uint32_t type, const Matrix* matrix) = 0;
    virtual HResult GetTransform(uint32_t type, Matrix* matrix) = 0;
    virtual HResult SetViewport(const Viewport* viewport) = 0;
    virtual HResult GetViewport(Viewport* viewport) = 0;
    virtual HResult SetMaterial(const Material* material) = 0;
    virtual HResult SetLight(uint32_t index, const Light* light) = 0;
    virtual HResult LightEnable(uint32_t index, bool enable) = 0;

    // Vertex data
    virtual HResult SetVertexShader(uint32_t fvf) = 0;
    virtual HResult SetStreamSource(uint32_t stream, const VertexBufferPtr& buffer, uint32_t stride) = 0;
    virtual HResult SetIndices(const IndexBufferPtr& buffer, uint32_t baseVertex) = 0;
    virtual HResult DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) = 0;
    virtual HResult DrawIndexedPrimitive(uint32_t type, uint32_t minIndex, uint32_t vertexCount, uint32_t startIndex,
                                         uint32_t primitiveCount) = 0;
    virtual HResult DrawPrimitiveUP(uint32_t type, uint32_t primitiveCount, const void* vertices, uint32_t stride) = 0;
    virtual HResult DrawIndexedPrimitiveUP(uint32_t type, uint32_t minIndex, uint32_t vertexCount,
                                           uint32_t primitiveCount, const void* indices, uint32_t indexFormat,
                                           const void* vertices, uint32_t stride) = 0;
};
using DevicePtr = std::shared_ptr<IDevice>;

// The "Direct3D object": adapters, their modes, format checks and device creation.
class IDirect3D {
public:
    virtual ~IDirect3D() = default;
    virtual uint32_t GetAdapterCount() = 0;
    virtual HResult GetAdapterIdentifier(uint32_t adapter, uint32_t flags, AdapterIdentifier* out) = 0;
    virtual uint32_t GetAdapterModeCount(uint32_t adapter) = 0;
    virtual HResult EnumAdapterModes(uint32_t adapter, uint32_t mode, DisplayMode* out) = 0;
    virtual HResult GetAdapterDisplayMode(uint32_t adapter, DisplayMode* out) = 0;
    virtual HResult CheckDeviceType(uint32_t adapter, uint32_t deviceType, uint32_t displayFormat,
                                    uint32_t backBufferFormat, bool windowed) = 0;
    virtual HResult CheckDeviceFormat(uint32_t adapter, uint32_t deviceType, uint32_t adapterFormat, uint32_t usage,
                                      uint32_t resourceType, uint32_t checkFormat) = 0;
    virtual HResult CheckDepthStencilMatch(uint32_t adapter, uint32_t deviceType, uint32_t adapterFormat,
                                           uint32_t renderTargetFormat, uint32_t depthStencilFormat) = 0;
    // focusWindow is the window layer's native handle (an SDL window made for OpenGL).
    virtual HResult CreateDevice(uint32_t adapter, uint32_t deviceType, void* focusWindow, uint32_t behaviorFlags,
                                 PresentParameters* pp, DevicePtr* out) = 0;
};
using Direct3DPtr = std::shared_ptr<IDirect3D>;

// Makes the Direct3D object: the OpenGL one unless a factory was installed (tests install one that
// gives a null device). Null when the SDK version is not D3D_SDK_VERSION or the display cannot be
// reached.
Direct3DPtr Direct3DCreate(uint32_t sdkVersion);

using Direct3DFactory = std::function<Direct3DPtr(uint32_t sdkVersion)>;
// An empty factory goes back to the OpenGL one.
void SetDirect3DFactory(Direct3DFactory factory);

} // namespace gpu
