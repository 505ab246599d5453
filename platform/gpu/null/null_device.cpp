#include "platform/gpu/null/null_device.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/gpu/cpu_surface.h"
#include "platform/gpu/pixel_format.h"

namespace gpu {

namespace {

// Every object the null device makes carries the name it has in the trace.
struct NullNamed {
    std::string name;
    virtual ~NullNamed() = default;
};

class NullTexture : public CpuTexture, public NullNamed {};

class NullSurface : public CpuSurface, public NullNamed {
public:
    using CpuSurface::CpuSurface;
};

class NullVertexBuffer : public IVertexBuffer, public NullNamed {
public:
    HResult Lock(uint32_t offset, uint32_t size, void** data, uint32_t) override {
        return buffer.Lock(offset, size, data);
    }
    HResult Unlock() override { return buffer.Unlock(); }
    uint32_t GetSize() override { return buffer.Size(); }
    CpuBuffer buffer;
};

class NullIndexBuffer : public IIndexBuffer, public NullNamed {
public:
    HResult Lock(uint32_t offset, uint32_t size, void** data, uint32_t) override {
        return buffer.Lock(offset, size, data);
    }
    HResult Unlock() override { return buffer.Unlock(); }
    uint32_t GetSize() override { return buffer.Size(); }
    CpuBuffer buffer;
};

template <class T>
std::string NameOfObject(T* object) {
    if (!object) return "null";
    auto* named = dynamic_cast<NullNamed*>(object);
    return named ? named->name : "?";
}

const char* PrimitiveName(uint32_t type) {
    switch (type) {
        case D3DPT_POINTLIST: return "POINTLIST";
        case D3DPT_LINELIST: return "LINELIST";
        case D3DPT_LINESTRIP: return "LINESTRIP";
        case D3DPT_TRIANGLELIST: return "TRIANGLELIST";
        case D3DPT_TRIANGLESTRIP: return "TRIANGLESTRIP";
        case D3DPT_TRIANGLEFAN: return "TRIANGLEFAN";
        default: return "?";
    }
}

std::string Floats(const float* f, int n) {
    std::string s;
    char buf[32];
    for (int i = 0; i < n; ++i) {
        std::snprintf(buf, sizeof buf, i ? ",%g" : "%g", static_cast<double>(f[i]));
        s += buf;
    }
    return s;
}

std::string Colour(const ColorValue& c) {
    const float f[4] = {c.r, c.g, c.b, c.a};
    return Floats(f, 4);
}

} // namespace

// ---------------------------------------------------------------- NullDirect3D

HResult NullDirect3D::GetAdapterIdentifier(uint32_t adapter, uint32_t flags, AdapterIdentifier* out) {
    trace_.push_back("GetAdapterIdentifier(" + std::to_string(adapter) + "," + std::to_string(flags) + ")");
    if (adapter != 0 || !out || script_.identifierFails) return D3DERR_INVALIDCALL;
    *out = script_.identifier;
    return D3D_OK;
}

uint32_t NullDirect3D::GetAdapterModeCount(uint32_t adapter) {
    return adapter == 0 ? static_cast<uint32_t>(script_.modes.size()) : 0;
}

HResult NullDirect3D::EnumAdapterModes(uint32_t adapter, uint32_t mode, DisplayMode* out) {
    if (adapter != 0 || !out || mode >= script_.modes.size()) return D3DERR_INVALIDCALL;
    *out = script_.modes[mode];
    return D3D_OK;
}

HResult NullDirect3D::GetAdapterDisplayMode(uint32_t adapter, DisplayMode* out) {
    if (adapter != 0 || !out || script_.displayModeFails) return D3DERR_INVALIDCALL;
    *out = script_.displayMode;
    return D3D_OK;
}

HResult NullDirect3D::CheckDeviceType(uint32_t adapter, uint32_t deviceType, uint32_t displayFormat,
                                      uint32_t backBufferFormat, bool windowed) {
    trace_.push_back("CheckDeviceType(" + std::to_string(displayFormat) + "," + std::to_string(backBufferFormat) + "," +
                     std::to_string(windowed ? 1 : 0) + ")");
    if (adapter != 0 || deviceType != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
    if (script_.refusedDisplayFormats.count(displayFormat)) return D3DERR_NOTAVAILABLE;
    return D3D_OK;
}

bool NullDirect3D::DepthAccepted(uint32_t adapterFormat, uint32_t depthFormat) const {
    if (script_.formatsWithoutDepth.count(adapterFormat)) return false;
    return std::find(script_.depthFormats.begin(), script_.depthFormats.end(), depthFormat) !=
           script_.depthFormats.end();
}

HResult NullDirect3D::CheckDeviceFormat(uint32_t adapter, uint32_t deviceType, uint32_t adapterFormat, uint32_t usage,
                                        uint32_t resourceType, uint32_t checkFormat) {
    if (adapter != 0 || deviceType != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
    if (usage & D3DUSAGE_DEPTHSTENCIL) return DepthAccepted(adapterFormat, checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
    return BytesPerPixel(checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HResult NullDirect3D::CheckDepthStencilMatch(uint32_t adapter, uint32_t deviceType, uint32_t adapterFormat,
                                             uint32_t renderTargetFormat, uint32_t depthStencilFormat) {
    if (adapter != 0 || deviceType != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
    return DepthAccepted(adapterFormat, depthStencilFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HResult NullDirect3D::CreateDevice(uint32_t adapter, uint32_t deviceType, void* focusWindow, uint32_t behaviorFlags,
                                   PresentParameters* pp, DevicePtr* out) {
    char line[160];
    std::snprintf(line, sizeof line, "CreateDevice(%u,%u,0x%x,windowed=%d,%ux%u,fmt=%u,ds=%u)", adapter, deviceType,
                  behaviorFlags, pp ? pp->Windowed : -1, pp ? pp->BackBufferWidth : 0, pp ? pp->BackBufferHeight : 0,
                  pp ? pp->BackBufferFormat : 0, pp ? pp->AutoDepthStencilFormat : 0);
    trace_.push_back(line);
    if (!out || !pp || adapter != 0 || deviceType != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
    out->reset();
    if (!script_.createDeviceResults.empty()) {
        HResult r = script_.createDeviceResults.front();
        script_.createDeviceResults.pop_front();
        if (Failed(r)) return r;
    }
    if (pp->Windowed) {
        if (pp->BackBufferWidth == 0) pp->BackBufferWidth = script_.windowWidth;
        if (pp->BackBufferHeight == 0) pp->BackBufferHeight = script_.windowHeight;
    }
    if (pp->BackBufferWidth == 0 || pp->BackBufferHeight == 0 || BytesPerPixel(pp->BackBufferFormat) == 0)
        return D3DERR_INVALIDCALL;
    auto device = std::make_shared<NullDevice>(*pp, script_);
    // A back buffer too large to make leaves the device without one: no device, as with OpenGL.
    if (!device->CurrentRenderTarget()) return D3DERR_NOTAVAILABLE;
    lastDevice_ = device;
    *out = device;
    return D3D_OK;
}

// ---------------------------------------------------------------- NullDevice

NullDevice::NullDevice(const PresentParameters& pp, const NullAdapterScript& script) : script_(script), pp_(pp) {
    script_.modes.clear();
    script_.createDeviceResults.clear();
    MakeBackBuffer();
    state_.SetDefaults(pp_, pp_.BackBufferWidth, pp_.BackBufferHeight);
}

NullDevice::~NullDevice() = default;

bool NullDevice::MakeBackBuffer() {
    auto bb = std::make_shared<NullSurface>(D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT,
                                            (pp_.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) != 0);
    bb->name = "backbuffer";
    if (!bb->Allocate(pp_.BackBufferWidth, pp_.BackBufferHeight, pp_.BackBufferFormat)) return false;
    backBuffer_ = bb;
    renderTarget_ = bb;
    autoDepth_.reset();
    if (pp_.EnableAutoDepthStencil) {
        // Depth is not kept in memory; a colour surface of the same size stands for it.
        auto ds = std::make_shared<NullSurface>(D3DUSAGE_DEPTHSTENCIL, D3DPOOL_DEFAULT, false);
        ds->name = "depthstencil";
        ds->Allocate(1, 1, D3DFMT_A8R8G8B8);
        autoDepth_ = ds;
    }
    depthStencil_ = autoDepth_;
    return true;
}

std::vector<std::string> NullDevice::Trace() const {
    std::vector<std::string> out;
    out.reserve(calls_.size());
    for (const NullCall& c : calls_) out.push_back(c.text);
    return out;
}

std::vector<std::string> NullDevice::TraceStartingWith(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const NullCall& c : calls_)
        if (c.text.compare(0, prefix.size(), prefix) == 0) out.push_back(c.text);
    return out;
}

void NullDevice::DeclareLost() { coop_ = Coop::Lost; }
void NullDevice::DeclareNotReset() { coop_ = Coop::NotReset; }

void NullDevice::FailNext(const std::string& method, HResult result) { failures_[method].push_back(result); }

std::string NullDevice::NameOf(ITexture* object) { return NameOfObject(object); }
std::string NullDevice::NameOf(ISurface* object) { return NameOfObject(object); }
std::string NullDevice::NameOf(IVertexBuffer* object) { return NameOfObject(object); }
std::string NullDevice::NameOf(IIndexBuffer* object) { return NameOfObject(object); }

NullCall* NullDevice::Record(const char* format, ...) {
    if (!recording_) return nullptr;
    char buf[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buf, sizeof buf, format, args);
    va_end(args);
    calls_.push_back(NullCall{buf, {}, {}, state_.world});
    return &calls_.back();
}

HResult NullDevice::Scripted(const char* method) {
    auto it = failures_.find(method);
    if (it == failures_.end() || it->second.empty()) return D3D_OK;
    HResult r = it->second.front();
    it->second.pop_front();
    return r;
}

HResult NullDevice::TestCooperativeLevel() {
    Record("TestCooperativeLevel()");
    switch (coop_) {
        case Coop::Lost: return D3DERR_DEVICELOST;
        case Coop::NotReset: return D3DERR_DEVICENOTRESET;
        default: return D3D_OK;
    }
}

HResult NullDevice::GetDeviceCaps(Caps* caps) {
    if (!caps) return D3DERR_INVALIDCALL;
    *caps = script_.caps;
    return D3D_OK;
}

HResult NullDevice::Reset(PresentParameters* pp) {
    Record("Reset(%ux%u,fmt=%u,windowed=%d)", pp ? pp->BackBufferWidth : 0, pp ? pp->BackBufferHeight : 0,
           pp ? pp->BackBufferFormat : 0, pp ? pp->Windowed : -1);
    if (!pp) return D3DERR_INVALIDCALL;
    if (coop_ == Coop::Lost) return D3DERR_DEVICELOST;
    HResult scripted = Scripted("Reset");
    if (Failed(scripted)) return scripted;
    // Render targets of the default pool must be gone before a reset.
    if (madeTargets_.AnyAlive()) return D3DERR_INVALIDCALL;
    PresentParameters next = *pp;
    if (next.Windowed) {
        if (next.BackBufferWidth == 0) next.BackBufferWidth = script_.windowWidth;
        if (next.BackBufferHeight == 0) next.BackBufferHeight = script_.windowHeight;
    }
    PresentParameters old = pp_;
    pp_ = next;
    if (!MakeBackBuffer()) {
        pp_ = old;
        MakeBackBuffer();
        return D3DERR_INVALIDCALL;
    }
    *pp = pp_;
    state_.SetDefaults(pp_, pp_.BackBufferWidth, pp_.BackBufferHeight);
    for (TexturePtr& t : textures_) t.reset();
    stream_.reset();
    streamStride_ = 0;
    indices_.reset();
    baseVertex_ = 0;
    inScene_ = false;
    coop_ = Coop::Ok;
    return D3D_OK;
}

HResult NullDevice::Present() {
    Record("Present()");
    if (coop_ != Coop::Ok) return D3DERR_DEVICELOST;
    if (inScene_) return D3DERR_INVALIDCALL;
    ++presentCount_;
    return D3D_OK;
}

HResult NullDevice::GetBackBuffer(uint32_t index, uint32_t type, SurfacePtr* out) {
    Record("GetBackBuffer(%u,%u)", index, type);
    if (!out || index != 0) return D3DERR_INVALIDCALL;
    *out = backBuffer_;
    return D3D_OK;
}

HResult NullDevice::BeginScene() {
    Record("BeginScene()");
    if (inScene_) return D3DERR_INVALIDCALL;
    inScene_ = true;
    return D3D_OK;
}

HResult NullDevice::EndScene() {
    Record("EndScene()");
    if (!inScene_) return D3DERR_INVALIDCALL;
    inScene_ = false;
    return D3D_OK;
}

HResult NullDevice::Clear(uint32_t rectCount, const Rect* rects, uint32_t flags, uint32_t color, float z,
                          uint32_t stencil) {
    Record("Clear(%u,0x%x,0x%08x,%g,%u)", rectCount, flags, color, static_cast<double>(z), stencil);
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && !depthStencil_) return D3DERR_INVALIDCALL;
    if (rectCount && !rects) return D3DERR_INVALIDCALL;
    // The colour lands in the target's memory, inside the viewport, so captures see it.
    if (flags & D3DCLEAR_TARGET) {
        auto* target = dynamic_cast<NullSurface*>(renderTarget_.get());
        if (target) {
            CpuImage& img = target->Image();
            const Viewport& vp = state_.viewport;
            uint32_t x1 = std::min(img.width, vp.X + vp.Width), y1 = std::min(img.height, vp.Y + vp.Height);
            for (uint32_t y = vp.Y; y < y1; ++y)
                for (uint32_t x = vp.X; x < x1; ++x)
                    WritePixelARGB(img.format, img.bits.data() + y * img.pitch + x * BytesPerPixel(img.format), color);
        }
    }
    return D3D_OK;
}

HResult NullDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage, uint32_t format,
                                  uint32_t pool, TexturePtr* out) {
    HResult scripted = Scripted("CreateTexture");
    auto tex = std::make_shared<NullTexture>();
    tex->name = "tex#" + std::to_string(NextId());
    if (Failed(scripted) || !out || !tex->Create(width, height, levels, format, usage, pool)) {
        Record("CreateTexture(%u,%u,%u,0x%x,%u,%u)->failed", width, height, levels, usage, format, pool);
        if (out) out->reset();
        return Failed(scripted) ? scripted : D3DERR_INVALIDCALL;
    }
    Record("CreateTexture(%u,%u,%u,0x%x,%u,%u)->%s", width, height, levels, usage, format, pool, tex->name.c_str());
    *out = tex;
    return D3D_OK;
}

HResult NullDevice::CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, uint32_t pool,
                                       VertexBufferPtr* out) {
    HResult scripted = Scripted("CreateVertexBuffer");
    auto vb = std::make_shared<NullVertexBuffer>();
    vb->name = "vb#" + std::to_string(NextId());
    if (Failed(scripted) || !out || !vb->buffer.Allocate(length)) {
        Record("CreateVertexBuffer(%u,0x%x,0x%x,%u)->failed", length, usage, fvf, pool);
        if (out) out->reset();
        return Failed(scripted) ? scripted : D3DERR_INVALIDCALL;
    }
    Record("CreateVertexBuffer(%u,0x%x,0x%x,%u)->%s", length, usage, fvf, pool, vb->name.c_str());
    *out = vb;
    return D3D_OK;
}

HResult NullDevice::CreateIndexBuffer(uint32_t length, uint32_t usage, uint32_t format, uint32_t pool,
                                      IndexBufferPtr* out) {
    HResult scripted = Scripted("CreateIndexBuffer");
    auto ib = std::make_shared<NullIndexBuffer>();
    ib->name = "ib#" + std::to_string(NextId());
    if (Failed(scripted) || !out || format != D3DFMT_INDEX16 || !ib->buffer.Allocate(length)) {
        Record("CreateIndexBuffer(%u,0x%x,%u,%u)->failed", length, usage, format, pool);
        if (out) out->reset();
        return Failed(scripted) ? scripted : D3DERR_INVALIDCALL;
    }
    Record("CreateIndexBuffer(%u,0x%x,%u,%u)->%s", length, usage, format, pool, ib->name.c_str());
    *out = ib;
    return D3D_OK;
}

HResult NullDevice::CreateRenderTarget(uint32_t width, uint32_t height, uint32_t format, uint32_t multiSample,
                                       bool lockable, SurfacePtr* out) {
    HResult scripted = Scripted("CreateRenderTarget");
    auto rt = std::make_shared<NullSurface>(D3DUSAGE_RENDERTARGET, D3DPOOL_DEFAULT, lockable);
    rt->name = "surf#" + std::to_string(NextId());
    if (Failed(scripted) || !out || !rt->Allocate(width, height, format)) {
        Record("CreateRenderTarget(%u,%u,%u,%u,%d)->failed", width, height, format, multiSample, lockable ? 1 : 0);
        if (out) out->reset();
        return Failed(scripted) ? scripted : D3DERR_INVALIDCALL;
    }
    Record("CreateRenderTarget(%u,%u,%u,%u,%d)->%s", width, height, format, multiSample, lockable ? 1 : 0,
           rt->name.c_str());
    madeTargets_.Add(rt);
    *out = rt;
    return D3D_OK;
}

HResult NullDevice::CreateImageSurface(uint32_t width, uint32_t height, uint32_t format, SurfacePtr* out) {
    HResult scripted = Scripted("CreateImageSurface");
    auto s = std::make_shared<NullSurface>(0, D3DPOOL_SYSTEMMEM, true);
    s->name = "surf#" + std::to_string(NextId());
    if (Failed(scripted) || !out || !s->Allocate(width, height, format)) {
        Record("CreateImageSurface(%u,%u,%u)->failed", width, height, format);
        if (out) out->reset();
        return Failed(scripted) ? scripted : D3DERR_INVALIDCALL;
    }
    Record("CreateImageSurface(%u,%u,%u)->%s", width, height, format, s->name.c_str());
    *out = s;
    return D3D_OK;
}

HResult NullDevice::CopyRects(ISurface* src, const Rect* srcRects, uint32_t count, ISurface* dst,
                              const Point* dstPoints) {
    if (recording_) Record("CopyRects(%s,%u,%s)", NameOf(src).c_str(), srcRects ? count : 0, NameOf(dst).c_str());
    // Render targets of the null device may not be lockable; copy their memory directly.
    auto* s = dynamic_cast<NullSurface*>(src);
    auto* d = dynamic_cast<NullSurface*>(dst);
    if (s && d) {
        SurfaceDesc sd, dd;
        s->GetDesc(&sd);
        d->GetDesc(&dd);
        if (s == d || sd.Format != dd.Format || !CopyRectsFit(sd, srcRects, count, dd, dstPoints))
            return D3DERR_INVALIDCALL;
        CpuImage& si = s->Image();
        CpuImage& di = d->Image();
        uint32_t bpp = BytesPerPixel(si.format);
        Rect whole{0, 0, static_cast<int32_t>(si.width), static_cast<int32_t>(si.height)};
        uint32_t n = srcRects ? count : 1;
        for (uint32_t i = 0; i < n; ++i) {
            const Rect& r = srcRects ? srcRects[i] : whole;
            Point p = srcRects ? (dstPoints ? dstPoints[i] : Point{r.left, r.top}) : Point{0, 0};
            for (int32_t y = r.top; y < r.bottom; ++y)
                std::memmove(di.bits.data() + static_cast<size_t>(p.y + y - r.top) * di.pitch + p.x * bpp,
                             si.bits.data() + static_cast<size_t>(y) * si.pitch + r.left * bpp,
                             static_cast<size_t>(r.right - r.left) * bpp);
        }
        return D3D_OK;
    }
    return CopyRectsByLock(src, srcRects, count, dst, dstPoints);
}

HResult NullDevice::SetRenderTarget(const SurfacePtr& target, const SurfacePtr& depthStencil) {
    if (recording_) Record("SetRenderTarget(%s,%s)", NameOf(target.get()).c_str(), NameOf(depthStencil.get()).c_str());
    SurfaceDesc desc;
    if (!target || Failed(target->GetDesc(&desc)) || !(desc.Usage & D3DUSAGE_RENDERTARGET)) return D3DERR_INVALIDCALL;
    renderTarget_ = target;
    depthStencil_ = depthStencil;
    state_.viewport = Viewport{0, 0, desc.Width, desc.Height, 0.0f, 1.0f};
    return D3D_OK;
}

HResult NullDevice::GetRenderTarget(SurfacePtr* out) {
    Record("GetRenderTarget()");
    if (!out) return D3DERR_INVALIDCALL;
    *out = renderTarget_;
    return D3D_OK;
}

HResult NullDevice::GetDepthStencilSurface(SurfacePtr* out) {
    Record("GetDepthStencilSurface()");
    if (!out) return D3DERR_INVALIDCALL;
    *out = depthStencil_;
    return depthStencil_ ? D3D_OK : D3DERR_NOTFOUND;
}

HResult NullDevice::SetRenderState(uint32_t state, uint32_t value) {
    Record("SetRenderState(%s,%u)", RenderStateName(state), value);
    if (!IsKnownRenderState(state)) return D3DERR_INVALIDCALL;
    state_.renderStates[state] = value;
    return D3D_OK;
}

HResult NullDevice::GetRenderState(uint32_t state, uint32_t* value) { return state_.GetRenderState(state, value); }

HResult NullDevice::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) {
    Record("SetTextureStageState(%u,%s,%u)", stage, StageStateName(type), value);
    if (stage >= MAX_TEXTURE_STAGES || !IsKnownStageState(type)) return D3DERR_INVALIDCALL;
    state_.stageStates[stage][type] = value;
    return D3D_OK;
}

HResult NullDevice::GetTextureStageState(uint32_t stage, uint32_t type, uint32_t* value) {
    return state_.GetStageState(stage, type, value);
}

HResult NullDevice::SetTexture(uint32_t stage, const TexturePtr& texture) {
    if (recording_) Record("SetTexture(%u,%s)", stage, NameOf(texture.get()).c_str());
    if (stage >= MAX_TEXTURE_STAGES) return D3DERR_INVALIDCALL;
    textures_[stage] = texture;
    return D3D_OK;
}

HResult NullDevice::SetTransform(uint32_t type, const Matrix* matrix) {
    if (recording_) Record("SetTransform(%s,%s)", TransformName(type), matrix ? Floats(matrix->m, 16).c_str() : "null");
    Matrix* slot = state_.TransformSlot(type);
    if (!slot || !matrix) return D3DERR_INVALIDCALL;
    *slot = *matrix;
    return D3D_OK;
}

HResult NullDevice::GetTransform(uint32_t type, Matrix* matrix) { return state_.GetTransform(type, matrix); }

HResult NullDevice::SetViewport(const Viewport* vp) {
    if (!vp) return D3DERR_INVALIDCALL;
    Record("SetViewport(%u,%u,%u,%u,%g,%g)", vp->X, vp->Y, vp->Width, vp->Height, static_cast<double>(vp->MinZ),
           static_cast<double>(vp->MaxZ));
    SurfaceDesc desc;
    if (renderTarget_ && Succeeded(renderTarget_->GetDesc(&desc)) &&
        (static_cast<uint64_t>(vp->X) + vp->Width > desc.Width ||
         static_cast<uint64_t>(vp->Y) + vp->Height > desc.Height))
        return D3DERR_INVALIDCALL;
    state_.viewport = *vp;
    return D3D_OK;
}

HResult NullDevice::GetViewport(Viewport* vp) {
    if (!vp) return D3DERR_INVALIDCALL;
    *vp = state_.viewport;
    return D3D_OK;
}

HResult NullDevice::SetMaterial(const Material* m) {
    if (!m) return D3DERR_INVALIDCALL;
    if (recording_)
        Record("SetMaterial(%s|%s|%s|%s|%g)", Colour(m->Diffuse).c_str(), Colour(m->Ambient).c_str(),
               Colour(m->Specular).c_str(), Colour(m->Emissive).c_str(), static_cast<double>(m->Power));
    state_.material = *m;
    return D3D_OK;
}

HResult NullDevice::SetLight(uint32_t index, const Light* l) {
    if (!l) return D3DERR_INVALIDCALL;
    if (recording_)
        Record("SetLight(%u,type=%u,dir=%g,%g,%g|%s|%s|%s)", index, l->Type, static_cast<double>(l->Direction.x),
               static_cast<double>(l->Direction.y), static_cast<double>(l->Direction.z), Colour(l->Diffuse).c_str(),
               Colour(l->Specular).c_str(), Colour(l->Ambient).c_str());
    if (index != 0) return D3DERR_INVALIDCALL;
    state_.light = *l;
    return D3D_OK;
}

HResult NullDevice::LightEnable(uint32_t index, bool enable) {
    Record("LightEnable(%u,%d)", index, enable ? 1 : 0);
    if (index != 0) return D3DERR_INVALIDCALL;
    state_.lightEnabled = enable;
    return D3D_OK;
}

HResult NullDevice::SetVertexShader(uint32_t fvf) {
    Record("SetVertexShader(0x%x)", fvf);
    state_.fvf = fvf;
    return D3D_OK;
}

HResult NullDevice::SetStreamSource(uint32_t stream, const VertexBufferPtr& buffer, uint32_t stride) {
    if (recording_) Record("SetStreamSource(%u,%s,%u)", stream, NameOf(buffer.get()).c_str(), stride);
    if (stream != 0) return D3DERR_INVALIDCALL;
    stream_ = buffer;
    streamStride_ = stride;
    return D3D_OK;
}

HResult NullDevice::SetIndices(const IndexBufferPtr& buffer, uint32_t baseVertex) {
    if (recording_) Record("SetIndices(%s,%u)", NameOf(buffer.get()).c_str(), baseVertex);
    indices_ = buffer;
    baseVertex_ = baseVertex;
    return D3D_OK;
}

HResult NullDevice::DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) {
    Record("DrawPrimitive(%s,%u,%u)", PrimitiveName(type), startVertex, primitiveCount);
    if (!inScene_ || !stream_ || streamStride_ == 0) return D3DERR_INVALIDCALL;
    uint64_t end = (static_cast<uint64_t>(startVertex) + VertexCountOf(type, primitiveCount)) * streamStride_;
    if (VertexCountOf(type, primitiveCount) == 0 || end > stream_->GetSize()) return D3DERR_INVALIDCALL;
    return D3D_OK;
}

HResult NullDevice::DrawIndexedPrimitive(uint32_t type, uint32_t minIndex, uint32_t vertexCount, uint32_t startIndex,
                                         uint32_t primitiveCount) {
    Record("DrawIndexedPrimitive(%s,%u,%u,%u,%u)", PrimitiveName(type), minIndex, vertexCount, startIndex,
           primitiveCount);
    if (!inScene_ || !stream_ || !indices_ || streamStride_ == 0) return D3DERR_INVALIDCALL;
    uint64_t indexEnd = (static_cast<uint64_t>(startIndex) + VertexCountOf(type, primitiveCount)) * 2;
    uint64_t vertexEnd = (static_cast<uint64_t>(baseVertex_) + minIndex + vertexCount) * streamStride_;
    if (VertexCountOf(type, primitiveCount) == 0 || indexEnd > indices_->GetSize() || vertexEnd > stream_->GetSize())
        return D3DERR_INVALIDCALL;
    return D3D_OK;
}

HResult NullDevice::DrawPrimitiveUP(uint32_t type, uint32_t primitiveCount, const void* vertices, uint32_t stride) {
    uint32_t n = VertexCountOf(type, primitiveCount);
    NullCall* call = Record("DrawPrimitiveUP(%s,%u,%u)", PrimitiveName(type), primitiveCount, stride);
    if (!inScene_ || !vertices || n == 0 || stride == 0) return D3DERR_INVALIDCALL;
    if (call) {
        const uint8_t* p = static_cast<const uint8_t*>(vertices);
        call->vertices.assign(p, p + static_cast<size_t>(n) * stride);
    }
    // Direct draws unbind stream 0.
    stream_.reset();
    streamStride_ = 0;
    return D3D_OK;
}

HResult NullDevice::DrawIndexedPrimitiveUP(uint32_t type, uint32_t minIndex, uint32_t vertexCount,
                                           uint32_t primitiveCount, const void* indices, uint32_t indexFormat,
                                           const void* vertices, uint32_t stride) {
    uint32_t n = VertexCountOf(type, primitiveCount);
    NullCall* call = Record("DrawIndexedPrimitiveUP(%s,%u,%u,%u,%u)", PrimitiveName(type), minIndex, vertexCount,
                            primitiveCount, stride);
    if (!inScene_ || !vertices || !indices || n == 0 || stride == 0 || indexFormat != D3DFMT_INDEX16)
        return D3DERR_INVALIDCALL;
    const uint16_t* idx = static_cast<const uint16_t*>(indices);
    for (uint32_t i = 0; i < n; ++i)
        if (idx[i] < minIndex || idx[i] >= minIndex + vertexCount) return D3DERR_INVALIDCALL;
    if (call) {
        const uint8_t* v = static_cast<const uint8_t*>(vertices);
        call->vertices.assign(v + static_cast<size_t>(minIndex) * stride,
                              v + static_cast<size_t>(minIndex + vertexCount) * stride);
        const uint8_t* ib = static_cast<const uint8_t*>(indices);
        call->indices.assign(ib, ib + static_cast<size_t>(n) * 2);
    }
    stream_.reset();
    streamStride_ = 0;
    indices_.reset();
    return D3D_OK;
}

} // namespace gpu
