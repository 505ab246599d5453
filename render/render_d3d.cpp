// Render_D3D: the Direct3D object, display modes, device creation, loss and reset, and frames.
#include "render/render_d3d.h"

#include "platform/gpu/device_notes.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/init.h"
#include "core/log.h"
#include "core/message_box.h"
#include "render/camera.h"
#include "render/render_resource.h"

using namespace gpu;

namespace {

// Bits per pixel of a display format; 0 for formats that are no display format.
uint32_t FormatBits(uint32_t format) {
    switch (format) {
        case D3DFMT_R8G8B8: return 24;
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
        case D3DFMT_A2B10G10R10:
        case D3DFMT_G16R16: return 32;
        case D3DFMT_R5G6B5:
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5:
        case D3DFMT_A4R4G4B4:
        case D3DFMT_A8R3G3B2:
        case D3DFMT_X4R4G4B4:
        case D3DFMT_A8L8: return 16;
        case D3DFMT_R3G3B2:
        case D3DFMT_A8:
        case D3DFMT_A8P8:
        case D3DFMT_P8:
        case D3DFMT_L8:
        case D3DFMT_A4L4: return 8;
        default: return 0;
    }
}

// Depth-stencil formats in the order they are tried.
constexpr uint32_t kDepthFormats[] = {D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D15S1,       D3DFMT_D32,
                                      D3DFMT_D24X8, D3DFMT_D16,     D3DFMT_D16_LOCKABLE};

bool HasStencilBits(uint32_t depthFormat) {
    return depthFormat == D3DFMT_D24S8 || depthFormat == D3DFMT_D24X4S4 || depthFormat == D3DFMT_D15S1;
}

int AsInt(uint32_t v) { return static_cast<int>(v); }

} // namespace

// ---------------------------------------------------------------- construction

Render_D3D::Render_D3D(const Direct3DFactory& factory) {
    defaultBlock_ = YRenderStateBlock::Defaults();
    defaultStages_ = YStageStates();

    // Where the device gives the nearest it can instead of an exact result, the log says so.
    gpu::SetDeviceNoteSink([](const char* text) { LogLine(text); });
    d3d_ = factory ? factory(D3D_SDK_VERSION) : Direct3DCreate(D3D_SDK_VERSION);
    if (!d3d_) {
        LogLine("Could not create D3D object.");
        std::exit(0);
    }
    AdapterIdentifier id;
    if (Succeeded(d3d_->GetAdapterIdentifier(D3DADAPTER_DEFAULT, D3DENUM_NO_WHQL_LEVEL, &id))) {
        const uint64_t v = id.DriverVersion;
        LogPrintf(g_Log, "D3D object created.\nDriver %s\nDescription %s\nVersion %d.%d.%d.%d", id.Driver.c_str(),
                  id.Description.c_str(), static_cast<int>((v >> 48) & 0xFFFF), static_cast<int>((v >> 32) & 0xFFFF),
                  static_cast<int>((v >> 16) & 0xFFFF), static_cast<int>(v & 0xFFFF));
    }
}

Render_D3D::~Render_D3D() {
    ReleaseDevice();
    d3d_.reset();
    LogLine("D3D Released.");
}

// ---------------------------------------------------------------- display modes

uint32_t Render_D3D::FindDepthFormat(uint32_t displayFormat) {
    for (uint32_t depth : kDepthFormats) {
        if (Failed(d3d_->CheckDeviceFormat(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, displayFormat, D3DUSAGE_DEPTHSTENCIL,
                                           D3DRTYPE_SURFACE, depth)))
            continue;
        if (Failed(
                d3d_->CheckDepthStencilMatch(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, displayFormat, displayFormat, depth)))
            continue;
        return depth;
    }
    return D3DFMT_UNKNOWN;
}

