#include "platform/window/display.h"

#include <SDL.h>

#include <algorithm>

#include "platform/window/sdl_video.h"

namespace plat {
namespace {

bool ToDisplayMode(const SDL_DisplayMode& m, DisplayMode& out) {
    const int bits = DeviceBitsPerPixel(m.format);
    if (bits == 0 || m.w <= 0 || m.h <= 0) return false;
    out = DisplayMode{m.w, m.h, m.refresh_rate > 0 ? m.refresh_rate : 0, bits};
    return true;
}

} // namespace

int DeviceBitsPerPixel(uint32_t format) {
    switch (format) {
        case SDL_PIXELFORMAT_RGB888:
        case SDL_PIXELFORMAT_BGR888:
        case SDL_PIXELFORMAT_RGBX8888:
        case SDL_PIXELFORMAT_BGRX8888:
        case SDL_PIXELFORMAT_ARGB8888:
        case SDL_PIXELFORMAT_ABGR8888:
        case SDL_PIXELFORMAT_RGBA8888:
        case SDL_PIXELFORMAT_BGRA8888: return 32;
        case SDL_PIXELFORMAT_RGB565:
        case SDL_PIXELFORMAT_BGR565:
        case SDL_PIXELFORMAT_RGB555:
        case SDL_PIXELFORMAT_BGR555:
        case SDL_PIXELFORMAT_ARGB1555:
        case SDL_PIXELFORMAT_ABGR1555: return 16;
        default: return 0;
    }
}

bool GetDesktopMode(DisplayMode& out) {
    VideoScope video;
    if (!video.Ok()) return false;
    SDL_DisplayMode m;
    if (SDL_GetDesktopDisplayMode(0, &m) != 0) return false;
    return ToDisplayMode(m, out);
}

std::vector<DisplayMode> GetDisplayModes() {
    std::vector<DisplayMode> modes;
    VideoScope video;
    if (!video.Ok()) return modes;
    const int count = SDL_GetNumDisplayModes(0);
    for (int i = 0; i < count; ++i) {
        SDL_DisplayMode m;
        DisplayMode mode;
        if (SDL_GetDisplayMode(0, i, &m) != 0 || !ToDisplayMode(m, mode)) continue;
        if (std::find(modes.begin(), modes.end(), mode) == modes.end()) modes.push_back(mode);
    }
    // Some drivers (SDL's offscreen one) list no usable mode; the desktop's is always one.
    SDL_DisplayMode desktop;
    DisplayMode mode;
    if (modes.empty() && SDL_GetDesktopDisplayMode(0, &desktop) == 0 && ToDisplayMode(desktop, mode)) {
        modes.push_back(mode);
    }
    return modes;
}

} // namespace plat
