#include "platform/gpu/gl/gl_direct3d.h"

#include <SDL2/SDL.h>

#include <cctype>
#include <cstdlib>
#include <vector>

#include "platform/gpu/gl/gl_api.h"
#include "platform/gpu/gl/gl_device.h"
#include "platform/gpu/pixel_format.h"
#include "platform/window/sdl_video.h"

namespace gpu {

uint32_t DisplayFormatFromSdl(uint32_t sdlFormat) {
    if (sdlFormat == SDL_PIXELFORMAT_UNKNOWN || SDL_ISPIXELFORMAT_INDEXED(sdlFormat) ||
        SDL_ISPIXELFORMAT_FOURCC(sdlFormat))
        return D3DFMT_UNKNOWN;
    switch (SDL_BYTESPERPIXEL(sdlFormat)) {
        case 4: return D3DFMT_X8R8G8B8;
        case 3: return D3DFMT_R8G8B8;
        case 2:
            return (sdlFormat == SDL_PIXELFORMAT_RGB565 || sdlFormat == SDL_PIXELFORMAT_BGR565) ? D3DFMT_R5G6B5
                                                                                                : D3DFMT_X1R5G5B5;
        default: return D3DFMT_UNKNOWN;
    }
}

namespace {

bool IsDisplayFormat(uint32_t f) { return f == D3DFMT_X8R8G8B8 || f == D3DFMT_R5G6B5 || f == D3DFMT_X1R5G5B5; }

bool IsDepthStencilOffered(uint32_t f) { return f == D3DFMT_D24S8 || f == D3DFMT_D24X8 || f == D3DFMT_D16; }

// The first four numbers of a version text ("4.5 (Compatibility Profile) Mesa 22.3.6" gives
// 4, 5, 22, 3), as four 16-bit parts, first highest.
uint64_t VersionFromText(const char* text) {
    uint64_t parts[4] = {0, 0, 0, 0};
    int n = 0;
    for (const char* p = text; p && *p && n < 4;) {
        if (std::isdigit(static_cast<unsigned char>(*p))) {
            char* end = nullptr;
            unsigned long v = std::strtoul(p, &end, 10);
            parts[n++] = v > 0xFFFF ? 0xFFFF : v;
            p = end;
        } else {
            ++p;
        }
    }
    return parts[0] << 48 | parts[1] << 32 | parts[2] << 16 | parts[3];
}

class GlDirect3D : public IDirect3D {
public:
    GlDirect3D() = default;
    ~GlDirect3D() override {
        if (videoStarted_) plat::ReleaseVideo();
    }

    // Through the window layer, so its hints hold whichever of the two starts SDL's video first.
    bool Start() {
        videoStarted_ = plat::AcquireVideo();
        if (videoStarted_) {
            // Windows made from now on ask for a framebuffer that can hold the back buffer itself
            // (8-bit colour, 24-bit depth, 8-bit stencil), so it need not be copied at Present.
            SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
            SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
            SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
            SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 24);
            SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 8);
        }
        return videoStarted_;
    }

    uint32_t GetAdapterCount() override { return 1; }