std::vector<YVideoMode>* Render_D3D::GetVideoModes(std::vector<YVideoMode>* out) {
    modes_.clear();
    const uint32_t count = d3d_->GetAdapterModeCount(D3DADAPTER_DEFAULT);
    modes_.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        DisplayMode m;
        if (Failed(d3d_->EnumAdapterModes(D3DADAPTER_DEFAULT, i, &m))) continue;
        const uint32_t bits = FormatBits(m.Format);
        LogAppendf(g_Log, "Mode %dx%d:%d@%d", AsInt(m.Width), AsInt(m.Height), AsInt(bits), AsInt(m.RefreshRate));
        if (m.Width < 640 || m.Height < 480 || bits < 16 || bits == 24) {
            LogLine(" ignored");
            continue;
        }
        if (Failed(d3d_->CheckDeviceType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, m.Format, m.Format, false))) {
            LogLine(" failed.");
            continue;
        }
        LogAppend(" checked, ");
        const uint32_t depth = FindDepthFormat(m.Format);
        if (depth == D3DFMT_UNKNOWN) {
            LogLine("depth buffer failed.");
            continue;
        }
        modes_.push_back(
            {m.Width, m.Height, m.RefreshRate, m.Format, depth, HasStencilBits(depth) ? uint8_t{1} : uint8_t{0}});
        LogLine("ok");
    }
    // Modes differing only in format keep the adapter's order.
    std::stable_sort(modes_.begin(), modes_.end(), [](const YAdapterMode& a, const YAdapterMode& b) {
        if (a.width != b.width) return a.width < b.width;
        if (a.height != b.height) return a.height < b.height;
        return a.refresh < b.refresh;
    });

    desktop_ = YAdapterMode{};
    DisplayMode display;
    if (Succeeded(d3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &display))) {
        const uint32_t depth = FindDepthFormat(display.Format);
        if (depth != D3DFMT_UNKNOWN) {
            desktop_ = {display.Width,  display.Height, display.RefreshRate,
                        display.Format, depth,          HasStencilBits(depth) ? uint8_t{1} : uint8_t{0}};
        } else {
            // The largest listed mode that fits the display, preferring a refresh rate the display
            // has and then a stencil buffer.
            int candidate = -1;
            for (int i = static_cast<int>(modes_.size()) - 1; i >= 0; --i) {
                const YAdapterMode& r = modes_[static_cast<size_t>(i)];
                if (candidate < 0) {
                    if (r.width <= display.Width && r.height <= display.Height) candidate = i;
                    continue;
                }
                const YAdapterMode& c = modes_[static_cast<size_t>(candidate)];
                if (c.refresh > display.RefreshRate) {
                    if (r.refresh <= display.RefreshRate) candidate = i;
                    continue;
                }
                if (c.hasStencil) break;
                if (r.hasStencil) {
                    candidate = i;
                    break;
                }
            }
            if (candidate >= 0) desktop_ = modes_[static_cast<size_t>(candidate)];
        }
    }

    if (modes_.empty()) {
        const char* text = "Requires 3D Accelerator Card.";
        LogLine(text);
        ShowMessage(text, "Pelorwick Error", plat::MB_ICONINFORMATION);
        std::exit(0);
    }

    if (!out) return out;
    out->clear();
    out->reserve(modes_.size() + 1);
    for (size_t i = 0; i < modes_.size(); ++i) {
        const YAdapterMode& r = modes_[i];
        YVideoMode v;
        v.width = r.width;
        v.height = r.height;
        v.depth = FormatBits(r.displayFormat);
        v.refresh = r.refresh;
        v.index = static_cast<int32_t>(i);
        out->push_back(v);
    }
    YVideoMode d;
    d.width = desktop_.width;
    d.height = desktop_.height;
    d.depth = FormatBits(desktop_.displayFormat);
    d.refresh = desktop_.refresh;
    d.index = -1;
    out->push_back(d);
    return out;
}

// ---------------------------------------------------------------- device life

