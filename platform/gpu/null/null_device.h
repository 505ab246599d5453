#pragma once
// The null device: the device interface without a screen, for unit tests. Every call is recorded
// as a line of text (with the vertex and index data of direct draws copied), the states are kept
// and can be read back, textures and surfaces keep their pixels in memory, and a test can script
// the adapter (modes, format answers, identifier, caps), failures of single calls, and the device
// being lost and reset.
//
// Trace lines look like "SetRenderState(ZFUNC,2)", "SetTextureStageState(0,COLOROP,4)",
// "SetTexture(0,tex#1)", "Clear(0,0x6,0x00000000,1,0)", "DrawPrimitiveUP(TRIANGLEFAN,2,28)":
// states, stage states and transforms by name, values in decimal, colours and flags in hex, floats
// as %g, objects by the name they got when made (tex#N, surf#N, vb#N, ib#N, backbuffer,
// depthstencil, null).
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/gpu/device.h"
#include "platform/gpu/device_state.h"

namespace gpu {

struct NullCall {
    std::string text;
    std::vector<uint8_t> vertices; // DrawPrimitiveUP / DrawIndexedPrimitiveUP: the vertices used
    std::vector<uint8_t> indices;  // DrawIndexedPrimitiveUP: the indices
    Matrix world;                  // the world transform in force when the call was made
};

// What the scripted adapter answers.
struct NullAdapterScript {
    std::vector<DisplayMode> modes;
    DisplayMode displayMode{800, 600, 60, D3DFMT_X8R8G8B8};
    bool displayModeFails = false;
    AdapterIdentifier identifier{"null", "Null device", 0x0001000200030004ull};
    bool identifierFails = false;
    // CheckDeviceType refuses these display formats.
    std::set<uint32_t> refusedDisplayFormats;
    // Depth-stencil formats CheckDeviceFormat and CheckDepthStencilMatch accept...
    std::vector<uint32_t> depthFormats{D3DFMT_D24S8, D3DFMT_D24X8, D3DFMT_D16};
    // ...except with these adapter formats, which have none.
    std::set<uint32_t> formatsWithoutDepth;
    // Results of the next CreateDevice calls, in order; once used up, calls succeed.
    std::deque<HResult> createDeviceResults;
    // Caps and memory of the devices made.
    Caps caps{2048, 2048, 4};
    uint32_t textureMemory = 64u << 20;
    // Client size a windowed device takes when the presentation parameters leave it 0.
    uint32_t windowWidth = 800, windowHeight = 600;
};

class NullDevice;

class NullDirect3D : public IDirect3D {
public:
    NullDirect3D() = default;
    explicit NullDirect3D(NullAdapterScript script) : script_(std::move(script)) {}

    NullAdapterScript& Script() { return script_; }
    // Calls made on this object ("CheckDeviceType(22,22,0)", "CreateDevice(0,...)").
    const std::vector<std::string>& Trace() const { return trace_; }
    // The device made last (empty once it is gone).
    std::shared_ptr<NullDevice> LastDevice() const { return lastDevice_.lock(); }

    uint32_t GetAdapterCount() override { return 1; }
    HResult GetAdapterIdentifier(uint32_t adapter, uint32_t flags, AdapterIdentifier* out) override;
    uint32_t GetAdapterModeCount(uint32_t adapter) override;
    HResult EnumAdapterModes(uint32_t adapter, uint32_t mode, DisplayMode* out) override;
    HResult GetAdapterDisplayMode(uint32_t adapter, DisplayMode* out) override;
    HResult CheckDeviceType(uint32_t adapter, uint32_t deviceType, uint32_t displayFormat, uint32_t backBufferFormat,
                            bool windowed) override;
    HResult CheckDeviceFormat(uint32_t adapter, uint32_t deviceType, uint32_t adapterFormat, uint32_t usage,
                              uint32_t resourceType, uint32_t checkFormat) override;
    HResult CheckDepthStencilMatch(uint32_t adapter, uint32_t deviceType, uint32_t adapterFormat,
                                   uint32_t renderTargetFormat, uint32_t depthStencilFormat) override;
    HResult CreateDevice(uint32_t adapter, uint32_t deviceType, void* focusWindow, uint32_t behaviorFlags,
                         PresentParameters* pp, DevicePtr* out) override;

private:
    bool DepthAccepted(uint32_t adapterFormat, uint32_t depthFormat) const;