    // The driver's name and version need a context: a hidden window is made for the question once.
    HResult GetAdapterIdentifier(uint32_t adapter, uint32_t, AdapterIdentifier* out) override {
        if (adapter != 0 || !out) return D3DERR_INVALIDCALL;
        if (!identified_) {
            // Whatever context is current stays current afterwards.
            SDL_Window* previousWindow = SDL_GL_GetCurrentWindow();
            SDL_GLContext previousContext = SDL_GL_GetCurrentContext();
            SDL_Window* window = SDL_CreateWindow("", 0, 0, 16, 16, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
            if (!window) return D3DERR_NOTAVAILABLE;
            SDL_GLContext context = SDL_GL_CreateContext(window);
            if (!context) {
                SDL_DestroyWindow(window);
                return D3DERR_NOTAVAILABLE;
            }
            auto text = [](GLenum name) {
                const char* s = reinterpret_cast<const char*>(glGetString(name));
                return std::string(s ? s : "");
            };
            identifier_.Driver = text(GL_VENDOR);
            identifier_.Description = text(GL_RENDERER);
            identifier_.DriverVersion = VersionFromText(text(GL_VERSION).c_str());
            SDL_GL_DeleteContext(context);
            SDL_DestroyWindow(window);
            if (previousContext) SDL_GL_MakeCurrent(previousWindow, previousContext);
            identified_ = true;
        }
        *out = identifier_;
        return D3D_OK;
    }

    uint32_t GetAdapterModeCount(uint32_t adapter) override {
        if (adapter != 0) return 0;
        int n = SDL_GetNumDisplayModes(0);
        return n > 0 ? static_cast<uint32_t>(n) : 0;
    }

    HResult EnumAdapterModes(uint32_t adapter, uint32_t mode, DisplayMode* out) override {
        SDL_DisplayMode m;
        if (adapter != 0 || !out || SDL_GetDisplayMode(0, static_cast<int>(mode), &m) != 0) return D3DERR_INVALIDCALL;
        *out = Convert(m);
        return D3D_OK;
    }

    HResult GetAdapterDisplayMode(uint32_t adapter, DisplayMode* out) override {
        SDL_DisplayMode m;
        if (adapter != 0 || !out || SDL_GetDesktopDisplayMode(0, &m) != 0) return D3DERR_NOTAVAILABLE;
        *out = Convert(m);
        return D3D_OK;
    }

    HResult CheckDeviceType(uint32_t adapter, uint32_t deviceType, uint32_t displayFormat, uint32_t backBufferFormat,
                            bool windowed) override {
        if (adapter != 0 || deviceType != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
        if (!IsDisplayFormat(displayFormat)) return D3DERR_NOTAVAILABLE;
        if (backBufferFormat != displayFormat && !(windowed && BytesPerPixel(backBufferFormat) >= 2))
            return D3DERR_NOTAVAILABLE;
        return D3D_OK;
    }

    HResult CheckDeviceFormat(uint32_t adapter, uint32_t deviceType, uint32_t adapterFormat, uint32_t usage, uint32_t,
                              uint32_t checkFormat) override {
        if (adapter != 0 || deviceType != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
        if (!IsDisplayFormat(adapterFormat)) return D3DERR_NOTAVAILABLE;
        if (usage & D3DUSAGE_DEPTHSTENCIL) return IsDepthStencilOffered(checkFormat) ? D3D_OK : D3DERR_NOTAVAILABLE;
        return BytesPerPixel(checkFormat) >= 2 ? D3D_OK : D3DERR_NOTAVAILABLE;
    }

    HResult CheckDepthStencilMatch(uint32_t adapter, uint32_t deviceType, uint32_t adapterFormat,
                                   uint32_t renderTargetFormat, uint32_t depthStencilFormat) override {
        if (adapter != 0 || deviceType != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
        if (!IsDisplayFormat(adapterFormat) || BytesPerPixel(renderTargetFormat) < 2 ||
            !IsDepthStencilOffered(depthStencilFormat))
            return D3DERR_NOTAVAILABLE;
        return D3D_OK;
    }

    HResult CreateDevice(uint32_t adapter, uint32_t deviceType, void* focusWindow, uint32_t, PresentParameters* pp,
                         DevicePtr* out) override {
        if (!out || !pp || adapter != 0 || deviceType != D3DDEVTYPE_HAL || !focusWindow) return D3DERR_INVALIDCALL;
        out->reset();
        if (BytesPerPixel(pp->BackBufferFormat) < 2) return D3DERR_INVALIDCALL;
        if (!pp->Windowed && (pp->BackBufferWidth == 0 || pp->BackBufferHeight == 0)) return D3DERR_INVALIDCALL;
        auto device = std::make_shared<GlDevice>();
        HResult r = device->Init(static_cast<SDL_Window*>(focusWindow), pp);
        if (Failed(r)) return r;
        *out = device;
        return D3D_OK;
    }

private:
    static DisplayMode Convert(const SDL_DisplayMode& m) {
        DisplayMode d;
        d.Width = static_cast<uint32_t>(m.w > 0 ? m.w : 0);
        d.Height = static_cast<uint32_t>(m.h > 0 ? m.h : 0);
        d.RefreshRate = static_cast<uint32_t>(m.refresh_rate > 0 ? m.refresh_rate : 0);
        d.Format = DisplayFormatFromSdl(m.format);
        return d;
    }

    bool videoStarted_ = false;
    bool identified_ = false;
    AdapterIdentifier identifier_;
};

} // namespace

Direct3DPtr CreateGlDirect3D() {
    auto d3d = std::make_shared<GlDirect3D>();
    if (!d3d->Start()) return nullptr;
    return d3d;
}

} // namespace gpu