const YAdapterMode& Render_D3D::ModeRecord(bool fullScreen, int modeIndex) const {
    // An index the list does not have (the desktop's -1, or a stale one) takes the desktop mode
    // rather than reading outside the list.
    if (fullScreen && modeIndex >= 0 && static_cast<size_t>(modeIndex) < modes_.size())
        return modes_[static_cast<size_t>(modeIndex)];
    return desktop_;
}

void Render_D3D::LogVideoMode(const YAdapterMode& record, bool fullScreen) {
    LogPrintf(g_Log, "Video mode = %dx%d:%d@%d", AsInt(record.width), AsInt(record.height),
              AsInt(FormatBits(record.displayFormat)), AsInt(record.refresh));
    LogPrintf(g_Log, "Fullscreen = %d", fullScreen ? 1 : 0);
}

bool Render_D3D::MakeBackgroundTarget() {
    backgroundTarget_.reset();
    if (!device_) return false;
    if (Failed(device_->CreateRenderTarget(pp_.BackBufferWidth, pp_.BackBufferHeight, pp_.BackBufferFormat,
                                           pp_.MultiSampleType, false, &backgroundTarget_))) {
        backgroundTarget_.reset();
        return false;
    }
    return true;
}

bool Render_D3D::CreateDeviceFor(bool fullScreen, int modeIndex) {
    const YAdapterMode record = ModeRecord(fullScreen, modeIndex);
    hasStencil_ = record.hasStencil;

    pp_ = PresentParameters{};
    pp_.Windowed = fullScreen ? 0 : 1;
    pp_.SwapEffect = D3DSWAPEFFECT_COPY;
    pp_.BackBufferFormat = record.displayFormat;
    // A windowed device takes the window's client size (0 asks the device to measure it).
    pp_.BackBufferWidth = fullScreen ? record.width : 0;
    pp_.BackBufferHeight = fullScreen ? record.height : 0;
    pp_.EnableAutoDepthStencil = 1;
    pp_.AutoDepthStencilFormat = record.depthFormat;
    pp_.FullScreen_RefreshRateInHz = fullScreen ? record.refresh : 0;
    pp_.FullScreen_PresentationInterval = fullScreen ? D3DPRESENT_INTERVAL_ONE : D3DPRESENT_INTERVAL_DEFAULT;

    device_.reset();
    if (Failed(d3d_->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                  &pp_, &device_)) ||
        !device_) {
        device_.reset();
        LogLine("Could not create D3D device.");
        return false;
    }
    backgroundWanted_ = false;
    if (fullScreen && GetInit().doubleBuffer) {
        MakeBackgroundTarget();
        backgroundLost_ = 1;
    }
    return true;
}

bool Render_D3D::CreateDevice(void* window, bool fullScreen, int modeIndex) {
    window_ = window;
    const YAdapterMode record = ModeRecord(fullScreen, modeIndex);
    LogVideoMode(record, fullScreen);
    if (!CreateDeviceFor(fullScreen, modeIndex)) {
        bool created = false;
        if (!fullScreen) {
            // Once in full screen, which the configuration then keeps.
            GetInit().fullscreen = true;
            LogVideoMode(record, true);
            created = CreateDeviceFor(true, modeIndex);
        }
        if (!created) {
            Init& init = GetInit();
            init.videoMode = g_VideoModes.Normalize("");
            init.Save();
            LogLine("Could not create D3D device.");
            std::exit(0);
        }
    }

    LogLine("D3D device created.");
    Caps caps;
    device_->GetDeviceCaps(&caps);
    deviceStages_ =
        std::min<uint32_t>(caps.MaxSimultaneousTextures, std::min<uint32_t>(RENDER_MAX_STAGES, MAX_TEXTURE_STAGES));
    LogPrintf(g_Log, "Caps MaxSimultaneousTextures = %d", AsInt(caps.MaxSimultaneousTextures));
    textureMemoryMB_ = device_->GetAvailableTextureMem() >> 20;
    LogPrintf(g_Log, "AvailableTextureMemory = %d", AsInt(textureMemoryMB_));
    LogPrintf(g_Log, "Max texture size = %d", AsInt(std::min(caps.MaxTextureWidth, caps.MaxTextureHeight)));
    const uint32_t scale = textureMemoryMB_ == 0 ? 4 : std::clamp<uint32_t>(16 / textureMemoryMB_, 1, 4);
    LogPrintf(g_Log, "Textures scale = %d", AsInt(scale));

    device_->BeginScene();
    Clear(true);
    device_->EndScene();
    device_->Present();
    return true;
}