    NullAdapterScript script_;
    std::vector<std::string> trace_;
    std::weak_ptr<NullDevice> lastDevice_;
};

class NullDevice : public IDevice {
public:
    NullDevice(const PresentParameters& pp, const NullAdapterScript& script);
    ~NullDevice() override;

    // ---- Test controls ----
    std::vector<std::string> Trace() const;
    const std::vector<NullCall>& Calls() const { return calls_; }
    void ClearTrace() { calls_.clear(); }
    // Lines of the trace that start with `prefix` ("SetRenderState(" for all render states).
    std::vector<std::string> TraceStartingWith(const std::string& prefix) const;
    // Recording off: calls are carried out but not written down (benchmarks).
    void SetRecording(bool on) { recording_ = on; }

    // The device is lost: TestCooperativeLevel and Present answer DEVICELOST, Reset fails with it.
    void DeclareLost();
    // The device may be reset now: TestCooperativeLevel answers DEVICENOTRESET until a Reset works.
    void DeclareNotReset();
    // The next call of the named method ("Reset", "CreateRenderTarget", "CreateTexture", ...) fails
    // with `result`; several calls queue up.
    void FailNext(const std::string& method, HResult result = D3DERR_INVALIDCALL);

    const DeviceState& State() const { return state_; }
    const PresentParameters& Presentation() const { return pp_; }
    TexturePtr BoundTexture(uint32_t stage) const { return stage < MAX_TEXTURE_STAGES ? textures_[stage] : nullptr; }
    SurfacePtr CurrentRenderTarget() const { return renderTarget_; }
    SurfacePtr CurrentDepthStencil() const { return depthStencil_; }
    bool InScene() const { return inScene_; }
    int PresentCount() const { return presentCount_; }
    // The name an object got in the trace ("tex#3", "backbuffer", "null", "?" for a stranger).
    static std::string NameOf(ITexture* object);
    static std::string NameOf(ISurface* object);
    static std::string NameOf(IVertexBuffer* object);
    static std::string NameOf(IIndexBuffer* object);

    // ---- IDevice ----
    HResult TestCooperativeLevel() override;
    uint32_t GetAvailableTextureMem() override { return script_.textureMemory; }
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
    enum class Coop { Ok, Lost, NotReset };

    // Adds a trace line (printf-style) when recording; returns the new call or null.
    NullCall* Record(const char* format, ...) __attribute__((format(printf, 2, 3)));
    HResult Scripted(const char* method);
    bool MakeBackBuffer();
    int NextId() { return ++nextId_; }

    NullAdapterScript script_;
    PresentParameters pp_;
    DeviceState state_;
    std::vector<NullCall> calls_;
    bool recording_ = true;
    Coop coop_ = Coop::Ok;
    std::map<std::string, std::deque<HResult>> failures_;
    bool inScene_ = false;
    int presentCount_ = 0;
    int nextId_ = 0;

    SurfacePtr backBuffer_;
    SurfacePtr autoDepth_;
    SurfacePtr renderTarget_;
    SurfacePtr depthStencil_;
    TexturePtr textures_[MAX_TEXTURE_STAGES];
    VertexBufferPtr stream_;
    uint32_t streamStride_ = 0;
    IndexBufferPtr indices_;
    uint32_t baseVertex_ = 0;
    // Render targets made by CreateRenderTarget; while one lives, Reset fails.
    MadeRenderTargets madeTargets_;
};

} // namespace gpu