bool Render_D3D::ResetDevice() {
    if (!device_ || !pp_.Windowed) return true;
    // The back buffer takes the window's new client size: 0 asks the device to measure it.
    PresentParameters next = pp_;
    next.BackBufferWidth = 0;
    next.BackBufferHeight = 0;
    if (Failed(device_->Reset(&next))) return false;
    pp_ = next;
    return true;
}

void Render_D3D::ReleaseDevice() {
    ReleaseRenderResources(RESOURCE_ALL);
    captureTarget_.reset();
    savedTarget_.reset();
    savedDepth_.reset();
    InvalidateCaches();
    device_.reset();
    backgroundTarget_.reset();
    backgroundWanted_ = false;
    LogLine("D3D Device Released.");
}

bool Render_D3D::IsDeviceReady() {
    if (!device_) return false;
    const HResult level = device_->TestCooperativeLevel();
    if (level == D3DERR_DEVICELOST) return false;
    if (level != D3DERR_DEVICENOTRESET) return true;

    ReleaseRenderResources(RESOURCE_RESET);
    // Remembered across failed attempts: a reset that fails after the target was dropped must
    // still bring it back when a later attempt works.
    if (backgroundTarget_) backgroundWanted_ = true;
    backgroundTarget_.reset();
    if (Failed(device_->Reset(&pp_))) return false;
    if (backgroundWanted_ && GetInit().doubleBuffer) {
        MakeBackgroundTarget();
        backgroundLost_ = 1;
    }
    backgroundWanted_ = false;
    RestoreRenderResources(RESOURCE_RESET);
    return true;
}

// ---------------------------------------------------------------- frames

void Render_D3D::BeginFrame(bool clearTarget) {
    YRender::BeginFrame(clearTarget);
    if (!device_) return;
    device_->BeginScene();
    Clear(clearTarget);
    const Matrix identity = Matrix::Identity();
    projection_ = identity;
    device_->SetTransform(D3DTS_PROJECTION, &identity);
    device_->SetTransform(D3DTS_VIEW, &identity);
    device_->SetTransform(D3DTS_WORLD, &identity);

    // The camera's light direction, turned into view space (the view transform stays identity).
    const YVector& d = g_Camera.lightDir;
    const float* m = g_Camera.view.m;
    Vector3 dir{d.x * m[0] + d.y * m[4] + d.z * m[8], d.x * m[1] + d.y * m[5] + d.z * m[9],
                d.x * m[2] + d.y * m[6] + d.z * m[10]};
    const float len = std::sqrt(dir.x * dir.x + dir.y * dir.y + dir.z * dir.z);
    if (len > 0.0f) {
        dir.x /= len;
        dir.y /= len;
        dir.z /= len;
    }
    Light light;
    light.Type = D3DLIGHT_DIRECTIONAL;
    light.Diffuse = light.Specular = ColorValue{1.0f, 0.95f, 0.8f, 1.0f};
    light.Ambient = ColorValue{0.6f, 0.6f, 0.8f, 1.0f};
    light.Direction = dir;
    device_->SetLight(0, &light);
    device_->LightEnable(0, true);
    vertexFormat_ = 0;
}

void Render_D3D::EndFrame() {
    if (!device_) return;
    device_->SetStreamSource(0, nullptr, 0);
    device_->SetIndices(nullptr, 0);
    for (uint32_t s = 0; s < deviceStages_; ++s) {
        device_->SetTexture(s, nullptr);
        boundTextures_[s].reset();
    }
    device_->EndScene();
    device_->Present();
}
